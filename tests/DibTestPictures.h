// Packed pictures made byte by byte, for the loader's tests.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

struct DibRecipe {
    int32_t width = 4;
    int32_t height = 2;
    int bitCount = 8;
    uint32_t colorsUsed = 0;
    uint32_t headerSize = 40;
    uint32_t compression = 0;
    uint16_t planes = 1;
    uint32_t tableEntries = 256;  // how many RGBQUADs to write
};

inline void PutU32(std::vector<uint8_t>& out, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// Header, colour table (entry i is blue i, green 255 - i, red i/2,
// reserved 0x40) and zeroed rows padded to 4 bytes.
inline std::vector<uint8_t> MakeDib(const DibRecipe& recipe)
{
    // Rows for |width| x |height|, so that a refused header is refused for
    // what it says, not for missing bytes.
    const size_t width = static_cast<size_t>(recipe.width < 0 ? -static_cast<int64_t>(recipe.width) : recipe.width);
    const size_t height = static_cast<size_t>(recipe.height < 0 ? -static_cast<int64_t>(recipe.height) : recipe.height);
    const size_t stride = (width * recipe.bitCount + 31) / 32 * 4;
    std::vector<uint8_t> out(40 + 4 * recipe.tableEntries + stride * height);
    PutU32(out, 0, recipe.headerSize);
    PutU32(out, 4, static_cast<uint32_t>(recipe.width));
    PutU32(out, 8, static_cast<uint32_t>(recipe.height));
    out[12] = static_cast<uint8_t>(recipe.planes);
    out[14] = static_cast<uint8_t>(recipe.bitCount);
    out[15] = static_cast<uint8_t>(recipe.bitCount >> 8);
    PutU32(out, 16, recipe.compression);
    PutU32(out, 32, recipe.colorsUsed);
    for (uint32_t i = 0; i < recipe.tableEntries; ++i) {
        out[40 + 4 * i] = static_cast<uint8_t>(i);
        out[41 + 4 * i] = static_cast<uint8_t>(255 - i);
        out[42 + 4 * i] = static_cast<uint8_t>(i / 2);
        out[43 + 4 * i] = 0x40;
    }
    return out;
}
