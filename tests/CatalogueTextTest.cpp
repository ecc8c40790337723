// The remark texts as the program loads them from its string table, and
// whether each fits the balloon's text area in the font the balloon window
// really uses, at the display's scale, with a glyph for every character.
#include "CBalloonDlg.h"
#include "CDC.h"
#include "CGdiObject.h"
#include "CString.h"
#include "RemarkCatalogue.h"
#include "ScopedSelection.h"
#include "TestWindows.h"
#include "WindowSpies.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

namespace {

std::set<unsigned> TextsTheProgramLoads()
{
    std::set<unsigned> ids = {IDS_GREETING, IDS_FAREWELL};
    for (unsigned n = 0; n <= 56; ++n) {
        ids.insert(PickClickRemark(n));
        ids.insert(PickIdleRemark(n));
    }
    return ids;
}

// The font a balloon made its own, whichever face it found.
class CatalogueTextFont : public ::testing::Test {
protected:
    void SetUp() override
    {
        CBalloonDlg* balloon = nullptr;
        CreateModeless(balloon, &owner);
        ASSERT_NE(nullptr, balloon);
        font = (balloon->*&TestBalloon::m_font).GetSafeHandle();
        ASSERT_TRUE(font);
        ASSERT_TRUE(dc.GetSafeHdc());
    }
    // The balloon goes with its owner.
    void TearDown() override { owner.DestroyWindow(); }

    OwnerWindow owner{116, 126, 90, 80};
    HGDIOBJ font = nullptr;
    CCompatibleDC dc{nullptr};
};

TEST_F(CatalogueTextFont, IsAJapaneseFixedPitchFace)
{
    ScopedSelection selection(dc, font);
    wchar_t face[LF_FACESIZE] = {};
    ::GetTextFaceW(dc.m_hDC, LF_FACESIZE, face);
    TEXTMETRICW tm{};
    ASSERT_TRUE(::GetTextMetricsW(dc.m_hDC, &tm));
    std::printf("remark font: face \"%s\", charset %d, height %ld\n", Utf8(face).c_str(), tm.tmCharSet, tm.tmHeight);

    // Level, extra light, as asked for.
    LOGFONTW asked{};
    ASSERT_TRUE(::GetObjectW(font, sizeof asked, &asked));
    EXPECT_EQ(0, asked.lfEscapement);
    EXPECT_EQ(0, asked.lfOrientation);
    EXPECT_EQ(FW_EXTRALIGHT, asked.lfWeight);
    EXPECT_EQ(SHIFTJIS_CHARSET, tm.tmCharSet);
    // The flag is named backwards: set means variable pitch.
    EXPECT_EQ(0, tm.tmPitchAndFamily & TMPF_FIXED_PITCH);
    EXPECT_EQ(12, tm.tmHeight);

    // The layout counts a full-width character as two half-width columns.
    SIZE half{}, full{}, kanji{};
    ::GetTextExtentPoint32W(dc.m_hDC, L"A", 1, &half);
    ::GetTextExtentPoint32W(dc.m_hDC, L"\u3042", 1, &full);  // hiragana a
    ::GetTextExtentPoint32W(dc.m_hDC, L"\u8ee2", 1, &kanji);  // a kanji
    EXPECT_EQ(6, half.cx);
    EXPECT_EQ(2 * half.cx, full.cx);
    EXPECT_EQ(2 * half.cx, kanji.cx);
}

TEST_F(CatalogueTextFont, EveryTextFitsTheBalloonWithAGlyphForEachCharacter)
{
    // The text area inside the balloon: (35,12)-(274,86) at 96 DPI, its
    // edges each scaled on their own.
    const int kAreaWidth = Scaled(284) - Scaled(10) - Scaled(35);
    const int kAreaHeight = Scaled(96) - Scaled(10) - Scaled(12);
    ScopedSelection selection(dc, font);
    for (unsigned id : TextsTheProgramLoads()) {
        CString text;
        ASSERT_TRUE(text.LoadString(id)) << id;
        RECT rect = {0, 0, kAreaWidth, kAreaHeight};
        dc.DrawText(text, -1, &rect, DT_CALCRECT);  // the balloon draws with flags 0
        EXPECT_LE(rect.right - rect.left, kAreaWidth) << id;
        EXPECT_LE(rect.bottom - rect.top, kAreaHeight) << id;
        EXPECT_GT(rect.bottom - rect.top, 0) << id;
        EXPECT_EQ(L"", MissingGlyphs(static_cast<HFONT>(font), std::wstring(text))) << id;
    }
}

}  // namespace
