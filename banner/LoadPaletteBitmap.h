// Loads a picture of up to 256 colours from the program's bitmap resources
// as a device bitmap for a window's display, together with a logical
// palette made from the picture's own colour table.
#pragma once

#include "CDC.h"
#include "CGdiObject.h"

#include <cstddef>
#include <cstdint>

// pBitmap receives the device bitmap (one it held is deleted first) and
// pPalette the palette, when the picture has a colour table. Returns 0 when
// either is null or resource nID is missing, can't be loaded or is not a
// well-formed picture; then neither object is changed. Otherwise returns 1,
// even if the device bitmap could not be made or filled (pBitmap is then
// left empty): callers that need the picture check pBitmap.
int LoadPaletteBitmap(CBitmap* pBitmap, CPalette* pPalette, CDC* pDC, UINT nID);

// The same from the bytes of a packed picture (header, colour table, bits).
int LoadPaletteBitmapFromDib(CBitmap* pBitmap, CPalette* pPalette, CDC* pDC, const uint8_t* dib, size_t size);
