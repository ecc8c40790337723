#include "CToolTipCtrl.h"

#include "CString.h"

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

BOOL CToolTipCtrl::CreateForTool(CWnd* parent, CWnd* tool, UINT tipId)
{
    if (!Create(parent))
        return FALSE;
    SetMaxTipWidth(256);
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
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)));
}
