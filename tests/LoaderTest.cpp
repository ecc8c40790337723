// The palette bitmap loader under Wine: palettes from colour tables, device
// bitmaps that read back the pictures' colours, the old bitmap's fate, and
// the malformed pictures it refuses.
#include "DibTestPictures.h"
#include "FaultInjection.h"
#include "LoadPaletteBitmap.h"
#include "TestWindows.h"
#include "resource.h"

#include <gtest/gtest.h>

namespace {

// The bytes of a bitmap resource, found without the loader.
std::vector<uint8_t> ResourceBytes(UINT id)
{
    const HRSRC resource = ::FindResourceW(nullptr, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(2));
    const auto* bytes = static_cast<const uint8_t*>(::LockResource(::LoadResource(nullptr, resource)));
    return std::vector<uint8_t>(bytes, bytes + ::SizeofResource(nullptr, resource));
}

TEST(Loader, AnEightBitResourceReadsBackItsExactColours)
{
    ScreenDC screen;
    CBitmap bitmap;
    CPalette palette;
    const long realized = fault::RealizedPalettes();
    ASSERT_EQ(1, LoadPaletteBitmap(&bitmap, &palette, &screen, IDB_BANNER_TITLE));
    // The bits go through the picture's own palette, as a palette display needs.
    EXPECT_EQ(realized + 1, fault::RealizedPalettes());

    BITMAP info;
    ASSERT_TRUE(bitmap.GetBitmap(&info));
    EXPECT_EQ(250, info.bmWidth);
    EXPECT_EQ(50, info.bmHeight);
    EXPECT_EQ(::GetDeviceCaps(screen.m_hDC, BITSPIXEL), info.bmBitsPixel) << "not a one-bit bitmap";

    const std::vector<uint8_t> dib = ResourceBytes(IDB_BANNER_TITLE);
    const std::vector<PALETTEENTRY> entries = PaletteEntries(palette);
    ASSERT_EQ(256u, entries.size());
    for (int i = 0; i < 256; ++i) {
        const uint8_t* quad = &dib[40 + 4 * i];
        EXPECT_EQ(quad[2], entries[i].peRed);
        EXPECT_EQ(quad[1], entries[i].peGreen);
        EXPECT_EQ(quad[0], entries[i].peBlue);
        EXPECT_EQ(0, entries[i].peFlags);
    }

    const Pixels shown = ReadPixels(bitmap);
    int wrong = 0;
    for (int y = 0; y < 50; ++y) {
        const uint8_t* row = &dib[40 + 1024 + (49 - y) * 252];  // bottom-up rows of 252 bytes
        for (int x = 0; x < 250; ++x) {
            const uint8_t* quad = &dib[40 + 4 * row[x]];
            wrong += shown.At(x, y) != static_cast<uint32_t>(quad[2] << 16 | quad[1] << 8 | quad[0]);
        }
    }
    EXPECT_EQ(0, wrong);
}

TEST(Loader, FourBitPicturesGetSixteenEntriesWithOrWithoutAColourCount)
{
    ScreenDC screen;
    for (uint32_t used : {16u, 0u}) {
        DibRecipe recipe;
        recipe.bitCount = 4;
        recipe.colorsUsed = used;
        recipe.tableEntries = 16;
        auto dib = MakeDib(recipe);
        dib[40 + 64] = 0x3C;  // bottom row: pixel 0 index 3, pixel 1 index 12
        dib[40 + 4 * 3 + 3] = 0x40;  // a quad's reserved byte, which is no flag
        CBitmap bitmap;
        CPalette palette;
        ASSERT_EQ(1, LoadPaletteBitmapFromDib(&bitmap, &palette, &screen, dib.data(), dib.size()));
        const auto entries = PaletteEntries(palette);
        ASSERT_EQ(16u, entries.size());
        EXPECT_EQ(0, entries[3].peFlags);
        EXPECT_EQ(0x01FC03u, ReadPixels(bitmap).At(0, 1));
        EXPECT_EQ(0x06F30Cu, ReadPixels(bitmap).At(1, 1));
    }
}

TEST(Loader, ATrueColourPictureHasNoPaletteButIsLoaded)
{
    ScreenDC screen;
    DibRecipe recipe;
    recipe.bitCount = 24;
    recipe.tableEntries = 0;
    auto dib = MakeDib(recipe);
    dib[40] = 0x10;  // bottom-left pixel: blue, green, red
    dib[41] = 0x20;
    dib[42] = 0x30;
    CBitmap bitmap;
    CPalette palette;
    ASSERT_EQ(1, LoadPaletteBitmapFromDib(&bitmap, &palette, &screen, dib.data(), dib.size()));
    EXPECT_EQ(nullptr, palette.m_hObject);
    EXPECT_EQ(0x302010u, ReadPixels(bitmap).At(0, 1));
}

// Which headers are refused is DibLayout's to say (its tests and the fuzz
// target); here, that a refusal leaves both objects alone.
TEST(Loader, AMissingResourceAMalformedPictureOrANullObjectChangesNothing)
{
    ScreenDC screen;
    CBitmap bitmap;
    CPalette palette;
    ASSERT_EQ(1, LoadPaletteBitmap(&bitmap, &palette, &screen, IDB_BANNER1));
    const HGDIOBJ old = bitmap.m_hObject;
    CPalette empty;
    auto truncated = MakeDib(DibRecipe{});
    truncated.pop_back();
    EXPECT_EQ(0, LoadPaletteBitmap(&bitmap, &empty, &screen, 4321));
    EXPECT_EQ(0, LoadPaletteBitmapFromDib(&bitmap, &empty, &screen, truncated.data(), truncated.size()));
    EXPECT_EQ(0, LoadPaletteBitmap(nullptr, &empty, &screen, IDB_BANNER1));
    EXPECT_EQ(0, LoadPaletteBitmap(&bitmap, nullptr, &screen, IDB_BANNER1));
    EXPECT_EQ(old, bitmap.m_hObject);
    EXPECT_EQ(OBJ_BITMAP, static_cast<int>(::GetObjectType(old)));
    EXPECT_EQ(nullptr, empty.m_hObject);
}

TEST(GdiObjects, OwnershipMovesAndDetachesWithoutDoubleDeletes)
{
    CRgn first;
    ASSERT_TRUE(first.CreateRectRgn(0, 0, 4, 4));
    const HGDIOBJ handle = first.m_hObject;
    CRgn second(std::move(first));
    EXPECT_EQ(nullptr, first.m_hObject);
    EXPECT_EQ(handle, second.m_hObject);

    CRgn third;
    third.CreateRectRgn(0, 0, 1, 1);
    const HGDIOBJ replaced = third.m_hObject;
    third = std::move(second);
    EXPECT_EQ(0u, ::GetObjectType(replaced)) << "the region it held was deleted";
    EXPECT_EQ(handle, third.m_hObject);

    const HGDIOBJ detached = third.Detach();
    EXPECT_EQ(nullptr, third.m_hObject);
    EXPECT_EQ(static_cast<DWORD>(OBJ_REGION), ::GetObjectType(detached));
    ::DeleteObject(detached);
}

}  // namespace
