// The dialogs' Japanese texts in the fonts their controls really use, with
// whatever faces the system has. tests/plain_prefix.sh runs these in plain
// Wine prefixes with one Japanese font package each and tells them, through
// the environment, which face must draw and what size the dialogs must keep.
#include "CAboutDlg.h"
#include "CDrawDlg.h"
#include "FaultInjection.h"
#include "JapaneseFaces.h"
#include "TestWindows.h"
#include "resource.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace {

std::vector<HWND> Tooltips(HWND owner)
{
    return ThreadWindows([owner](HWND hWnd) {
        return ::lstrcmpiW(ClassOf(hWnd).c_str(), TOOLTIPS_CLASSW) == 0 && ::GetWindow(hWnd, GW_OWNER) == owner;
    });
}

// The face the font was asked for, which is the face that draws it when the
// face is installed.
std::wstring RequestedFace(HFONT font)
{
    LOGFONTW logFont{};
    ::GetObjectW(font, sizeof logFont, &logFont);
    return logFont.lfFaceName;
}

HFONT WindowFont(HWND window) { return reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0)); }

void ExpectGlyphs(HWND window, const std::wstring& text)
{
    const HFONT font = WindowFont(window);
    ASSERT_NE(nullptr, font) << Utf8(text);
    EXPECT_EQ("", Utf8(MissingGlyphs(font, text)))
        << "in \"" << Utf8(text) << "\", face " << Utf8(RequestedFace(font));
}

class JapaneseText : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(main.Create(IDD_DRAW_DIALOG, nullptr));
        ASSERT_TRUE(about.Create(IDD_ABOUTBOX, &main));
    }
    void TearDown() override
    {
        if (about.m_hWnd)
            about.DestroyWindow();
        if (main.m_hWnd)
            main.DestroyWindow();
    }

    CDrawDlg main;
    CAboutDlg about;
};

TEST_F(JapaneseText, EveryControlAndTipTextHasAGlyphForEachCharacterInItsFont)
{
    std::set<std::wstring> checked;
    for (HWND dialog : {main.m_hWnd, about.m_hWnd}) {
        for (HWND control : Children(dialog)) {
            const std::wstring text = WindowText(control);
            // An icon's "text" is its resource ordinal, 0xFFFF and a number;
            // the banner draws its pictures, and its text is only its name.
            if (text.empty() || text[0] == 0xFFFF || ::GetDlgCtrlID(control) == IDC_BANNER)
                continue;
            ExpectGlyphs(control, text);
            checked.insert(text);
        }
        for (HWND tooltip : Tooltips(dialog))
            for (const std::wstring& text : TipTexts(tooltip)) {
                ExpectGlyphs(tooltip, text);
                checked.insert(text);
            }
    }
    // The texts that showed empty boxes where no face was mapped.
    EXPECT_EQ(1u, checked.count(L"一気に確定"));
    EXPECT_EQ(1u, checked.count(L"終了"));
    EXPECT_EQ(1u, checked.count(L"(C) 2026 Bamzo to Vuka6 開発チーム"));
    EXPECT_EQ(1u, checked.count(L"左クリックでバージョン情報\n・・・・・+なにか。"));
    EXPECT_EQ(1u, checked.count(L"・・・・・・・"));
}

// Each dialog's one tip breaks only where its text does: it is as tall as a
// tip of as many lines of one letter each. A dialog moved to a monitor of
// another DPI gives its tip the width for that DPI and its own font at it,
// whatever font the tip had before.
TEST_F(JapaneseText, TipsBreakOnlyAtTheirLineBreaksAndFollowTheirDialogToAnotherDpi)
{
    const int dpi = ScreenDpi() == 192 ? 96 : 192;
    for (HWND dialog : {main.m_hWnd, about.m_hWnd}) {
        const std::vector<HWND> tips = Tooltips(dialog);
        ASSERT_EQ(1u, tips.size());
        const std::vector<std::wstring> texts = TipTexts(tips[0]);
        ASSERT_EQ(1u, texts.size());
        std::wstring lines = L"X";
        for (wchar_t c : texts[0])
            lines += c == L'\n' ? L"\nX" : L"";
        EXPECT_EQ(TipHeight(tips[0], lines), TipHeight(tips[0], texts[0])) << Utf8(texts[0]);
        EXPECT_FALSE(::GetWindowLongW(tips[0], GWL_STYLE) & TTS_ALWAYSTIP) << "a tip over another program's window";
        EXPECT_EQ(Scaled(256), ::SendMessageW(tips[0], TTM_GETMAXTIPWIDTH, 0, 0));
        ::SendMessageW(tips[0], WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        RECT suggested = WindowRect(dialog);
        ::SendMessageW(dialog, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        // Where Windows scales a dialog's controls and font (Wine's does nothing).
        EXPECT_TRUE(fault::Defaulted(dialog, WM_DPICHANGED));
        EXPECT_EQ(Scaled(256, dpi), ::SendMessageW(tips[0], TTM_GETMAXTIPWIDTH, 0, 0));
        EXPECT_EQ(Utf8(RequestedFace(WindowFont(dialog))), Utf8(RequestedFace(WindowFont(tips[0]))));
    }
}

// Where the template's face is installed it is the one asked for; the runs
// in plain prefixes name the stand-in they expect.
TEST_F(JapaneseText, TheDialogsUseTheTemplateFaceOrTheExpectedStandIn)
{
    const char* expected = std::getenv("VUKA6_EXPECT_FACE");
    const std::string face = expected ? expected : Utf8(L"ＭＳ Ｐゴシック");
    wchar_t locale[LOCALE_NAME_MAX_LENGTH] = {};
    ::GetUserDefaultLocaleName(locale, LOCALE_NAME_MAX_LENGTH);
    std::printf("locale: %s, code page %u\n", Utf8(locale).c_str(), ::GetACP());
    for (HWND dialog : {main.m_hWnd, about.m_hWnd})
        EXPECT_EQ(face, Utf8(RequestedFace(WindowFont(dialog))));
}

// A face is taken only where it is installed; no prefix of the tests has
// this one, which comes third in the list.
// The dialog's font is lent only to a tip whose own font lacks its glyphs.
TEST_F(JapaneseText, ATipKeepsItsOwnFontWhereItDrawsTheText)
{
    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(&main));
    const HFONT own = WindowFont(tip.m_hWnd);
    CWnd tool;
    ASSERT_TRUE(tool.SubclassWindow(::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 9, 9, main.m_hWnd, nullptr,
                                                      nullptr, nullptr)));
    EXPECT_TRUE(tip.AddTool(&tool, L"Start"));
    EXPECT_EQ(own, WindowFont(tip.m_hWnd));
}

TEST_F(JapaneseText, AMissingFaceIsNotTakenAndGlyphsAreFoundPieceByPiece)
{
    EXPECT_NE(L"MS UI Gothic", std::wstring(InstalledFaceFor(L"MS UI Gothic")));
    // The glyphs are looked up 64 at a time: a text that fills the piece, and
    // one with a private-use character, which no font here draws, after it.
    EXPECT_TRUE(HasGlyphs(WindowFont(main.m_hWnd), std::wstring(64, L'A').c_str()));
    EXPECT_FALSE(HasGlyphs(WindowFont(main.m_hWnd), (std::wstring(64, L'A') + L'\uE000').c_str()));
    EXPECT_FALSE(HasGlyphs(WindowFont(main.m_hWnd), L"\uE000A"));
    // A line feed, which has no glyph, breaks the line and needs none.
    EXPECT_TRUE(HasGlyphs(WindowFont(main.m_hWnd), L"A\nB"));
    // Without a context to ask, no glyph is taken as found.
    fault::Begin(fault::kCreateCompatibleDC, 1);
    EXPECT_FALSE(HasGlyphs(WindowFont(main.m_hWnd), L"A"));
    fault::Watch();
}

// The sizes are printed for the run in the prefix that maps the template's
// face, and compared where a run is given them.
TEST_F(JapaneseText, TheDialogsKeepTheSizeTheyHaveInTheTemplateFace)
{
    const RECT mainRect = WindowRect(main.m_hWnd), aboutRect = WindowRect(about.m_hWnd);
    char sizes[64];
    std::snprintf(sizes, sizeof sizes, "%ldx%ld %ldx%ld", mainRect.right - mainRect.left,
                  mainRect.bottom - mainRect.top, aboutRect.right - aboutRect.left, aboutRect.bottom - aboutRect.top);
    std::printf("dialog sizes: %s\n", sizes);
    const char* expected = std::getenv("VUKA6_EXPECT_SIZES");
    if (!expected)
        GTEST_SKIP() << "no sizes to compare with";
    EXPECT_STREQ(expected, sizes);
}

}  // namespace
