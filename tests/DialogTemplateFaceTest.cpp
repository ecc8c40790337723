// The face named in an extended dialog template, read and replaced on
// templates laid out here by hand, field by field.
#include "DialogTemplateFace.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class TemplateBytes {
public:
    void Word(uint16_t w)
    {
        bytes.push_back(static_cast<uint8_t>(w & 0xFF));
        bytes.push_back(static_cast<uint8_t>(w >> 8));
    }
    void Dword(uint32_t d)
    {
        Word(static_cast<uint16_t>(d & 0xFFFF));
        Word(static_cast<uint16_t>(d >> 16));
    }
    void String(const std::u16string& s)
    {
        for (char16_t c : s)
            Word(c);
        Word(0);
    }
    void Align()
    {
        while (bytes.size() % 4)
            bytes.push_back(0);
    }
    std::vector<uint8_t> bytes;
};

const uint32_t kSetFont = 0x40;
const std::u16string kTemplateFace = u"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF";  // full-width MS P, then Gothic in kana

struct Offsets {
    size_t faceEnd = 0;  // after the face's terminating zero
    size_t itemAt = 0;
};

// A DLGTEMPLATEEX with a menu ordinal, a class name and one static item.
std::vector<uint8_t> ExTemplate(uint32_t style, const std::u16string& face, Offsets* offsets = nullptr)
{
    TemplateBytes t;
    t.Word(1);
    t.Word(0xFFFF);
    t.Dword(0);      // help ID
    t.Dword(0);      // extended style
    t.Dword(style);
    t.Word(1);       // items
    for (int i = 0; i < 4; ++i)
        t.Word(static_cast<uint16_t>(10 * i));
    t.Word(0xFFFF);  // menu by ordinal
    t.Word(7);
    t.String(u"Cls");
    t.String(u"Title");
    if (style & kSetFont) {
        t.Word(9);
        t.Word(400);
        t.bytes.push_back(0);     // italic
        t.bytes.push_back(0x80);  // Shift JIS
        t.String(face);
    }
    const size_t faceEnd = t.bytes.size();
    t.Align();
    if (offsets)
        *offsets = {faceEnd, t.bytes.size()};
    t.Dword(0);  // help ID
    t.Dword(0);  // extended style
    t.Dword(0x50000000);
    for (int i = 0; i < 4; ++i)
        t.Word(5);
    t.Dword(1000);  // control ID
    t.Word(0xFFFF);
    t.Word(0x0082);  // static
    t.String(u"\u78BA\u5B9A");
    t.Word(0);       // no creation data
    return t.bytes;
}

TEST(DialogTemplateFace, ReadsTheFaceAfterMenuClassAndTitle)
{
    const std::vector<uint8_t> bytes = ExTemplate(kSetFont | 0x80000000, kTemplateFace);
    std::u16string face;
    ASSERT_TRUE(ReadTemplateFace(bytes.data(), bytes.size(), &face));
    EXPECT_EQ(kTemplateFace, face);
}

TEST(DialogTemplateFace, ATemplateWithoutAFontOrInTheOldFormatNamesNone)
{
    const std::vector<uint8_t> bytes = ExTemplate(0x80000000, kTemplateFace);
    std::u16string face;
    EXPECT_FALSE(ReadTemplateFace(bytes.data(), bytes.size(), &face));

    // A DLGTEMPLATE starts with its style: DS_SETFONT in the first word, no signature.
    const std::vector<uint8_t> old = {0x40, 0x00, 0x00, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                      0, 0, 0, 0, 0, 0, 9, 0, 'A', 0, 0, 0};
    EXPECT_FALSE(ReadTemplateFace(old.data(), old.size(), &face));
    std::vector<uint8_t> copy;
    EXPECT_FALSE(ReplaceTemplateFace(old.data(), old.size(), u"IPAPGothic", &copy));
}

TEST(DialogTemplateFace, EveryTruncationBeforeTheFaceEndsIsRefused)
{
    Offsets offsets;
    const std::vector<uint8_t> bytes = ExTemplate(kSetFont, kTemplateFace, &offsets);
    const size_t faceEnd = offsets.faceEnd;
    std::u16string face;
    std::vector<uint8_t> copy;
    for (size_t size = 0; size < faceEnd; ++size) {
        const std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<long>(size));
        EXPECT_FALSE(ReadTemplateFace(cut.data(), cut.size(), &face)) << size;
        EXPECT_FALSE(ReplaceTemplateFace(cut.data(), cut.size(), u"X", &copy)) << size;
    }
    EXPECT_TRUE(ReadTemplateFace(bytes.data(), faceEnd, &face));
}

// Each new face length in turn, so that the padding before the item takes
// every one of its sizes.
TEST(DialogTemplateFace, AReplacedFaceLeavesTheItemsWholeAndAligned)
{
    const std::vector<uint8_t> bytes = ExTemplate(kSetFont, kTemplateFace);
    for (const std::u16string& face : {std::u16string(u"A"), std::u16string(u"AB"), std::u16string(u"IPAPGothic"),
                                       std::u16string(u"VL PGothic"), std::u16string(u"Noto Sans CJK JP")}) {
        std::vector<uint8_t> copy;
        ASSERT_TRUE(ReplaceTemplateFace(bytes.data(), bytes.size(), face, &copy));
        EXPECT_EQ(ExTemplate(kSetFont, face), copy) << std::string(face.begin(), face.end());
        std::u16string read;
        ASSERT_TRUE(ReadTemplateFace(copy.data(), copy.size(), &read));
        EXPECT_EQ(face, read);
    }
    std::vector<uint8_t> copy;
    EXPECT_FALSE(ReplaceTemplateFace(bytes.data(), bytes.size(), std::u16string(u"A\0B", 3), &copy));
}

}  // namespace
