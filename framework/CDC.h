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
    COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
    int SetStretchBltMode(int mode) { return ::SetStretchBltMode(m_hDC, mode); }
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
    BOOL BitBlt(int x, int y, int width, int height, CDC* source, int sourceX, int sourceY, DWORD rop)
    { return ::BitBlt(m_hDC, x, y, width, height, source->m_hDC, sourceX, sourceY, rop); }
    BOOL StretchBlt(int x, int y, int width, int height, CDC* source, int sourceX, int sourceY, int sourceWidth,
                    int sourceHeight, DWORD rop)
    {
        return ::StretchBlt(m_hDC, x, y, width, height, source->m_hDC, sourceX, sourceY, sourceWidth, sourceHeight,
                            rop);
    }
    int DrawText(LPCWSTR text, int length, RECT* rect, UINT format)
    { return ::DrawTextW(m_hDC, text, length, rect, format); }

    // Copies a device bitmap one to one to (x, y) through a memory context.
    void DrawBitmap(int x, int y, int width, int height, HBITMAP bitmap);

    // Realizes palette in the foreground, then selects the context's own
    // palette back in the background: the mapping stays in the system
    // palette, the context is left as it was found. Returns how many
    // system palette entries changed.
    UINT RealizeForeground(HPALETTE palette);

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
