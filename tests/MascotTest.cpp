// The mascot window: where it stands, how its balloon follows, what a click
// and the farewell do, and that its pictures go with its window.
#include "CBalloonDlg.h"
#include "CMascotDlg.h"
#include "TestWindows.h"
#include "WindowSpies.h"
#include "resource.h"

#include <gtest/gtest.h>

namespace {

int g_liveMascots = 0;

class TestMascot : public CMascotDlg {
public:
    explicit TestMascot(CWnd* owner) : CMascotDlg(owner) { ++g_liveMascots; }
    ~TestMascot() override { --g_liveMascots; }
    using CMascotDlg::m_image;
    using CMascotDlg::m_palette;
    using CMascotDlg::m_pBalloon;
    using CMascotDlg::m_shape;
};


std::wstring BalloonText(CBalloonDlg* balloon)
{
    return std::wstring(balloon->*&BalloonSpy::m_text);
}

TEST(Mascot, StandsOnItsOwnersTopEdgeWithTheBalloonBeside)
{
    OwnerWindow owner(100, 200, 300, 130);
    auto* mascot = new TestMascot(&owner);
    ASSERT_TRUE(mascot->Create());

    const RECT rect = WindowRect(mascot->m_hWnd);
    EXPECT_EQ(116, rect.left);
    EXPECT_EQ(126, rect.top);
    EXPECT_EQ(206, rect.right);
    EXPECT_EQ(206, rect.bottom);
    EXPECT_TRUE(::IsWindowVisible(mascot->m_hWnd));
    EXPECT_EQ(owner.m_hWnd, ::GetWindow(mascot->m_hWnd, GW_OWNER));

    ASSERT_NE(nullptr, mascot->m_pBalloon);
    const HWND balloon = mascot->m_pBalloon->m_hWnd;
    const RECT beside = WindowRect(balloon);
    EXPECT_EQ(206, beside.left);
    EXPECT_EQ(110, beside.top);
    EXPECT_EQ(490, beside.right);
    EXPECT_EQ(206, beside.bottom);
    EXPECT_EQ(mascot->m_hWnd, ::GetWindow(balloon, GW_OWNER));

    // The owner moves; the About box would now call Place with the sentinel.
    ::SetWindowPos(owner.m_hWnd, nullptr, 300, 400, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    mascot->Place(CMascotDlg::kBesideOwner, CMascotDlg::kBesideOwner);
    EXPECT_EQ(316, WindowRect(mascot->m_hWnd).left);
    EXPECT_EQ(326, WindowRect(mascot->m_hWnd).top);
    EXPECT_EQ(406, WindowRect(balloon).left);
    EXPECT_EQ(WindowRect(mascot->m_hWnd).bottom, WindowRect(balloon).bottom);

    // Only the pair asks for the computed place.
    mascot->Place(CMascotDlg::kBesideOwner, 5);
    EXPECT_EQ(32000, WindowRect(mascot->m_hWnd).left);
    EXPECT_EQ(5, WindowRect(mascot->m_hWnd).top);

    owner.DestroyWindow();
    EXPECT_EQ(0, g_liveMascots);
}

TEST(Mascot, WithoutAnOwnerItStandsAtAFixedPlace)
{
    auto* mascot = new TestMascot(nullptr);
    ASSERT_TRUE(mascot->Create());
    const RECT rect = WindowRect(mascot->m_hWnd);
    EXPECT_EQ(320, rect.left);
    EXPECT_EQ(240, rect.top);
    EXPECT_EQ(90, rect.right - rect.left);
    EXPECT_EQ(80, rect.bottom - rect.top);
    ::DestroyWindow(mascot->m_hWnd);
    EXPECT_EQ(0, g_liveMascots);
}

TEST(Mascot, AClickMakesTheBalloonSpeakAClickRemark)
{
    OwnerWindow owner(100, 200, 300, 130);
    auto* mascot = new TestMascot(&owner);
    ASSERT_TRUE(mascot->Create());
    CBalloonDlg* balloon = mascot->m_pBalloon;
    ASSERT_NE(nullptr, balloon);
    ::ShowWindow(balloon->m_hWnd, SW_HIDE);

    ::SendMessageW(mascot->m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(45, 40));
    EXPECT_TRUE(::IsWindowVisible(balloon->m_hWnd));
    const std::wstring said = BalloonText(balloon);
    EXPECT_NE(LoadedString(IDS_GREETING), said);
    bool isClickRemark = said == LoadedString(IDS_CREDIT);
    for (UINT id = IDS_REMARK_FIRST; id <= IDS_REMARK_LAST; ++id)
        isClickRemark = isClickRemark || said == LoadedString(id);
    EXPECT_TRUE(isClickRemark);
    EXPECT_EQ(balloon, mascot->m_pBalloon) << "the same balloon answers";

    ::SendMessageW(mascot->m_hWnd, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(::IsWindow(mascot->m_hWnd)) << "Escape does not close the mascot";
    owner.DestroyWindow();
}

TEST(Mascot, TheFarewellHoldsTheScreenFor2048Milliseconds)
{
    OwnerWindow owner(100, 200, 300, 130);
    auto* mascot = new TestMascot(&owner);
    ASSERT_TRUE(mascot->Create());
    CBalloonDlg* balloon = mascot->m_pBalloon;
    ::SendMessageW(balloon->m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 40));
    ASSERT_FALSE(::IsWindowVisible(balloon->m_hWnd));

    // Whatever waits in the queue waits out the pause too.
    ::PostMessageW(owner.m_hWnd, WM_NULL, 0, 0);
    const LARGE_INTEGER start = Now();
    mascot->SayFarewell();
    const double elapsed = MillisecondsSince(start);
    MSG waiting;
    EXPECT_TRUE(::PeekMessageW(&waiting, owner.m_hWnd, WM_NULL, WM_NULL, PM_REMOVE));
    // Sleep may wake a timer tick early; 2048 must still tell from 2000.
    EXPECT_GE(elapsed, 2030.0);
    EXPECT_LT(elapsed, 4000.0);
    EXPECT_TRUE(::IsWindowVisible(balloon->m_hWnd)) << "shown even after a dismissal";
    EXPECT_EQ(LoadedString(IDS_FAREWELL), BalloonText(balloon));
    owner.DestroyWindow();
}

TEST(Mascot, ItsPicturePaletteAndShapeGoWithItsWindow)
{
    OwnerWindow owner(100, 200, 300, 130);
    auto* mascot = new TestMascot(&owner);
    ASSERT_TRUE(mascot->Create());
    const HGDIOBJ image = mascot->m_image.m_hObject;
    const HGDIOBJ palette = mascot->m_palette.m_hObject;
    EXPECT_EQ(static_cast<DWORD>(OBJ_BITMAP), ::GetObjectType(image));
    EXPECT_EQ(static_cast<DWORD>(OBJ_PAL), ::GetObjectType(palette));
    EXPECT_EQ(nullptr, mascot->m_shape.m_hObject) << "handed to the window";
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(COMPLEXREGION, ::GetWindowRgn(mascot->m_hWnd, region));
    ::DeleteObject(region);

    owner.DestroyWindow();
    EXPECT_EQ(0, g_liveMascots);
    EXPECT_EQ(0u, ::GetObjectType(image));
    EXPECT_EQ(0u, ::GetObjectType(palette));
}

}  // namespace
