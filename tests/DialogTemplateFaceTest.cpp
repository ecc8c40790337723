// The face named in an extended dialog template, read and replaced on
// templates laid out here by hand, field by field; and the face that
// stands in for it where it is not installed.
#include "ChooseFace.h"
#include "DialogTemplateFace.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

// Little-endian, as the resource compiler writes templates.
struct TemplateBytes {
    void Word(uint16_t w) { bytes.insert(bytes.end(), {static_cast<uint8_t>(w & 0xFF), static_cast<uint8_t>(w >> 8)}); }
    void Dword(uint32_t d) { Word(static_cast<uint16_t>(d & 0xFFFF)); Word(static_cast<uint16_t>(d >> 16)); }
    void String(const std::u16string& s) { for (char16_t c : s) Word(c); Word(0); }
    void Align() { bytes.resize((bytes.size() + 3) / 4 * 4); }
    std::vector<uint8_t> bytes;
};

const uint32_t kSetFont = 0x40;
const std::u16string kTemplateFace = u"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF";  // full-width MS P, then Gothic in kana

// A DLGTEMPLATEEX with a menu ordinal, a class name and one static item;
// faceEnd, if given, gets the offset after the face's terminating zero.
std::vector<uint8_t> ExTemplate(uint32_t style, const std::u16string& face, size_t* faceEnd = nullptr)
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
    t.String(u"T");  // one letter, so that a menu ordinal misread as a name ends elsewhere
    if (style & kSetFont) {
        t.Word(9);
        t.Word(400);
        t.bytes.push_back(0);     // italic
        t.bytes.push_back(0x80);  // Shift JIS
        t.String(face);
    }
    if (faceEnd)
        *faceEnd = t.bytes.size();
    t.Align();
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

std::u16string Read(const std::vector<uint8_t>& bytes, size_t size)
{
    char16_t face[kMaxFaceLength + 1];
    return ReadTemplateFace(bytes.data(), size, face) ? std::u16string(face) : u"(none)";
}

// The copy naming face, empty when there is none.
std::vector<uint8_t> Replace(const std::vector<uint8_t>& bytes, size_t size, const std::u16string& face)
{
    std::vector<uint8_t> copy(ReplacedTemplateCapacity(size));
    copy.resize(ReplaceTemplateFace(bytes.data(), size, face.c_str(), copy.data(), copy.size()));
    return copy;
}

TEST(DialogTemplateFace, ATemplateWithoutAFontOrInTheOldFormatNamesNone)
{
    const std::vector<uint8_t> bytes = ExTemplate(0x80000000, kTemplateFace);
    EXPECT_EQ(u"(none)", Read(bytes, bytes.size()));

    // A DLGTEMPLATE starts with its style: DS_SETFONT in the first word, no signature.
    const std::vector<uint8_t> old = {0x40, 0x00, 0x00, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                      0, 0, 0, 0, 0, 0, 9, 0, 'A', 0, 0, 0};
    EXPECT_EQ(u"(none)", Read(old, old.size()));
    EXPECT_TRUE(Replace(old, old.size(), u"IPAPGothic").empty());

    // The signature of an extended template with a version it does not have.
    std::vector<uint8_t> other = ExTemplate(kSetFont, kTemplateFace);
    other[0] = 2;
    EXPECT_EQ(u"(none)", Read(other, other.size()));
}

// The face comes after the menu, the class and the title.
TEST(DialogTemplateFace, EveryTruncationBeforeTheFaceEndsIsRefused)
{
    size_t faceEnd = 0;
    const std::vector<uint8_t> bytes = ExTemplate(kSetFont | 0x80000000, kTemplateFace, &faceEnd);
    for (size_t size = 0; size < faceEnd; ++size) {
        EXPECT_EQ(u"(none)", Read(bytes, size)) << size;
        EXPECT_TRUE(Replace(bytes, size, u"X").empty()) << size;
    }
    EXPECT_EQ(kTemplateFace, Read(bytes, faceEnd));
}

// Each new face length in turn, so that the padding before the item takes
// every one of its sizes, up to the longest face a font can name.
TEST(DialogTemplateFace, AReplacedFaceLeavesTheItemsWholeAndAligned)
{
    const std::vector<uint8_t> bytes = ExTemplate(kSetFont, kTemplateFace);
    const std::u16string longest(kMaxFaceLength, u'W');
    for (const std::u16string& face : {std::u16string(u"A"), std::u16string(u"AB"), std::u16string(u"IPAPGothic"),
                                       std::u16string(u"VL PGothic"), std::u16string(u"Noto Sans CJK JP"), longest}) {
        const std::vector<uint8_t> copy = Replace(bytes, bytes.size(), face);
        EXPECT_EQ(ExTemplate(kSetFont, face), copy) << std::string(face.begin(), face.end());
        EXPECT_EQ(face, Read(copy, copy.size()));
    }
    // Longer faces are neither read nor written; a copy that does not fit is not made.
    const std::vector<uint8_t> tooLong = ExTemplate(kSetFont, longest + u"W");
    EXPECT_EQ(u"(none)", Read(tooLong, tooLong.size()));
    EXPECT_TRUE(Replace(bytes, bytes.size(), longest + u"W").empty());
    std::vector<uint8_t> small(bytes.size());
    EXPECT_EQ(0u, ReplaceTemplateFace(bytes.data(), bytes.size(), u"Noto Sans CJK JP", small.data(), small.size()));
    // One that fits exactly is.
    std::vector<uint8_t> exact(ExTemplate(kSetFont, u"Noto Sans CJK JP").size());
    EXPECT_EQ(exact.size(),
              ReplaceTemplateFace(bytes.data(), bytes.size(), u"Noto Sans CJK JP", exact.data(), exact.size()));
}

struct Installed : InstalledFaces {
    explicit Installed(std::set<std::wstring> faces) : faces(std::move(faces)) {}
    bool Has(const wchar_t* face) const override { return faces.count(face) != 0; }
    std::set<std::wstring> faces;
};

// Which face each of the program's two faces gets, with these installed.
TEST(ChooseFace, WindowsOwnFacesComeBeforeTheLinuxOnes)
{
    const wchar_t* const proportional = L"ＭＳ Ｐゴシック";
    const wchar_t* const fixedPitch = L"ＭＳ ゴシック";
    struct Case {
        std::set<std::wstring> installed;
        std::wstring forProportional, forFixedPitch;
    };
    const Case cases[] = {
        {{L"ＭＳ Ｐゴシック", L"ＭＳ ゴシック", L"Yu Gothic UI"}, L"ＭＳ Ｐゴシック", L"ＭＳ ゴシック"},
        {{L"MS PGothic", L"MS Gothic", L"Meiryo UI"}, L"MS PGothic", L"MS Gothic"},
        {{L"Yu Gothic UI", L"Meiryo UI", L"MS UI Gothic", L"BIZ UDGothic", L"IPAPGothic", L"IPAGothic"},
         L"Yu Gothic UI", L"BIZ UDGothic"},
        {{L"MS UI Gothic", L"Meiryo UI", L"VL PGothic", L"VL Gothic"}, L"Meiryo UI", L"VL Gothic"},
        {{L"MS UI Gothic", L"IPAPGothic", L"TakaoGothic"}, L"MS UI Gothic", L"TakaoGothic"},
        {{L"Noto Sans CJK JP", L"VL PGothic", L"Noto Sans Mono CJK JP"}, L"VL PGothic", L"Noto Sans Mono CJK JP"},
        // None at all: the face asked for, left to the system's font mapper.
        {{L"Tahoma"}, proportional, fixedPitch},
    };
    for (const Case& c : cases) {
        const Installed installed(c.installed);
        EXPECT_EQ(c.forProportional, ChooseFace(proportional, installed));
        EXPECT_EQ(c.forFixedPitch, ChooseFace(fixedPitch, installed));
    }
    // A face of neither list stands for itself, installed or not.
    EXPECT_EQ(std::wstring(L"Tahoma"), ChooseFace(L"Tahoma", Installed({L"IPAPGothic"})));
    // Names are told apart without regard to case, as GDI does.
    EXPECT_EQ(std::wstring(L"Yu Gothic UI"), ChooseFace(L"ms pgothic", Installed({L"Yu Gothic UI"})));
}

}  // namespace
