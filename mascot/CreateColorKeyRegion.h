// Shapes a window after a picture: the region of every pixel that is not
// the colour key.
#pragma once

#include "CDC.h"
#include "CGdiObject.h"
#include "KeyRuns.h"

// Takes the key from the picture's top-left pixel.
constexpr COLORREF CLR_KEY_TOPLEFT = kKeyTopLeft;

// Replaces the region held by pRgn (deleting it) with the non-key pixels of
// pBitmap, read in a memory context compatible with pDC (with the screen
// when pDC is null). The bitmap must not be selected into any context.
// Returns 1 on success; 0 leaves pRgn as it was: no pRgn, no bitmap, or no
// context to read the bitmap in, or a region that could not be built whole.
int CreateColorKeyRegion(CRgn* pRgn, CBitmap* pBitmap, CDC* pDC, COLORREF clrKey);
