#include "DialogTemplateFace.h"

#include <cstring>

namespace {

const size_t kExHeaderSize = 26;  // dlgVer .. cy
const size_t kExStyleOffset = 12;
const uint32_t kSetFont = 0x40;   // DS_SETFONT, also part of DS_SHELLFONT
const size_t kFontFieldsSize = 6;  // pointsize, weight, italic, charset

class Reader {
public:
    Reader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    bool Word(size_t at, uint16_t* value) const
    {
        if (at > m_size || m_size - at < 2)
            return false;
        *value = static_cast<uint16_t>(m_data[at] | m_data[at + 1] << 8);
        return true;
    }

    // Moves past a zero-ended UTF-16 string.
    bool SkipString(size_t* at) const
    {
        uint16_t c;
        do {
            if (!Word(*at, &c))
                return false;
            *at += 2;
        } while (c != 0);
        return true;
    }

    // Moves past a field that is absent (0), an ordinal (0xFFFF, then one
    // word) or a string.
    bool SkipNameOrOrdinal(size_t* at) const
    {
        uint16_t first;
        if (!Word(*at, &first))
            return false;
        if (first == 0) {
            *at += 2;
            return true;
        }
        if (first == 0xFFFF) {
            *at += 4;
            return *at <= m_size;
        }
        return SkipString(at);
    }

private:
    const uint8_t* m_data;
    size_t m_size;
};

size_t AlignToDword(size_t offset)
{
    return (offset + 3) & ~static_cast<size_t>(3);
}

// Where the face starts and where the byte after its terminating zero is;
// false for a face longer than kMaxFaceLength.
bool FindFace(const uint8_t* data, size_t size, size_t* begin, size_t* end)
{
    const Reader reader(data, size);
    uint16_t version, signature, styleLow;
    if (!reader.Word(0, &version) || !reader.Word(2, &signature) || version != 1 || signature != 0xFFFF ||
        size < kExHeaderSize || !reader.Word(kExStyleOffset, &styleLow) || !(styleLow & kSetFont))
        return false;
    size_t at = kExHeaderSize;
    if (!reader.SkipNameOrOrdinal(&at) || !reader.SkipNameOrOrdinal(&at) || !reader.SkipString(&at))
        return false;
    at += kFontFieldsSize;
    *begin = at;
    if (!reader.SkipString(&at) || (at - *begin) / 2 > kMaxFaceLength + 1)
        return false;
    *end = at;
    return true;
}

// Characters before the terminating zero; more than kMaxFaceLength when
// there are more.
size_t FaceLength(const char16_t* face)
{
    size_t length = 0;
    while (length <= kMaxFaceLength && face[length] != u'\0')
        ++length;
    return length;
}

}  // namespace

bool ReadTemplateFace(const uint8_t* data, size_t size, char16_t (&face)[kMaxFaceLength + 1])
{
    size_t begin, end;
    if (!FindFace(data, size, &begin, &end))
        return false;
    size_t length = 0;
    for (size_t at = begin; at + 2 < end; at += 2)
        face[length++] = static_cast<char16_t>(data[at] | data[at + 1] << 8);
    face[length] = u'\0';
    return true;
}

size_t ReplaceTemplateFace(const uint8_t* data, size_t size, const char16_t* face, uint8_t* copy, size_t capacity)
{
    size_t begin, end;
    const size_t length = FaceLength(face);
    if (length > kMaxFaceLength || !FindFace(data, size, &begin, &end))
        return 0;
    // A template without items may stop right after its face, unpadded.
    const size_t items = AlignToDword(end) < size ? AlignToDword(end) : size;
    const size_t itemsAt = AlignToDword(begin + 2 * (length + 1));
    if (itemsAt + (size - items) > capacity)
        return 0;

    std::memcpy(copy, data, begin);
    size_t at = begin;
    for (size_t i = 0; i <= length; ++i) {
        copy[at++] = static_cast<uint8_t>(face[i] & 0xFF);
        copy[at++] = static_cast<uint8_t>(face[i] >> 8);
    }
    while (at < itemsAt)
        copy[at++] = 0;
    std::memcpy(copy + itemsAt, data + items, size - items);
    return itemsAt + (size - items);
}
