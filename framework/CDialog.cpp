#include "CDialog.h"

#include "CDataExchange.h"
#include "CWinApp.h"
#include "DialogTemplateFace.h"
#include "JapaneseFaces.h"

#include <cstdlib>
#include <memory>

CDialog::CDialog(UINT templateId, CWnd* parent) : m_templateId(templateId), m_pParentWnd(parent) {}

const MessageMap* CDialog::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        // Enter, Escape and the close box arrive as these two commands.
        OnCommand<IDOK, BN_CLICKED, &CDialog::OnOK>(),
        OnCommand<IDCANCEL, BN_CLICKED, &CDialog::OnCancel>(),
    };
    static const MessageMap map(CWnd::GetMessageMap(), entries);
    return &map;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent)
{
    m_templateId = templateId;
    m_pParentWnd = parent;
    // A self-deleting dialog whose window dies during its creation must not
    // delete itself: a failed Create leaves the object to its creator, who
    // discards it exactly once.
    EnterMessage();
    const HWND hWnd = CreateFromTemplate(parent ? parent->m_hWnd : nullptr);
    if (!hWnd || !::IsWindow(hWnd)) {
        LeaveMessageWithoutPostNcDestroy();
        return FALSE;
    }
    LeaveMessage();
    return TRUE;
}

// The template's face may be missing (a system in another language, a Wine
// prefix that does not map it): the dialog manager would then pick a face of
// its own, which may lack the Japanese characters or have other widths, and
// dialog units with it. Such a dialog is made from a copy of its template
// that names an installed face of the same kind.
HWND CDialog::CreateFromTemplate(HWND owner)
{
    const HINSTANCE module = ::GetModuleHandleW(nullptr);
    const HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(m_templateId), RT_DIALOG);
    const HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
    const auto* data = static_cast<const uint8_t*>(loaded ? ::LockResource(loaded) : nullptr);
    if (!data)
        return nullptr;
    const size_t size = ::SizeofResource(module, resource);

    // The copy need live only while the dialog manager reads it.
    struct FreeBlock {
        void operator()(uint8_t* block) const { std::free(block); }
    };
    std::unique_ptr<uint8_t, FreeBlock> copy;
    char16_t face[kMaxFaceLength + 1];
    if (ReadTemplateFace(data, size, face)) {
        const LPCWSTR wanted = reinterpret_cast<LPCWSTR>(face);
        const LPCWSTR installed = InstalledFaceFor(wanted);
        if (::lstrcmpW(installed, wanted) != 0) {
            // Without memory for the copy, the dialog is made from the template as it is.
            const size_t capacity = ReplacedTemplateCapacity(size);
            copy.reset(static_cast<uint8_t*>(std::malloc(capacity)));
            if (copy && ReplaceTemplateFace(data, size, reinterpret_cast<const char16_t*>(installed), copy.get(),
                                            capacity))
                data = copy.get();
        }
    }
    return ::CreateDialogIndirectParamW(module, reinterpret_cast<LPCDLGTEMPLATEW>(data), owner, DialogProc,
                                        reinterpret_cast<LPARAM>(this));
}

// A dialog made without a parent is owned by the application's main window,
// unless it is that window.
HWND CDialog::OwnerForModal() const
{
    if (m_pParentWnd)
        return ::GetAncestor(m_pParentWnd->m_hWnd, GA_ROOT);
    const CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd && app->m_pMainWnd != this)
        return app->m_pMainWnd->m_hWnd;
    return nullptr;
}

INT_PTR CDialog::DoModal()
{
    const HWND owner = OwnerForModal();
    // Disabled before the dialog exists, so no input reaches the owner while it runs.
    const bool ownerDisabled = owner && ::IsWindowEnabled(owner);
    if (ownerDisabled)
        ::EnableWindow(owner, FALSE);

    m_modalResult = -1;
    m_inModalLoop = true;
    const HWND hWnd = CreateFromTemplate(owner);
    if (hWnd && m_inModalLoop && !::IsWindowVisible(hWnd))
        ::ShowWindow(hWnd, SW_SHOWNORMAL);

    while (m_inModalLoop && m_hWnd && PumpMessage()) {
    }
    m_inModalLoop = false;

    // Enabled again before the dialog goes, so that activation returns to the owner.
    if (ownerDisabled)
        ::EnableWindow(owner, TRUE);
    if (m_hWnd) {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        DestroyWindow();
    }
    if (owner && ::IsWindow(owner))
        ::SetActiveWindow(owner);
    return m_modalResult;
}

BOOL CDialog::PumpMessage()
{
    MSG msg;
    if (::GetMessageW(&msg, nullptr, 0, 0) <= 0) {
        // Somebody asked the whole program to end: leave the loop and let
        // the loop outside us see the request too.
        ::PostQuitMessage(static_cast<int>(msg.wParam));
        return FALSE;
    }

    // Each of our windows from the target up to its top-level window may
    // take the message first.
    for (HWND hWnd = msg.hwnd; hWnd; hWnd = ::GetParent(hWnd)) {
        CWnd* wnd = FromHandlePermanent(hWnd);
        if (wnd && wnd->PreTranslateMessage(&msg))
            return TRUE;
        if (!(::GetWindowLongW(hWnd, GWL_STYLE) & WS_CHILD))
            break;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
    return TRUE;
}

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    // Tab, Enter and Escape become the dialog keys for this dialog's own messages.
    if (msg->hwnd != m_hWnd && !::IsChild(m_hWnd, msg->hwnd))
        return FALSE;
    return PressFocusedToggle(*msg) || ::IsDialogMessageW(m_hWnd, msg);
}

// The dialog manager answers Enter on a control that is not a push button
// with the dialog's default command, which without a default button is
// IDOK: Enter on a focused check box would end the dialog. Here Enter
// presses the check box or radio button, once a press, as Space does.
bool CDialog::PressFocusedToggle(const MSG& msg)
{
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_RETURN || msg.hwnd != ::GetFocus())
        return false;
    const LRESULT code = ::SendMessageW(msg.hwnd, WM_GETDLGCODE, 0, 0);
    if (!(code & DLGC_BUTTON) || (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)))
        return false;
    // Bit 30: the key was already down, a repeat of a held key.
    if (!(msg.lParam & (1 << 30)))
        ::SendMessageW(msg.hwnd, BM_CLICK, 0, 0);
    return true;
}

void CDialog::EndDialog(int result)
{
    m_modalResult = result;
    m_inModalLoop = false;
}

BOOL CDialog::OnInitDialog()
{
    CDataExchange dx(this);
    DoDataExchange(&dx);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::OnOK()
{
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam)
{
    // Only WM_INITDIALOG is ours here: it binds the dialog, and from then on
    // its messages reach CWnd::WindowProc first and this procedure only
    // through the dialog manager's default processing, which wants FALSE.
    if (message != WM_INITDIALOG)
        return FALSE;

    CDialog* dialog = reinterpret_cast<CDialog*>(lParam);
    dialog->Attach(hWnd);
    RECT before;
    ::GetWindowRect(hWnd, &before);

    dialog->EnterMessage();
    const BOOL setFocus = dialog->OnInitDialog();

    // A dialog that did not move itself is centred before it is first shown,
    // also when it changed its size: the main dialog grows to fit its banner
    // where the stand-in face has smaller dialog units than the designed one.
    RECT after;
    if (dialog->m_hWnd == hWnd && ::GetWindowRect(hWnd, &after) && after.left == before.left &&
        after.top == before.top && !(::GetWindowLongW(hWnd, GWL_STYLE) & WS_CHILD))
        dialog->CenterWindow();
    dialog->LeaveMessage();
    return setFocus;
}
