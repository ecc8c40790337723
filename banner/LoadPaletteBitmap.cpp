#include "LoadPaletteBitmap.h"

#include "DibLayout.h"
#include "ScopedSelection.h"

namespace {

// A LOGPALETTE with room for the largest colour table a picture may have:
// on the stack, so that making a palette needs no allocation that could fail.
struct PaletteBuffer {
    LOGPALETTE header;
    PALETTEENTRY more[kMaxDibColors - 1];
};

void MakePalette(CPalette* pPalette, const uint8_t* colorTable, uint32_t count)
{
    PaletteBuffer buffer;
    LOGPALETTE* palette = &buffer.header;
    palette->palVersion = 0x300;
    palette->palNumEntries = static_cast<WORD>(count);
    // RGBQUAD is blue, green, red, reserved; the reserved byte is not a flag.
    // palPalEntry is declared with one entry; the buffer holds all of them.
    PALETTEENTRY* entries = palette->palPalEntry;
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* quad = colorTable + 4 * i;
        entries[i] = PALETTEENTRY{quad[2], quad[1], quad[0], 0};
    }
    pPalette->CreatePalette(palette);
}

}  // namespace

int LoadPaletteBitmap(CBitmap* pBitmap, CPalette* pPalette, CDC* pDC, UINT nID)
{
    if (!pBitmap || !pPalette)
        return 0;
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    const HRSRC resource = ::FindResourceW(instance, MAKEINTRESOURCEW(nID & 0xFFFF), MAKEINTRESOURCEW(2));
    if (!resource)
        return 0;
    const HGLOBAL loaded = ::LoadResource(instance, resource);
    // Resources stay mapped for the life of the module: nothing to unlock or free.
    const auto* dib = static_cast<const uint8_t*>(::LockResource(loaded));
    if (!dib)
        return 0;
    return LoadPaletteBitmapFromDib(pBitmap, pPalette, pDC, dib, ::SizeofResource(instance, resource));
}

int LoadPaletteBitmapFromDib(CBitmap* pBitmap, CPalette* pPalette, CDC* pDC, const uint8_t* dib, size_t size)
{
    DibLayout layout;
    if (!pBitmap || !pPalette || !ReadDibLayout(dib, size, &layout))
        return 0;

    if (layout.colorCount != 0)
        MakePalette(pPalette, dib + layout.colorTableOffset, layout.colorCount);

    pBitmap->DeleteObject();
    CCompatibleDC memory(pDC);
    pBitmap->CreateCompatibleBitmap(pDC, layout.width, layout.height);

    int rows = 0;
    {
        // The picture's own palette is realized in the memory context before
        // the bits are copied, so that on a palette display they are mapped
        // through it. The guards put back the bitmap first, then the palette.
        const HPALETTE palette = pBitmap->m_hObject ? static_cast<HPALETTE>(*pPalette) : nullptr;
        ScopedSelection paletteSelection(memory, palette, FALSE, FALSE);
        if (paletteSelection.Selected())
            memory.RealizePalette();
        ScopedSelection bitmapSelection(memory, pBitmap->m_hObject);

        rows = ::StretchDIBits(memory.m_hDC, 0, 0, layout.width, layout.height, 0, 0, layout.width, layout.height,
                               dib + layout.bitsOffset, reinterpret_cast<const BITMAPINFO*>(dib), DIB_RGB_COLORS,
                               SRCCOPY);
    }
    // A device bitmap the picture was not copied into holds whatever was in
    // its memory; no picture at all is what the callers already handle.
    if (rows == 0)
        pBitmap->DeleteObject();
    return 1;
}
