// Where the parts of a packed device-independent bitmap lie, as the
// program's pictures are stored among its resources: a 40-byte
// BITMAPINFOHEADER, the colour table, then the pixel rows.
//
// The header is not trusted: ReadDibLayout accepts a picture only when the
// header, the colour table and every pixel row lie inside the bytes given.
#pragma once

#include <cstddef>
#include <cstdint>

struct DibLayout {
    int32_t width;
    int32_t height;
    int bitCount;
    // biClrUsed when non-zero, else 2^biBitCount truncated to 16 bits: 0
    // for pictures of more than 8 bits, which then get no palette.
    uint32_t colorCount;
    size_t colorTableOffset;  // always 40, whatever biSize would say
    size_t bitsOffset;        // 40 + 4 * colorCount
    size_t bitsSize;          // the pixel rows, each padded to 4 bytes
};

// The largest width or height accepted; far beyond any picture of ours.
constexpr int32_t kMaxDibDimension = 16384;
constexpr uint32_t kMaxDibColors = 256;

// False for bytes that are not an uncompressed, bottom-up picture with a
// 40-byte header whose parts all fit in size bytes.
bool ReadDibLayout(const uint8_t* data, size_t size, DibLayout* layout);
