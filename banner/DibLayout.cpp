#include "DibLayout.h"

namespace {

constexpr size_t kHeaderSize = 40;

uint32_t ReadU32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

uint16_t ReadU16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

}  // namespace

bool ReadDibLayout(const uint8_t* data, size_t size, DibLayout* layout)
{
    if (!data || !layout || size < kHeaderSize)
        return false;

    const uint32_t headerSize = ReadU32(data);
    const int32_t width = static_cast<int32_t>(ReadU32(data + 4));
    const int32_t height = static_cast<int32_t>(ReadU32(data + 8));
    const uint16_t planes = ReadU16(data + 12);
    const uint16_t bitCount = ReadU16(data + 14);
    const uint32_t compression = ReadU32(data + 16);
    const uint32_t colorsUsed = ReadU32(data + 32);

    // The system reads the colour table at biSize and decodes the bits by
    // biCompression; anything but a plain 40-byte header and BI_RGB would
    // make it read other bytes than the ones checked here.
    if (headerSize != kHeaderSize || planes != 1 || compression != 0)
        return false;
    if (width <= 0 || width > kMaxDibDimension || height <= 0 || height > kMaxDibDimension)
        return false;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        return false;
    if (colorsUsed > kMaxDibColors)
        return false;

    const uint32_t colorCount =
        colorsUsed != 0 ? colorsUsed : static_cast<uint32_t>((uint64_t{1} << bitCount) & 0xFFFF);

    // All in 64 bits: with the limits above nothing can overflow.
    const uint64_t stride = (static_cast<uint64_t>(width) * bitCount + 31) / 32 * 4;
    const uint64_t bitsOffset = kHeaderSize + 4ull * colorCount;
    const uint64_t bitsSize = stride * static_cast<uint64_t>(height);
    if (bitsOffset + bitsSize > size)
        return false;

    layout->width = width;
    layout->height = height;
    layout->bitCount = bitCount;
    layout->colorCount = colorCount;
    layout->colorTableOffset = kHeaderSize;
    layout->bitsOffset = static_cast<size_t>(bitsOffset);
    layout->bitsSize = static_cast<size_t>(bitsSize);
    return true;
}
