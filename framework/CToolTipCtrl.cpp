#include "CToolTipCtrl.h"

#include "CString.h"
#include "Dpi.h"
#include "JapaneseFaces.h"

#include <commctrl.h>

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style)
{
    const HWND hWnd = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | style, CW_USEDEFAULT, CW_USEDEFAULT,
                                        CW_USEDEFAULT, CW_USEDEFAULT, parent->m_hWnd, nullptr,
                                        ::GetModuleHandleW(nullptr), nullptr);
    if (!hWnd)
        return FALSE;
    // Bound like any other window, so that its handle is cleared when the
    // owner's destruction takes the tooltip with it.
    Attach(hWnd);
    return TRUE;
}

// Any width at all makes the tooltip wrap, and honour a line break; this
// one is wider than either of the program's tips at 96 DPI. Their text
// grows with the DPI, and so must the width, or a line breaks before its end.
constexpr int kMaxTipWidth = 256;

BOOL CToolTipCtrl::CreateForTool(CWnd* parent, CWnd* tool, UINT tipId)
{
    if (!Create(parent))
        return FALSE;
    SetMaxTipWidth(ScaleToDpi(kMaxTipWidth, GetWindowDpi(parent->m_hWnd)));
    CString tip;
    tip.LoadString(tipId);
    return AddTool(tool, tip);
}

BOOL CToolTipCtrl::AddTool(CWnd* tool, LPCWSTR text)
{
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND;
    info.hwnd = ::GetParent(tool->m_hWnd);
    info.uId = reinterpret_cast<UINT_PTR>(tool->m_hWnd);
    // The control copies the text.
    info.lpszText = const_cast<LPWSTR>(text);
    // The tip's own font is the system's, which may have no Japanese (a
    // system in another language, a Wine prefix without font links); the
    // dialog's font was chosen to show the dialog's texts.
    const auto tipFont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    const auto dialogFont = reinterpret_cast<HFONT>(::SendMessageW(info.hwnd, WM_GETFONT, 0, 0));
    if (dialogFont && !HasGlyphs(tipFont, text) && HasGlyphs(dialogFont, text))
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(dialogFont), FALSE);
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)));
}

// The dialog's font at the old DPI may be gone with it; the tip's own font
// keeps the size it got at creation.
void CToolTipCtrl::OwnerDpiChanged(CWnd* owner, UINT dpi)
{
    if (!m_hWnd)
        return;
    SetMaxTipWidth(ScaleToDpi(kMaxTipWidth, dpi));
    if (const auto font = reinterpret_cast<HFONT>(owner->SendMessage(WM_GETFONT)))
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}
