// Display scale. Every pixel value in the program is written once, at
// 96 DPI, as the design gives it; ScaleToDpi is the one place it becomes a
// window's pixels.
#pragma once

#include <windows.h>

class CBitmap;
class CDC;

// The scale the pictures are drawn at and the pixel values are written for.
constexpr UINT kDesignDpi = 96;

// The DPI a window is drawn at: its monitor's where the system tracks that,
// else the display's.
UINT GetWindowDpi(HWND hWnd);

// A length given at 96 DPI, in pixels at dpi.
int ScaleToDpi(int pixels, UINT dpi);

// Replaces the device bitmap held by pBitmap with a copy enlarged to dpi,
// made in a memory context compatible with pDC. Each new pixel is a copy of
// one old pixel, never a blend, so that the picture stays sharp and a key
// colour stays exactly the key. At 96 DPI the bitmap is left as it is.
// Returns FALSE, leaving pBitmap as it was, when no copy could be made.
BOOL ScaleBitmapToDpi(CBitmap* pBitmap, CDC* pDC, UINT dpi);
