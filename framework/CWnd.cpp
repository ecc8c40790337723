#include "CWnd.h"

#include "CDC.h"
#include "CGdiObject.h"
#include "NamedAccessible.h"

const CWnd CWnd::wndTop;

const MessageMapEntry* MessageMap::Find(UINT message, UINT id, UINT code) const
{
    for (const MessageMap* map = this; map; map = map->base) {
        for (std::size_t i = 0; i < map->count; ++i) {
            const MessageMapEntry& entry = map->entries[i];
            if (entry.message != message)
                continue;
            if (message != WM_COMMAND || (entry.id == id && entry.code == code))
                return &entry;
        }
    }
    return nullptr;
}

CWnd* message_map_detail::WndFromHandle(HWND hWnd)
{
    return CWnd::FromHandlePermanent(hWnd);
}

CWnd::~CWnd()
{
    // A window that outlives its object would send its last messages to
    // freed memory.
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    if (!hWnd || reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC)) != WindowProc)
        return nullptr;
    return reinterpret_cast<CWnd*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
}

const MessageMap* CWnd::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage<WM_GETOBJECT, &CWnd::OnGetObject>(),
    };
    static const MessageMap map(nullptr, entries);
    return &map;
}

LRESULT CWnd::OnGetObject(WPARAM flags, LPARAM objectId)
{
    // Only the control itself is named; its frame, scroll bars and the
    // rest stay the system's. The identifier comes as 32 bits.
    if (!m_accessibleName.IsEmpty() && static_cast<LONG>(objectId) == OBJID_CLIENT) {
        if (const LRESULT answer = NamedAccessible::Answer(m_hWnd, flags, m_accessibleName))
            return answer;
    }
    return Default();
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!hWnd || m_hWnd || FromHandlePermanent(hWnd))
        return FALSE;
    Attach(hWnd);
    return TRUE;
}

void CWnd::Attach(HWND hWnd)
{
    m_hWnd = hWnd;
    m_destroyed = false;
    ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_superProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProc)));
}

void CWnd::Detach()
{
    ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_superProc));
    ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
    m_hWnd = nullptr;
    m_destroyed = true;
}

void CWnd::LeaveMessage()
{
    // A window destroyed from inside one of its own handlers is deleted
    // only once that outermost handler has returned.
    if (--m_nesting == 0 && m_destroyed) {
        m_destroyed = false;
        PostNcDestroy();
    }
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

LRESULT CWnd::Default()
{
    // The window procedure we replaced stays valid after WM_NCDESTROY, so a
    // handler may still ask for default processing once its window is gone.
    return ::CallWindowProcW(m_superProc, m_current.hWnd, m_current.message, m_current.wParam, m_current.lParam);
}

LRESULT CWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    const CurrentMessage outer = m_current;
    m_current = {m_hWnd, message, wParam, lParam};

    // No handler can throw: the program is built without exceptions (a
    // failure is a return value), so nothing unwinds into the system's
    // frames and nothing here needs catching.
    const MessageMapEntry* entry = GetMessageMap()->Find(message, LOWORD(wParam), HIWORD(wParam));
    const LRESULT result = entry ? entry->dispatch(*this, wParam, lParam) : Default();

    m_current = outer;
    return result;
}

LRESULT CALLBACK CWnd::WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = reinterpret_cast<CWnd*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (!wnd)
        return ::DefWindowProcW(hWnd, message, wParam, lParam);

    wnd->EnterMessage();
    const LRESULT result = wnd->Dispatch(message, wParam, lParam);
    if (message == WM_NCDESTROY)
        wnd->Detach();
    wnd->LeaveMessage();
    return result;
}

void CWnd::CenterWindow()
{
    RECT window;
    GetWindowRect(&window);

    const HMONITOR monitor = ::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    ::GetMonitorInfoW(monitor, &info);
    const RECT work = info.rcWork;

    // Over the owner when it can be seen, else in the work area.
    RECT around = work;
    const HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner))
        ::GetWindowRect(owner, &around);

    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    int x = (around.left + around.right) / 2 - width / 2;
    int y = (around.top + around.bottom) / 2 - height / 2;

    // Keep the whole window, caption first, on the work area.
    if (x + width > work.right) x = work.right - width;
    if (x < work.left) x = work.left;
    if (y + height > work.bottom) y = work.bottom - height;
    if (y < work.top) y = work.top;

    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int CWnd::SetWindowRgn(CRgn* region, BOOL redraw)
{
    const int result = ::SetWindowRgn(m_hWnd, *region, redraw);
    if (result)
        region->Detach();
    return result;
}

BOOL CWnd::DestroyWindow()
{
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

void CWnd::RealizePaletteAndRepaint(const CPalette* palette)
{
    if (!palette || !palette->m_hObject)
        return;
    CClientDC dc(this);
    if (dc.RealizeForeground(*palette) != 0)
        InvalidateRect(nullptr, FALSE);
}
