// The colour-key window shape under Wine: small pictures made here and
// traced, and the handling of the caller's objects. The real pictures are
// traced in the mascot's tests, as its windows wear them; their runs and
// counts are tools/check_art.py's to check, from the files' bytes.
#include "CreateColorKeyRegion.h"
#include "ScopedSelection.h"
#include "TestWindows.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

// Green, red and blue, short so that the pictures below read as pictures.
const COLORREF G = RGB(0, 255, 0), R = RGB(200, 16, 24), B = RGB(10, 20, 250);

// A 32-bit top-down DIB section holding the given colours, selected nowhere.
CBitmap MakePicture(const std::vector<std::vector<COLORREF>>& rows)
{
    const int height = static_cast<int>(rows.size());
    const int width = static_cast<int>(rows[0].size());
    BITMAPINFO bmi{};
    bmi.bmiHeader = {sizeof bmi.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    CBitmap bitmap;
    bitmap.Attach(::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bits)
        return bitmap;
    auto* pixels = static_cast<uint32_t*>(bits);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            // A DIB stores blue in the low byte, a COLORREF red.
            const COLORREF c = rows[y][x];
            pixels[y * width + x] = GetBValue(c) | GetGValue(c) << 8 | GetRValue(c) << 16;
        }
    ::GdiFlush();
    return bitmap;
}

// The union of rectangles, built without the function under test.
CRgn RegionOf(const std::vector<std::array<int, 4>>& rects)
{
    CRgn region;
    region.CreateRectRgn(0, 0, 0, 0);
    for (const auto& r : rects) {
        CRgn piece;
        piece.CreateRectRgn(r[0], r[1], r[2], r[3]);
        region.CombineRgn(&region, &piece, RGN_OR);
    }
    return region;
}

// Where the runs lie is the run finder's to say; here, that the region is
// theirs, with the key given or taken from the corner, with or without a
// context to read through.
TEST(ColorKeyRegion, ASmallPictureWithItsKeyGivenOrInTheCorner)
{
    CBitmap bitmap = MakePicture({{G, R, R, G, B, G},
                                  {G, G, G, G, G, G},
                                  {R, R, B, B, R, R},
                                  {G, G, G, R, R, B}});
    ASSERT_TRUE(bitmap.GetSafeHandle());
    const CRgn expected = RegionOf({{1, 0, 3, 1}, {4, 0, 5, 1}, {0, 2, 6, 3}, {3, 3, 6, 4}});
    ScreenDC screen;
    CRgn region;
    ASSERT_EQ(1, CreateColorKeyRegion(&region, &bitmap, nullptr, G));
    EXPECT_TRUE(::EqualRgn(expected, region));
    ASSERT_EQ(1, CreateColorKeyRegion(&region, &bitmap, &screen, CLR_KEY_TOPLEFT));
    EXPECT_TRUE(::EqualRgn(expected, region));
}

TEST(ColorKeyRegion, AnAllKeyPictureHasAnEmptyShape)
{
    CBitmap bitmap = MakePicture({{G, G, G}, {G, G, G}});
    CRgn region;
    ASSERT_EQ(1, CreateColorKeyRegion(&region, &bitmap, nullptr, CLR_KEY_TOPLEFT));
    RECT box;
    EXPECT_EQ(NULLREGION, ::GetRgnBox(region, &box));
}

// Nothing to work on, or a bitmap selected elsewhere, whose pixels cannot
// be read through another context: a shape made from that context's stock
// bitmap would be wrong, not merely empty.
TEST(ColorKeyRegion, NothingToWorkOnLeavesTheRegionAlone)
{
    CBitmap bitmap = MakePicture({{G, R}});
    EXPECT_EQ(0, CreateColorKeyRegion(nullptr, &bitmap, nullptr, G));

    CRgn region;
    ASSERT_TRUE(region.CreateRectRgn(1, 2, 3, 4));
    const HGDIOBJ held = region.GetSafeHandle();
    CBitmap empty;
    EXPECT_EQ(0, CreateColorKeyRegion(&region, &empty, nullptr, G));
    EXPECT_EQ(0, CreateColorKeyRegion(&region, nullptr, nullptr, G));
    {
        CCompatibleDC holder(nullptr);
        ScopedSelection selected(holder, bitmap.GetSafeHandle());
        ASSERT_TRUE(selected.Selected());
        EXPECT_EQ(0, CreateColorKeyRegion(&region, &bitmap, nullptr, G));
    }
    EXPECT_EQ(held, region.GetSafeHandle());
    EXPECT_EQ(static_cast<DWORD>(OBJ_REGION), ::GetObjectType(held));
}

TEST(ColorKeyRegion, TheOldRegionIsDeletedAndReplaced)
{
    CBitmap bitmap = MakePicture({{G, R, G}});
    CRgn region;
    ASSERT_TRUE(region.CreateRectRgn(0, 0, 50, 50));
    const HGDIOBJ old = region.GetSafeHandle();
    ASSERT_EQ(1, CreateColorKeyRegion(&region, &bitmap, nullptr, G));
    EXPECT_EQ(0u, ::GetObjectType(old));
    ASSERT_EQ(static_cast<DWORD>(OBJ_REGION), ::GetObjectType(region.GetSafeHandle()));
    const CRgn expected = RegionOf({{1, 0, 2, 1}});
    EXPECT_TRUE(::EqualRgn(expected, region));

    // The bitmap comes back usable and unselected.
    EXPECT_EQ(static_cast<DWORD>(OBJ_BITMAP), ::GetObjectType(bitmap.GetSafeHandle()));
    CCompatibleDC other(nullptr);
    ScopedSelection selection(other, bitmap.GetSafeHandle());
    EXPECT_TRUE(selection.Selected());
}

}  // namespace
