// Small helpers shared by the window tests.
#pragma once

#include "CDC.h"
#include "CGdiObject.h"
#include "CWinApp.h"
#include "CWnd.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <oleacc.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <vector>

// The application object of the test programs (defined in
// WindowTestsMain.cpp). A test that runs a dialog as the program does makes
// it the main window, so that the dialogs it opens find their owner.
class TestApp : public CWinApp {
public:
    BOOL InitInstance() override { return FALSE; }
};
extern TestApp g_app;

// A pop-up of the class `name`, whose window procedure is proc, at the
// screen rectangle left, top, width x height. The class is registered on
// first use; registering it again fails and changes nothing.
inline HWND MakePopup(LPCWSTR name, WNDPROC proc, DWORD style, int left, int top, int width, int height)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = name;
    ::RegisterClassW(&wc);
    return ::CreateWindowExW(0, name, L"owner", style, left, top, width, height, nullptr, nullptr, wc.hInstance,
                             nullptr);
}

// A plain visible pop-up, standing in for an owner window.
class OwnerWindow : public CWnd {
public:
    OwnerWindow(int left, int top, int width, int height)
    { SubclassWindow(MakePopup(L"Vuka6TestOwner", ::DefWindowProcW, WS_POPUP | WS_VISIBLE, left, top, width, height)); }
};

// The screen's context, for reading and making pictures like the display's.
class ScreenDC : public CDC {
public:
    ScreenDC() : CDC(::GetDC(nullptr)) {}
    ~ScreenDC() override { ::ReleaseDC(nullptr, m_hDC); }
};

// A picture's pixels as 0x00RRGGBB, rows top to bottom, read with GetDIBits
// rather than through a context the function under test would use.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> rgb;
    uint32_t At(int x, int y) const { return rgb[y * width + x]; }
};

inline Pixels ReadPixels(const CBitmap& bitmap)
{
    Pixels p;
    BITMAP info{};
    if (!bitmap.GetBitmap(&info))
        return p;
    p.width = info.bmWidth;
    p.height = info.bmHeight;
    p.rgb.resize(static_cast<size_t>(p.width) * p.height);
    BITMAPINFO bmi{};
    bmi.bmiHeader = {sizeof bmi.bmiHeader, p.width, -p.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    ScreenDC screen;
    if (::GetDIBits(screen.m_hDC, bitmap, 0, p.height, p.rgb.data(), &bmi, DIB_RGB_COLORS) != p.height)
        p.rgb.assign(p.rgb.size(), 0);
    for (uint32_t& c : p.rgb)
        c &= 0xFFFFFFu;
    return p;
}

// What a window's painting left in its client area, read back from the
// window's own device context.
inline Pixels ReadShown(HWND hWnd)
{
    ::UpdateWindow(hWnd);
    RECT client{};
    ::GetClientRect(hWnd, &client);
    const HDC shown = ::GetDC(hWnd);
    const HDC memory = ::CreateCompatibleDC(shown);
    CBitmap copy;
    copy.Attach(::CreateCompatibleBitmap(shown, client.right, client.bottom));
    const HGDIOBJ old = ::SelectObject(memory, copy);
    ::BitBlt(memory, 0, 0, client.right, client.bottom, shown, 0, 0, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::ReleaseDC(hWnd, shown);
    return ReadPixels(copy);
}

// Pixels where what a window shows differs from its picture: inside the
// outline only, where one is given, and never inside except. A size that
// differs makes every pixel differ.
inline int ShownUnlike(const Pixels& shown, const Pixels& picture, HRGN outline = nullptr, RECT except = {})
{
    if (shown.width != picture.width || shown.height != picture.height)
        return picture.width * picture.height;
    int unlike = 0;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            const POINT point{x, y};
            const bool counts = (!outline || ::PtInRegion(outline, x, y)) && !::PtInRect(&except, point);
            unlike += counts && shown.At(x, y) != picture.At(x, y);
        }
    return unlike;
}

// A palette's entries, in order.
inline std::vector<PALETTEENTRY> PaletteEntries(const CPalette& palette)
{
    WORD count = 0;
    ::GetObjectW(palette.m_hObject, sizeof count, &count);
    std::vector<PALETTEENTRY> entries(count);
    ::GetPaletteEntries(palette, 0, count, entries.data());
    return entries;
}

// The windows an enumeration of the system lists.
inline BOOL CALLBACK CollectWindow(HWND hWnd, LPARAM found)
{
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(hWnd);
    return TRUE;
}

// The top-level windows of this thread for which keep() is true.
inline std::vector<HWND> ThreadWindows(const std::function<bool(HWND)>& keep)
{
    std::vector<HWND> all, kept;
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&all));
    std::copy_if(all.begin(), all.end(), std::back_inserter(kept), keep);
    return kept;
}

inline RECT WindowRect(HWND hWnd)
{
    RECT rect{};
    ::GetWindowRect(hWnd, &rect);
    return rect;
}

// A window's text, or with GetClassNameW its class name.
inline std::wstring WindowText(HWND hWnd, int(WINAPI* get)(HWND, LPWSTR, int) = ::GetWindowTextW)
{
    wchar_t buffer[256] = {};
    get(hWnd, buffer, 256);
    return buffer;
}
inline std::wstring ClassOf(HWND hWnd) { return WindowText(hWnd, ::GetClassNameW); }

// A window's child windows, as the system lists them.
inline std::vector<HWND> Children(HWND parent)
{
    std::vector<HWND> children;
    ::EnumChildWindows(parent, CollectWindow, reinterpret_cast<LPARAM>(&children));
    return children;
}

// What a screen reader hears a control called: the name oleacc gives the
// control's client object, which is the control's own answer to
// WM_GETOBJECT, or else oleacc's standard object, named by the window text.
// With a child, the name of that child of the object instead.
inline std::wstring AccessibleName(HWND hWnd, LONG child = CHILDID_SELF)
{
    IAccessible* object = nullptr;
    if (FAILED(::AccessibleObjectFromWindow(hWnd, OBJID_CLIENT, __uuidof(IAccessible),
                                            reinterpret_cast<void**>(&object))) ||
        !object)
        return L"(no accessible object)";
    IOleWindow* window = nullptr;
    HWND own = nullptr;
    if (SUCCEEDED(object->QueryInterface(IID_PPV_ARGS(&window)))) {
        window->GetWindow(&own);
        window->Release();
    }
    EXPECT_EQ(hWnd, own) << "the object does not say it is this window's";
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = child;
    BSTR name = nullptr;
    std::wstring text;
    if (SUCCEEDED(object->get_accName(self, &name)) && name)
        text = name;
    ::SysFreeString(name);
    // The reader's reference is the last one: nothing the program made for it stays behind.
    EXPECT_EQ(0u, object->Release()) << "an accessible object outlives its reader";
    return text;
}

// For messages: gtest prints wide strings as escapes.
inline std::string Utf8(const std::wstring& text)
{
    std::string out(text.size() * 3 + 1, '\0');
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0],
                                        static_cast<int>(out.size()), nullptr, nullptr);
    out.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return out;
}

// A control's window rectangle in its dialog's client coordinates.
inline RECT RectInDialog(HWND control)
{
    RECT rect = WindowRect(control);
    ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// What a screen reader hears each control of a dialog called, checked for
// all of them: every control has a name, and every one whose ID is not in
// namedApart is called by its text (the first '&' goes, as oleacc drops it).
// The names of those in namedApart, by ID, are the caller's to check.
inline std::vector<std::pair<int, std::wstring>> NamesApart(HWND dialog, size_t controls, std::set<int> namedApart)
{
    std::vector<std::pair<int, std::wstring>> apart;
    const std::vector<HWND> children = Children(dialog);
    EXPECT_EQ(controls, children.size());
    for (HWND child : children) {
        const int id = ::GetDlgCtrlID(child);
        const std::wstring name = AccessibleName(child);
        std::wstring fromText = WindowText(child);
        fromText.erase(std::min(fromText.find(L'&'), fromText.size()), 1);
        EXPECT_FALSE(name.empty()) << "control " << id;
        if (namedApart.count(id))
            apart.emplace_back(id, name);
        else
            EXPECT_EQ(Utf8(fromText), Utf8(name)) << "control " << id;
    }
    return apart;
}

// The texts of a tooltip's tools, in order.
inline std::vector<std::wstring> TipTexts(HWND tooltip)
{
    std::vector<std::wstring> texts;
    const auto count = static_cast<UINT>(::SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0));
    for (UINT i = 0; i < count; ++i) {
        TTTOOLINFOW info{};
        info.cbSize = sizeof info;
        if (!::SendMessageW(tooltip, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(&info)))
            continue;
        wchar_t text[256] = {};
        info.lpszText = text;
        ::SendMessageW(tooltip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&info));
        texts.push_back(text);
    }
    return texts;
}

// The height of the tooltip showing text, with its font and width: shown
// for a moment as a tracking tip of its own.
inline int TipHeight(HWND tooltip, const std::wstring& text)
{
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    info.hwnd = ::GetWindow(tooltip, GW_OWNER);
    info.uId = 0x7FFF;
    info.lpszText = const_cast<LPWSTR>(text.c_str());
    ::SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    ::SendMessageW(tooltip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&info));
    const RECT shown = WindowRect(tooltip);
    ::SendMessageW(tooltip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&info));
    ::SendMessageW(tooltip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    return shown.bottom - shown.top;
}

inline std::wstring LoadedString(UINT id)
{
    LPCWSTR text = nullptr;
    const int length = ::LoadStringW(::GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}

// The display's DPI, which the whole test run shares (Wine's LogPixels).
inline int ScreenDpi()
{
    static const int dpi = ::GetDeviceCaps(ScreenDC().m_hDC, LOGPIXELSY);
    return dpi;
}

// A length the design gives at 96 DPI, in pixels at dpi (by default the
// display's), rounded to the nearest pixel.
inline int Scaled(int pixels, int dpi = ScreenDpi()) { return (pixels * dpi + 48) / 96; }

// The characters of `text` that `font` has no glyph for: the ones it would
// draw as empty boxes. Line feeds are layout, not glyphs.
inline std::wstring MissingGlyphs(HFONT font, const std::wstring& text)
{
    const HDC dc = ::CreateCompatibleDC(nullptr);
    const HGDIOBJ old = ::SelectObject(dc, font);
    std::vector<WORD> glyphs(text.size());
    ::GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()), glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    std::wstring missing;
    for (size_t i = 0; i < text.size(); ++i)
        if (glyphs[i] == 0xFFFF && text[i] != L'\n')
            missing += text[i];
    return missing;
}

inline LARGE_INTEGER Now()
{
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return now;
}

// Milliseconds since start, from the performance counter: GetTickCount
// moves in steps of 10 ms or more, too coarse to tell 2048 ms from 2000.
inline double MillisecondsSince(const LARGE_INTEGER& start)
{
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(Now().QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}
