// The banner strip in the main dialog, driven by timer messages: the title
// at rest, the rolling pass and the way back to the title after a stop.
#include "CDrawDlg.h"
#include "FaultInjection.h"
#include "TestWindows.h"
#include "WindowSpies.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

class BannerTest : public MainDialogTest {
protected:
    // The frame shown after each of count banner ticks, which must be the
    // frame the control paints, pixel for pixel, to its edges.
    std::vector<int> Ticks(int count)
    {
        std::vector<int> shown;
        for (int i = 0; i < count; ++i) {
            ::SendMessageW(hWnd, WM_TIMER, ID_TIMER_BANNER, 0);
            shown.push_back(dlg.m_frameIndex);
            EXPECT_EQ(0, PaintedUnlikeFrame(dlg.m_frameIndex)) << "after tick " << i + 1;
        }
        return shown;
    }

    int PaintedUnlikeFrame(int n)
    {
        return ShownUnlike(ReadShown(dlg.m_banner.m_hWnd), ReadPixels(dlg.m_frames[n].bitmap));
    }

    // The banner's place in the dialog, which must be width x height, as
    // every frame is, and inside the dialog with at least the left margin to spare.
    RECT ExpectBannerInside(int width, int height)
    {
        for (const BannerFrame& frame : dlg.m_frames) {
            BITMAP info{};
            EXPECT_TRUE(frame.bitmap.GetBitmap(&info));
            EXPECT_EQ(width, info.bmWidth);
            EXPECT_EQ(height, info.bmHeight);
        }
        const RECT banner = RectInDialog(dlg.m_banner.m_hWnd);
        EXPECT_EQ(width, banner.right - banner.left);
        EXPECT_EQ(height, banner.bottom - banner.top);
        RECT client;
        ::GetClientRect(hWnd, &client);
        EXPECT_LE(banner.right + banner.left, client.right);
        EXPECT_LE(banner.bottom + banner.left, client.bottom);
        return banner;
    }
};

TEST_F(BannerTest, AtRestTheTitleFillsTheControlAtItsTemplatePlace)
{
    EXPECT_EQ(0, dlg.m_frameIndex);
    EXPECT_EQ(0u, dlg.m_bannerTimer);
    RECT expected{8, 72, 0, 0};
    ::MapDialogRect(hWnd, &expected);
    const RECT banner = ExpectBannerInside(Scaled(250), Scaled(50));
    EXPECT_EQ(expected.left, banner.left);
    EXPECT_EQ(expected.top, banner.top);

    EXPECT_EQ(0, PaintedUnlikeFrame(0)) << "pixels unlike the title";
}

TEST_F(BannerTest, AMoveToAnotherDpiScalesTheFramesAndKeepsThemInside)
{
    const int dpi = ScreenDpi() == 192 ? 96 : 192;
    RECT suggested = WindowRect(hWnd);
    ::SendMessageW(hWnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    ExpectBannerInside(250 * dpi / 96, 50 * dpi / 96);
    EXPECT_EQ(0, PaintedUnlikeFrame(0)) << "pixels unlike the title at " << dpi << " DPI";
}

// A dialog a pixel too narrow or too short for its banner grows by that
// pixel, and only that way.
TEST_F(BannerTest, ADialogAPixelTooSmallForTheBannerGrowsByThatPixelAlone)
{
    RECT client, fit = WindowRect(hWnd);
    ::GetClientRect(hWnd, &client);
    const RECT banner = RectInDialog(dlg.m_banner.m_hWnd);
    fit.right -= client.right - (banner.right + banner.left);
    fit.bottom -= client.bottom - (banner.bottom + banner.left);
    for (LONG RECT::*side : {&RECT::right, &RECT::bottom}) {
        RECT suggested = fit;
        --(suggested.*side);
        ::SendMessageW(hWnd, WM_DPICHANGED, MAKEWPARAM(ScreenDpi(), ScreenDpi()), reinterpret_cast<LPARAM>(&suggested));
        const RECT now = WindowRect(hWnd);
        EXPECT_TRUE(::EqualRect(&fit, &now)) << (side == &RECT::right ? "a pixel too narrow" : "a pixel too short");
    }
}

// A stop after so many ticks, and the frames the banner then shows: the
// pass under way runs to its end, then the title, and the timer stops.
struct Stop {
    int ticksBefore;
    std::vector<int> framesAfter;
};

class BannerStop : public BannerTest, public ::testing::WithParamInterface<Stop> {};

TEST_P(BannerStop, FinishesThePassThenShowsTheTitle)
{
    Click(IDC_START);
    Ticks(GetParam().ticksBefore);
    Click(IDC_FIX_ALL);
    EXPECT_EQ(GetParam().framesAfter, Ticks(static_cast<int>(GetParam().framesAfter.size())));
    EXPECT_EQ(0u, dlg.m_bannerTimer);
}

INSTANTIATE_TEST_SUITE_P(AtThreeAtSixBeforeTheFirstTick, BannerStop,
                         ::testing::Values(Stop{3, {4, 5, 6, 0}}, Stop{6, {0}}, Stop{0, {1, 2, 3, 4, 5, 6, 0}}));

TEST_F(BannerTest, StartWhileRunningOutKeepsThePhaseAndRollsOn)
{
    Click(IDC_START);
    EXPECT_EQ((std::vector<int>{1, 2}), Ticks(2));
    Click(IDC_FIX_ALL);
    EXPECT_EQ((std::vector<int>{3}), Ticks(1));
    Click(IDC_START);
    EXPECT_EQ((std::vector<int>{4, 5, 6, 1, 2}), Ticks(5));
    EXPECT_EQ(static_cast<uint32_t>(ID_TIMER_BANNER), dlg.m_bannerTimer);
}

TEST_F(BannerTest, IndicesOutsideTheStripAreRefused)
{
    ASSERT_EQ(1, dlg.ShowBannerFrame(4));
    EXPECT_EQ(0, dlg.ShowBannerFrame(-1));
    EXPECT_EQ(0, dlg.ShowBannerFrame(7));
    EXPECT_EQ(4, dlg.m_frameIndex);
}

TEST_F(BannerTest, WithoutPicturesTheStripStaysBlankAndTheDialogWorks)
{
    dlg.DeleteBannerFrames();
    EXPECT_EQ(0, dlg.ShowBannerFrame(0));
    Click(IDC_START);
    EXPECT_EQ((std::vector<int>{1, 2}), Ticks(2)) << "the index still steps";
    Click(IDC_FIX_ALL);
    EXPECT_FALSE(::IsWindowEnabled(dlg.Item(IDC_FIX_ALL)));
    ::UpdateWindow(hWnd);
}

// An inactive dialog leaves the system palette to the active window; only
// another window's palette change repaints the banner.
TEST_F(BannerTest, AFramesPaletteIsRealizedOnlyWhileTheDialogIsActive)
{
    ::SendMessageW(hWnd, WM_ACTIVATE, WA_INACTIVE, 0);
    const long before = fault::RealizedPalettes();
    dlg.ShowBannerFrame(1);
    EXPECT_EQ(before, fault::RealizedPalettes());
    ::SendMessageW(hWnd, WM_ACTIVATE, WA_ACTIVE, 0);
    dlg.ShowBannerFrame(2);
    EXPECT_LT(before, fault::RealizedPalettes());
    // And when the system offers the active dialog the palette; a realization
    // that changed nothing (no display here has a palette) repaints nothing.
    const long shown = fault::RealizedPalettes();
    ::ValidateRect(dlg.m_banner.m_hWnd, nullptr);
    ::SendMessageW(hWnd, WM_QUERYNEWPALETTE, 0, 0);
    EXPECT_LT(shown, fault::RealizedPalettes());
    EXPECT_FALSE(::GetUpdateRect(dlg.m_banner.m_hWnd, nullptr, FALSE));
    ::SendMessageW(hWnd, WM_PALETTECHANGED, reinterpret_cast<WPARAM>(hWnd), 0);
    EXPECT_FALSE(::GetUpdateRect(dlg.m_banner.m_hWnd, nullptr, FALSE));
    ::SendMessageW(hWnd, WM_PALETTECHANGED, reinterpret_cast<WPARAM>(::GetDesktopWindow()), 0);
    EXPECT_TRUE(::GetUpdateRect(dlg.m_banner.m_hWnd, nullptr, FALSE));
}

// With one call of their loading failing, first, last or between, at the
// dialog's making or at its move to another DPI, the frames are all there,
// at the new DPI's size, or none is (a frame may lack its palette, or its
// bitmap), and nothing made is left over once the dialog goes.
class BannerUnderAFault : public ::testing::TestWithParam<fault::Function> {};

TEST_P(BannerUnderAFault, LoadsAllFramesOrNone)
{
    const int dpi = ScreenDpi() == 192 ? 96 : 192;
    const auto createAndMove = [dpi](TestDrawDlg& dlg) {
        if (!dlg.Create(IDD_DRAW_DIALOG, nullptr))
            return false;
        // The banner paints as it is made and realizes its palette as the
        // dialog comes to the front, with its frames or without. Sent rather
        // than left to the system, which would swallow a crash in them.
        ::SendMessageW(dlg.m_banner.m_hWnd, WM_PAINT, 0, 0);
        ::SendMessageW(dlg.m_hWnd, WM_QUERYNEWPALETTE, 0, 0);
        RECT suggested = WindowRect(dlg.m_hWnd);
        ::SendMessageW(dlg.m_hWnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        return true;
    };
    fault::Begin(GetParam(), 0);
    TestDrawDlg counted;
    ASSERT_TRUE(createAndMove(counted));
    counted.DestroyWindow();
    const long calls = fault::Calls(GetParam());
    for (long index : std::set<long>{1, (calls + 3) / 4, (calls + 1) / 2, (3 * calls + 3) / 4, calls}) {
        fault::Begin(GetParam(), index);
        const std::string at = std::string(fault::kFunctionNames[GetParam()]) + ":" + std::to_string(index);
        TestDrawDlg dlg;
        if (createAndMove(dlg)) {
            const auto loaded = std::count_if(std::begin(dlg.m_frames), std::end(dlg.m_frames), [](const auto& f) {
                return f.bitmap.m_hObject || f.palette.m_hObject;
            });
            EXPECT_TRUE(loaded == 0 || loaded == TestDrawDlg::kFrameCount) << at << ": " << loaded << " frames";
            for (const BannerFrame& frame : dlg.m_frames) {
                BITMAP info{};
                EXPECT_TRUE(!frame.bitmap.GetBitmap(&info) || info.bmWidth == 250 * dpi / 96) << at;
            }
            dlg.DestroyWindow();
        }
        EXPECT_TRUE(fault::StillHeld().empty()) << at << " left something made";
    }
    fault::End();
}

INSTANTIATE_TEST_SUITE_P(Loading, BannerUnderAFault,
                         ::testing::Values(fault::kFindResourceW, fault::kLoadResource, fault::kCreateCompatibleDC,
                                           fault::kCreateCompatibleBitmap, fault::kStretchDIBits,
                                           fault::kCreatePalette),
                         [](const auto& info) { return std::string(fault::kFunctionNames[info.param]); });

}  // namespace
