// The speech balloon's timeline, driven by timer and mouse messages rather
// than by waiting, with the remarks it picks checked against a model of the
// shared generator.
#include "CBalloonDlg.h"
#include "DrawModel.h"
#include "FaultInjection.h"
#include "RandomSource.h"
#include "RemarkModel.h"
#include "TestWindows.h"
#include "WindowSpies.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class BalloonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RandomSource::Seed(seed);
        balloon = new (std::nothrow) TestBalloon(&owner);
        ASSERT_TRUE(balloon->Create());
        hWnd = balloon->m_hWnd;
    }
    void TearDown() override
    {
        owner.DestroyWindow();
        EXPECT_EQ(0, TestBalloon::s_live) << "the balloon goes with its owner and deletes itself";
    }

    void Tick(UINT_PTR id) { ::SendMessageW(hWnd, WM_TIMER, id, 0); }
    std::wstring Text() const { return std::wstring(balloon->m_text); }
    bool Visible() const { return ::IsWindowVisible(hWnd) != FALSE; }

    // The mascot stand-in, at the tabled mascot rectangle (116, 126)-(206, 206).
    OwnerWindow owner{116, 126, 90, 80};
    const uint32_t seed = 4242;
    ModelLcg model{seed};
    TestBalloon* balloon = nullptr;
    HWND hWnd = nullptr;
};

TEST_F(BalloonTest, GreetsAtOnceInTheRemarkFontWithBothTimersRunning)
{
    EXPECT_TRUE(Visible());
    EXPECT_EQ(LoadedString(IDS_GREETING), Text());
    LOGFONTW font{};
    ASSERT_TRUE(::GetObjectW(balloon->m_font.m_hObject, sizeof font, &font));
    EXPECT_EQ(Scaled(12), std::abs(font.lfHeight)) << "the remark font's height";
    EXPECT_EQ(7000u, fault::TimerPeriod(hWnd, ID_TIMER_BALLOON_HIDE));
    EXPECT_EQ(10000u, fault::TimerPeriod(hWnd, ID_TIMER_BALLOON_CHATTER));
}

TEST_F(BalloonTest, HidesAfterItsTimeAndChattersOnlyWhileIdle)
{
    Tick(ID_TIMER_BALLOON_CHATTER);  // the greeting still shows: skipped
    EXPECT_EQ(LoadedString(IDS_GREETING), Text());

    Tick(ID_TIMER_BALLOON_HIDE);
    EXPECT_FALSE(Visible());
    EXPECT_EQ(0u, balloon->m_hideTimer);
    EXPECT_EQ(LoadedString(IDS_GREETING), Text()) << "hiding keeps the text";

    for (int chatter = 0; chatter < 8; ++chatter) {
        Tick(ID_TIMER_BALLOON_CHATTER);
        const unsigned idle = ModelIdleRemark(static_cast<unsigned>(model.Next() * 57 >> 15));
        EXPECT_EQ(LoadedString(idle), Text()) << "chatter " << chatter;
        EXPECT_TRUE(Visible());
        EXPECT_NE(0u, balloon->m_hideTimer);
        Tick(ID_TIMER_BALLOON_HIDE);
    }

    // The skipped tick took no roll from the generator.
    EXPECT_EQ(model.Next(), RandomSource::Next());
}

TEST_F(BalloonTest, ClickRemarksReplaceWhateverShowsAndUseRollsOfFiftyOne)
{
    for (int click = 0; click < 5; ++click) {
        balloon->SayOnClick(0);
        const unsigned expected = ModelClickRemark(static_cast<unsigned>(model.Next() * 51 >> 15));
        EXPECT_EQ(LoadedString(expected), Text());
        EXPECT_TRUE(Visible());
    }
    balloon->SayOnClick(IDS_REMARK_FIRST + 3);
    EXPECT_EQ(LoadedString(IDS_REMARK_FIRST + 3), Text()) << "a given ID is used as it is";
    EXPECT_EQ(model.Next(), RandomSource::Next());
}

TEST_F(BalloonTest, AClickOnTheBalloonSilencesTheChatterForGood)
{
    ::SendMessageW(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 40));
    EXPECT_FALSE(Visible());
    EXPECT_EQ(0u, balloon->m_chatterTimer);
    EXPECT_NE(0u, balloon->m_hideTimer) << "the hide stays pending";

    Tick(ID_TIMER_BALLOON_HIDE);
    EXPECT_FALSE(Visible());
    EXPECT_EQ(0u, balloon->m_hideTimer);

    // Clicks on the mascot still make it speak.
    balloon->SayOnClick(0);
    EXPECT_TRUE(Visible());
}

TEST_F(BalloonTest, AnIdWithoutAStringShowsTheEmptyBubble)
{
    balloon->Say(9999);
    EXPECT_TRUE(Text().empty());
    EXPECT_TRUE(Visible());
    ::UpdateWindow(hWnd);
}

TEST_F(BalloonTest, EnterAndEscapeDoNotCloseIt)
{
    ::SendMessageW(hWnd, WM_COMMAND, IDOK, 0);
    ::SendMessageW(hWnd, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(::IsWindow(hWnd));
    EXPECT_EQ(1, TestBalloon::s_live);
}

}  // namespace
