// Device contexts. CDC only borrows its handle; the derived classes own
// theirs and give it back in their destructors, each the way it was got.
#pragma once

#include <windows.h>

class CWnd;

class CDC {
public:
    explicit CDC(HDC hDC = nullptr) : m_hDC(hDC) {}
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    virtual ~CDC() = default;

    HDC GetSafeHdc() const { return m_hDC; }

    HGDIOBJ SelectObject(HGDIOBJ object) { return ::SelectObject(m_hDC, object); }
    HPALETTE SelectPalette(HPALETTE palette, BOOL forceBackground)
    { return ::SelectPalette(m_hDC, palette, forceBackground); }
    UINT RealizePalette() { return ::RealizePalette(m_hDC); }
    BOOL DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }

    HDC m_hDC;
};

// The client-area context of a window: GetDC / ReleaseDC.
class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;

private:
    HWND m_hWnd;
};

// The context of one WM_PAINT: BeginPaint / EndPaint.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps;

private:
    HWND m_hWnd;
};

// A memory context compatible with another one: CreateCompatibleDC / DeleteDC.
class CCompatibleDC : public CDC {
public:
    explicit CCompatibleDC(CDC* like);
    ~CCompatibleDC() override;
};
