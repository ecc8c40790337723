#include "DialogTemplateFace.h"

#include <new>

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

// Where the face starts and where the byte after its terminating zero is.
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
    if (!reader.SkipString(&at))
        return false;
    *end = at;
    return true;
}

}  // namespace

bool ReadTemplateFace(const uint8_t* data, size_t size, std::u16string* face)
{
    size_t begin, end;
    if (!FindFace(data, size, &begin, &end))
        return false;
    face->clear();
    try {
        for (size_t at = begin; at + 2 < end; at += 2)
            face->push_back(static_cast<char16_t>(data[at] | data[at + 1] << 8));
    } catch (const std::bad_alloc&) {
        face->clear();
        return false;
    }
    return true;
}

bool ReplaceTemplateFace(const uint8_t* data, size_t size, const std::u16string& face, std::vector<uint8_t>* copy)
{
    size_t begin, end;
    if (face.find(u'\0') != std::u16string::npos || !FindFace(data, size, &begin, &end))
        return false;
    // A template without items may stop right after its face, unpadded.
    const size_t items = AlignToDword(end) < size ? AlignToDword(end) : size;

    try {
        copy->assign(data, data + begin);
        for (char16_t c : face) {
            copy->push_back(static_cast<uint8_t>(c & 0xFF));
            copy->push_back(static_cast<uint8_t>(c >> 8));
        }
        copy->push_back(0);
        copy->push_back(0);
        copy->resize(AlignToDword(copy->size()), 0);
        copy->insert(copy->end(), data + items, data + size);
    } catch (const std::bad_alloc&) {
        copy->clear();
        return false;
    }
    return true;
}
