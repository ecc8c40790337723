// The picture header arithmetic: where the colour table and the bits lie,
// and which headers are refused because their parts would not fit.
#include "DibLayout.h"
#include "DibTestPictures.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

TEST(DibLayout, ColourCountAndBitsOffsetFollowTheHeader)
{
    struct Case { int bits; uint32_t used; uint32_t table; uint32_t colors; size_t offset; };
    const Case cases[] = {
        {8, 0, 256, 256, 40 + 1024}, {8, 256, 256, 256, 40 + 1024}, {4, 16, 16, 16, 40 + 64},
        {4, 0, 16, 16, 40 + 64},     {1, 0, 2, 2, 40 + 8},          {8, 20, 20, 20, 40 + 80},
        {24, 0, 0, 0, 40},           {16, 0, 0, 0, 40},             {32, 0, 0, 0, 40},  {8, 1, 1, 1, 40 + 4},
    };
    for (const Case& c : cases) {
        DibRecipe recipe;
        recipe.bitCount = c.bits;
        recipe.colorsUsed = c.used;
        recipe.tableEntries = c.table;
        const auto dib = MakeDib(recipe);
        DibLayout layout{};
        ASSERT_TRUE(ReadDibLayout(dib.data(), dib.size(), &layout)) << c.bits << " bits";
        EXPECT_EQ(c.colors, layout.colorCount);
        EXPECT_EQ(c.offset, layout.bitsOffset);
        EXPECT_EQ(dib.size(), layout.bitsOffset + layout.bitsSize) << "rows padded to 4 bytes";
    }
}

TEST(DibLayout, TheRealPicturesSizeAndTheLargestAreAccepted)
{
    for (const auto& [width, height] : {std::pair{250, 50}, {16384, 1}, {1, 16384}}) {
        DibRecipe recipe;
        recipe.width = width;
        recipe.height = height;
        const auto dib = MakeDib(recipe);
        DibLayout layout{};
        ASSERT_TRUE(ReadDibLayout(dib.data(), dib.size(), &layout)) << width << " x " << height;
        EXPECT_EQ(width, layout.width);
        EXPECT_EQ(height, layout.height);
        EXPECT_EQ((width + 3u) / 4 * 4 * height, layout.bitsSize);
    }
}

TEST(DibLayout, PartsThatDoNotFitAreRefused)
{
    const auto good = MakeDib(DibRecipe{});
    DibLayout layout{};
    EXPECT_TRUE(ReadDibLayout(good.data(), good.size(), &layout));
    // One byte short of the last row, of the colour table, of the header.
    EXPECT_FALSE(ReadDibLayout(good.data(), good.size() - 1, &layout));
    EXPECT_FALSE(ReadDibLayout(good.data(), 40 + 1023, &layout));
    EXPECT_FALSE(ReadDibLayout(good.data(), 39, &layout));
    const std::vector<uint8_t> cut(good.begin(), good.begin() + 20);  // read past, AddressSanitizer would say
    EXPECT_FALSE(ReadDibLayout(cut.data(), cut.size(), &layout));
    EXPECT_FALSE(ReadDibLayout(nullptr, good.size(), &layout));
}

TEST(DibLayout, AbsurdOrForeignHeadersAreRefused)
{
    auto refused = [](auto change) {
        DibRecipe recipe;
        change(recipe);
        const auto dib = MakeDib(recipe);
        DibLayout layout{};
        return !ReadDibLayout(dib.data(), dib.size(), &layout);
    };
    EXPECT_TRUE(refused([](DibRecipe& r) { r.colorsUsed = r.tableEntries = 257; })) << "more than 256 colours";
    EXPECT_TRUE(refused([](DibRecipe& r) { r.colorsUsed = 0xFFFFFFFFu; })) << "a colour count that wraps the offset";
    EXPECT_TRUE(refused([](DibRecipe& r) { r.colorsUsed = 0x80000010u; })) << "only the top bit of the top byte";
    EXPECT_TRUE(refused([](DibRecipe& r) { r.colorsUsed = 0x10000u; })) << "a colour count in its third byte";
    for (int32_t width : {0, -1, 16385})
        EXPECT_TRUE(refused([=](DibRecipe& r) { r.width = width; })) << "width " << width;
    for (int32_t height : {0, -2, 16385})
        EXPECT_TRUE(refused([=](DibRecipe& r) { r.height = height; })) << "height " << height;
    for (int bits : {0, 2, 3, 7, 9, 255, 0x108})
        EXPECT_TRUE(refused([=](DibRecipe& r) { r.bitCount = bits; })) << bits << " bits";
    for (uint32_t header : {12u, 108u, 124u})
        EXPECT_TRUE(refused([=](DibRecipe& r) { r.headerSize = header; })) << "header of " << header;
    EXPECT_TRUE(refused([](DibRecipe& r) { r.compression = 1; })) << "run-length encoded";
    EXPECT_TRUE(refused([](DibRecipe& r) { r.planes = 2; }));
    // A width whose rows would overflow 32-bit arithmetic: the limit refuses
    // it before any multiplication (the rows are not there to be made).
    auto huge = MakeDib(DibRecipe{});
    PutU32(huge, 4, 0x7FFFFFFF);
    DibLayout layout{};
    EXPECT_FALSE(ReadDibLayout(huge.data(), huge.size(), &layout)) << "a width of 2^31 - 1";
}
