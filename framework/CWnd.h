// A window object over an HWND. Every window the program makes or binds is
// subclassed to CWnd::WindowProc, which routes its messages through the
// object's message map and clears the binding at WM_NCDESTROY.
#pragma once

#include <windows.h>

#include "CString.h"
#include "MessageMap.h"
#include "NoThrowNew.h"

class CPalette;
class CRgn;

// Modeless windows are made with new (std::nothrow): see NoThrowNew.
class CWnd : public NoThrowNew {
public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    virtual ~CWnd();

    // The object bound to hWnd, or null for a window that is not ours.
    static CWnd* FromHandlePermanent(HWND hWnd);

    // Binds an existing window (a dialog control, say) to this object.
    BOOL SubclassWindow(HWND hWnd);

    virtual BOOL PreTranslateMessage(MSG* msg);

    // The default processing of the message being handled.
    LRESULT Default();

    // Thin forwards to the window functions of the same names.
    void SetWindowText(LPCWSTR text) { ::SetWindowTextW(m_hWnd, text); }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL UpdateWindow() { return ::UpdateWindow(m_hWnd); }
    // Without a window ::InvalidateRect would repaint every window on the desktop.
    BOOL InvalidateRect(const RECT* rect, BOOL erase = TRUE)
    { return m_hWnd ? ::InvalidateRect(m_hWnd, rect, erase) : FALSE; }
    void GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }
    void GetWindowRect(RECT* rect) const { ::GetWindowRect(m_hWnd, rect); }
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags)
    { return ::SetWindowPos(m_hWnd, insertAfter ? insertAfter->m_hWnd : nullptr, x, y, cx, cy, flags); }
    // The window owns the region once the call succeeds, so the object
    // gives it up then, and only then.
    int SetWindowRgn(CRgn* region, BOOL redraw);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    { return ::SendMessageW(m_hWnd, message, wParam, lParam); }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    { return ::PostMessageW(m_hWnd, message, wParam, lParam); }
    // Without a window ::SetTimer would start a timer of the thread's that
    // nothing ever kills.
    UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs) { return m_hWnd ? ::SetTimer(m_hWnd, id, elapseMs, nullptr) : 0; }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
    // For a timer remembered by its handle, 0 while it does not run.
    void KillTimerAndClear(UINT_PTR& handle)
    {
        if (handle != 0)
            KillTimer(handle);
        handle = 0;
    }
    // Realizes the palette in the foreground and repaints the window when
    // that changed the system palette; without a palette, does nothing.
    void RealizePaletteAndRepaint(const CPalette* palette);
    HMENU GetSystemMenu(BOOL revert) const { return ::GetSystemMenu(m_hWnd, revert); }
    HICON SetIcon(HICON icon, BOOL big)
    { return reinterpret_cast<HICON>(::SendMessageW(m_hWnd, WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon))); }
    void CenterWindow();
    BOOL DestroyWindow();

    // The name screen readers read for a control whose window text cannot
    // be its name (a button that shows no text, an icon): string id of the
    // string table, told through the accessibility interface.
    BOOL SetAccessibleName(UINT id) { return m_accessibleName.LoadString(id); }

    // Insert-after value for SetWindowPos: the top of the non-topmost windows.
    static const CWnd wndTop;

    HWND m_hWnd = nullptr;

protected:
    virtual const MessageMap* GetMessageMap() const;

    // The control's accessible object, when it has a name of its own.
    LRESULT OnGetObject(WPARAM flags, LPARAM objectId);

    // Runs after the window's last message has returned; self-deleting
    // windows delete themselves here.
    virtual void PostNcDestroy() {}

    // The one place a window is bound to its object; undone in WindowProc
    // at WM_NCDESTROY.
    void Attach(HWND hWnd);

    // Brackets code that runs on behalf of one of this window's messages;
    // the last LeaveMessage after WM_NCDESTROY runs PostNcDestroy.
    void EnterMessage() { ++m_nesting; }
    void LeaveMessage();
    // The same, for a creation that failed: the object stays with whoever
    // made it, even if a window existed for a moment.
    void LeaveMessageWithoutPostNcDestroy()
    {
        --m_nesting;
        m_destroyed = false;
    }

private:
    struct CurrentMessage {
        HWND hWnd;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };

    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    void Detach();

    WNDPROC m_superProc = nullptr;
    CurrentMessage m_current{};
    CString m_accessibleName;
    int m_nesting = 0;           // messages of this window under way
    bool m_destroyed = false;    // WM_NCDESTROY seen, PostNcDestroy still due
};
