#include "Dpi.h"

#include "CDC.h"
#include "CGdiObject.h"
#include "FindFunction.h"
#include "ScopedSelection.h"

#include <utility>

UINT GetWindowDpi(HWND hWnd)
{
    // Looked up, not imported: Windows 7 and 8 have no GetDpiForWindow, and
    // a static import of it would keep the program from starting there.
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow =
        FindFunction<GetDpiForWindowFn>(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow");
    if (getDpiForWindow) {
        if (const UINT dpi = getDpiForWindow(hWnd))
            return dpi;
    }
    // Before per-monitor scaling there is one DPI, the display's.
    int dpi = 0;
    if (const HDC dc = ::GetDC(hWnd)) {
        dpi = ::GetDeviceCaps(dc, LOGPIXELSY);
        ::ReleaseDC(hWnd, dc);
    }
    return dpi > 0 ? static_cast<UINT>(dpi) : kDesignDpi;
}

int ScaleToDpi(int pixels, UINT dpi)
{
    return ::MulDiv(pixels, static_cast<int>(dpi), static_cast<int>(kDesignDpi));
}

BOOL ScaleBitmapToDpi(CBitmap* pBitmap, CDC* pDC, UINT dpi)
{
    if (dpi == kDesignDpi)
        return TRUE;
    BITMAP info{};
    if (!pBitmap->GetBitmap(&info))
        return FALSE;
    const int width = ScaleToDpi(info.bmWidth, dpi);
    const int height = ScaleToDpi(info.bmHeight, dpi);

    CBitmap scaled;
    if (!scaled.CreateCompatibleBitmap(pDC, width, height))
        return FALSE;
    {
        CCompatibleDC source(pDC);
        CCompatibleDC target(pDC);
        ScopedSelection from(source, pBitmap->m_hObject);
        ScopedSelection to(target, scaled.m_hObject);
        if (!from.Selected() || !to.Selected())
            return FALSE;
        // COLORONCOLOR drops or repeats whole pixels; the other modes blend
        // neighbours and would leave a fringe of mixed colours round the key.
        target.SetStretchBltMode(COLORONCOLOR);
        if (!target.StretchBlt(0, 0, width, height, &source, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY))
            return FALSE;
    }
    *pBitmap = std::move(scaled);
    return TRUE;
}
