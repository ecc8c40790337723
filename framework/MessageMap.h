// Message maps: one plain static table per window class, chained to the
// base class's table. Each entry names the message (and for WM_COMMAND the
// control ID and notification code) and a typed member handler. The cracker
// for the message decides the handler's signature, so a handler with the
// wrong one does not compile.
#pragma once

#include <windows.h>

#include "CDC.h"

#include <cstddef>

class CWnd;

using MessageDispatch = LRESULT (*)(CWnd& wnd, WPARAM wParam, LPARAM lParam);

struct MessageMapEntry {
    UINT message;
    UINT id;    // WM_COMMAND only: the control ID
    UINT code;  // WM_COMMAND only: the notification code
    MessageDispatch dispatch;
};

struct MessageMap {
    template <std::size_t N>
    constexpr MessageMap(const MessageMap* baseMap, const MessageMapEntry (&table)[N])
        : base(baseMap), entries(table), count(N) {}
    constexpr explicit MessageMap(const MessageMap* baseMap) : base(baseMap), entries(nullptr), count(0) {}

    const MessageMap* base;
    const MessageMapEntry* entries;
    std::size_t count;

    // The first entry for the message in this table or a base table, or null.
    const MessageMapEntry* Find(UINT message, UINT id, UINT code) const;
};

namespace message_map_detail {

template <class Handler> struct HandlerClass;
template <class T, class R, class... Args>
struct HandlerClass<R (T::*)(Args...)> { using type = T; };

CWnd* WndFromHandle(HWND hWnd);

// One cracker per message the application handles: the handler's
// signature and how wParam and lParam become its arguments.
template <UINT Message> struct Cracker;

template <> struct Cracker<WM_COMMAND> {
    template <class T> static LRESULT Call(T& w, void (T::*h)(), WPARAM, LPARAM) { (w.*h)(); return 0; }
};
template <> struct Cracker<WM_TIMER> {
    template <class T> static LRESULT Call(T& w, void (T::*h)(UINT_PTR), WPARAM wp, LPARAM) { (w.*h)(wp); return 0; }
};
template <> struct Cracker<WM_PAINT> {
    template <class T> static LRESULT Call(T& w, void (T::*h)(), WPARAM, LPARAM) { (w.*h)(); return 0; }
};
template <> struct Cracker<WM_DESTROY> {
    template <class T> static LRESULT Call(T& w, void (T::*h)(), WPARAM, LPARAM) { (w.*h)(); return 0; }
};
template <> struct Cracker<WM_SYSCOMMAND> {
    template <class T> static LRESULT Call(T& w, void (T::*h)(UINT, LPARAM), WPARAM wp, LPARAM lp)
    { (w.*h)(static_cast<UINT>(wp), lp); return 0; }
};
template <> struct Cracker<WM_QUERYDRAGICON> {
    template <class T> static LRESULT Call(T& w, HCURSOR (T::*h)(), WPARAM, LPARAM)
    { return reinterpret_cast<LRESULT>((w.*h)()); }
};
template <> struct Cracker<WM_ACTIVATE> {
    template <class T> static LRESULT Call(T& w, void (T::*h)(UINT, CWnd*, BOOL), WPARAM wp, LPARAM lp)
    { (w.*h)(LOWORD(wp), WndFromHandle(reinterpret_cast<HWND>(lp)), HIWORD(wp) != 0); return 0; }
};
template <> struct Cracker<WM_PALETTECHANGED> {
    template <class T> static LRESULT Call(T& w, void (T::*h)(CWnd*), WPARAM wp, LPARAM)
    { (w.*h)(WndFromHandle(reinterpret_cast<HWND>(wp))); return 0; }
};
template <> struct Cracker<WM_QUERYNEWPALETTE> {
    template <class T> static LRESULT Call(T& w, BOOL (T::*h)(), WPARAM, LPARAM) { return (w.*h)(); }
};
template <> struct Cracker<WM_ERASEBKGND> {
    template <class T> static LRESULT Call(T& w, BOOL (T::*h)(CDC*), WPARAM wp, LPARAM)
    {
        CDC dc(reinterpret_cast<HDC>(wp));
        return (w.*h)(&dc);
    }
};
template <> struct Cracker<WM_LBUTTONDOWN> {
    template <class T> static LRESULT Call(T& w, void (T::*h)(UINT, POINT), WPARAM wp, LPARAM lp)
    {
        POINT point{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        (w.*h)(static_cast<UINT>(wp), point);
        return 0;
    }
};
template <> struct Cracker<WM_MOVE> {
    template <class T> static LRESULT Call(T& w, void (T::*h)(int, int), WPARAM, LPARAM lp)
    { (w.*h)(static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))); return 0; }
};
// The flags to hand on to LresultFromObject and the object asked for.
template <> struct Cracker<WM_GETOBJECT> {
    template <class T> static LRESULT Call(T& w, LRESULT (T::*h)(WPARAM, LPARAM), WPARAM wp, LPARAM lp)
    { return (w.*h)(wp, lp); }
};
// The new DPI (the same on both axes) and the rectangle the system suggests.
template <> struct Cracker<WM_DPICHANGED> {
    template <class T> static LRESULT Call(T& w, void (T::*h)(UINT, const RECT*), WPARAM wp, LPARAM lp)
    { (w.*h)(LOWORD(wp), reinterpret_cast<const RECT*>(lp)); return 0; }
};

template <UINT Message, auto Handler>
LRESULT Dispatch(CWnd& wnd, WPARAM wParam, LPARAM lParam)
{
    using T = typename HandlerClass<decltype(Handler)>::type;
    return Cracker<Message>::Call(static_cast<T&>(wnd), Handler, wParam, lParam);
}

}  // namespace message_map_detail

// An entry for a window message: OnMessage<WM_TIMER, &CMyDlg::OnTimer>().
template <UINT Message, auto Handler>
constexpr MessageMapEntry OnMessage()
{
    static_assert(Message != WM_COMMAND, "use OnCommand for WM_COMMAND");
    return {Message, 0, 0, &message_map_detail::Dispatch<Message, Handler>};
}

// An entry for a notification from a control: OnCommand<IDC_START, BN_CLICKED, &CMyDlg::OnStart>().
template <UINT Id, UINT Code, auto Handler>
constexpr MessageMapEntry OnCommand()
{
    return {WM_COMMAND, Id, Code, &message_map_detail::Dispatch<WM_COMMAND, Handler>};
}
