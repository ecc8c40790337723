// The mascot window: where it stands, how its balloon follows, what a click
// and the farewell do, and that its pictures go with its window.
#include "CBalloonDlg.h"
#include "CMascotDlg.h"
#include "DrawModel.h"
#include "FaultInjection.h"
#include "LoadPaletteBitmap.h"
#include "RandomSource.h"
#include "RemarkModel.h"
#include "ScopedSelection.h"
#include "TestWindows.h"
#include "WindowSpies.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>

namespace {

std::wstring BalloonText(CBalloonDlg* balloon) { return std::wstring(balloon->*&TestBalloon::m_text); }

// A window wearing its picture at width x height: the window that size, cut
// exactly to the picture's non-key pixels, and no colour in the picture that
// the design lacks (a blend of the key with its neighbours would leave a
// fringe round the outline). Inside its outline the window shows the
// picture, but for the balloon's text area.
void ExpectWornPicture(HWND hWnd, const CBitmap& image, const Pixels& design, int width, int height,
                       RECT text = {})
{
    const Pixels p = ReadPixels(image);
    ASSERT_EQ(width, p.width);
    ASSERT_EQ(height, p.height);
    const RECT rect = WindowRect(hWnd);
    EXPECT_EQ(width, rect.right - rect.left);
    EXPECT_EQ(height, rect.bottom - rect.top);

    CRgn outline;
    ASSERT_TRUE(outline.CreateRectRgn(0, 0, 0, 0));
    ASSERT_EQ(COMPLEXREGION, ::GetWindowRgn(hWnd, outline));
    RECT box{};
    ::GetRgnBox(outline, &box);
    EXPECT_TRUE(box.left >= 0 && box.top >= 0 && box.right <= width && box.bottom <= height) << "beyond the picture";
    EXPECT_EQ(0, ShownUnlike(ReadShown(hWnd), p, outline, text)) << "pixels unlike the picture";
    // Inside the outline no key colour, outside nothing else; at a whole
    // multiple of the design's size, pixel for pixel the design's.
    int unlike = 0, unscaled = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            unlike += (::PtInRegion(outline, x, y) != FALSE) != (p.At(x, y) != p.At(0, 0));
            unscaled += width % design.width == 0 &&
                        p.At(x, y) != design.At(x * design.width / width, y * design.height / height);
        }
    EXPECT_EQ(0, unlike) << "pixels where outline and picture disagree";
    EXPECT_EQ(0, unscaled) << "pixels unlike the design's at " << width << " x " << height;
    const std::set<uint32_t> colours(design.rgb.begin(), design.rgb.end());
    const long strangers = std::count_if(p.rgb.begin(), p.rgb.end(), [&](uint32_t c) { return !colours.count(c); });
    EXPECT_EQ(0, strangers) << "pixels of colours the design does not have";
}

// What a balloon should show: its picture, and its text in its font from
// (35, 12) to 10 short of the right and bottom edges, at its scale.
Pixels SaidAsDrawnHere(CBalloonDlg* balloon)
{
    const CBitmap& image = balloon->*&TestBalloon::m_image;
    BITMAP info{};
    image.GetBitmap(&info);
    ScreenDC screen;
    CBitmap said;
    said.Attach(::CreateCompatibleBitmap(screen.m_hDC, info.bmWidth, info.bmHeight));
    {
        CCompatibleDC picture(&screen), dc(&screen);
        ScopedSelection from(picture, image.m_hObject), to(dc, said.m_hObject);
        ScopedSelection font(dc, (balloon->*&TestBalloon::m_font).m_hObject);
        ::BitBlt(dc.m_hDC, 0, 0, info.bmWidth, info.bmHeight, picture.m_hDC, 0, 0, SRCCOPY);
        RECT text{Scaled(35), Scaled(12), info.bmWidth - Scaled(10), info.bmHeight - Scaled(10)};
        ::SetBkMode(dc.m_hDC, TRANSPARENT);
        ::DrawTextW(dc.m_hDC, BalloonText(balloon).c_str(), -1, &text, 0);
    }
    return ReadPixels(said);
}

// The owner at (100, 200), 300 x 130, with its mascot and balloon. Each
// test ends with the owner's destruction, which takes both with it.
class Mascot : public ::testing::Test {
protected:
    void SetUp() override
    {
        mascot = new (std::nothrow) TestMascot(&owner);
        ASSERT_TRUE(mascot && mascot->Create());
        balloon = mascot->m_pBalloon;
        ASSERT_NE(nullptr, balloon);
    }
    void TearDown() override
    {
        owner.DestroyWindow();
        EXPECT_EQ(0, TestMascot::s_live);
    }

    OwnerWindow owner{100, 200, 300, 130};
    TestMascot* mascot = nullptr;
    CBalloonDlg* balloon = nullptr;
};

// At 96 DPI the tabled places: the mascot (116, 126)-(206, 206), the
// balloon (206, 110)-(490, 206); sizes and offsets grow with the DPI.
// Without an owner, the mascot stands at (320, 240).
TEST_F(Mascot, StandsOnItsOwnersTopEdgeWithTheBalloonBesideOrAloneAtAFixedPlace)
{
    const RECT rect = WindowRect(mascot->m_hWnd);
    EXPECT_EQ(100 + Scaled(16), rect.left);
    EXPECT_EQ(200 + Scaled(6) - Scaled(80), rect.top);
    EXPECT_EQ(rect.left + Scaled(90), rect.right);
    EXPECT_EQ(200 + Scaled(6), rect.bottom);
    EXPECT_TRUE(::IsWindowVisible(mascot->m_hWnd));
    EXPECT_FALSE(::GetUpdateRect(mascot->m_hWnd, nullptr, FALSE)) << "not painted as it appeared";
    EXPECT_EQ(owner.m_hWnd, ::GetWindow(mascot->m_hWnd, GW_OWNER));

    const RECT beside = WindowRect(balloon->m_hWnd);
    EXPECT_EQ(rect.right, beside.left);
    EXPECT_EQ(rect.bottom - Scaled(96), beside.top);
    EXPECT_EQ(rect.right + Scaled(284), beside.right);
    EXPECT_EQ(rect.bottom, beside.bottom);
    EXPECT_EQ(mascot->m_hWnd, ::GetWindow(balloon->m_hWnd, GW_OWNER));

    // The owner moves; the About box would now call Place with the sentinel.
    ::SetWindowPos(owner.m_hWnd, nullptr, 300, 400, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    mascot->Place(CMascotDlg::kBesideOwner, CMascotDlg::kBesideOwner);
    EXPECT_EQ(300 + Scaled(16), WindowRect(mascot->m_hWnd).left);
    EXPECT_EQ(400 + Scaled(6) - Scaled(80), WindowRect(mascot->m_hWnd).top);
    EXPECT_EQ(WindowRect(mascot->m_hWnd).right, WindowRect(balloon->m_hWnd).left);
    EXPECT_EQ(WindowRect(mascot->m_hWnd).bottom, WindowRect(balloon->m_hWnd).bottom);

    // Only the pair asks for the computed place.
    mascot->Place(CMascotDlg::kBesideOwner, 5);
    EXPECT_EQ(32000, WindowRect(mascot->m_hWnd).left);
    EXPECT_EQ(5, WindowRect(mascot->m_hWnd).top);

    auto* alone = new (std::nothrow) TestMascot(nullptr);
    ASSERT_TRUE(alone && alone->Create());
    const RECT fixed = WindowRect(alone->m_hWnd);
    EXPECT_TRUE(fixed.left == 320 && fixed.top == 240) << fixed.left << ", " << fixed.top;
    ::DestroyWindow(alone->m_hWnd);
}

TEST_F(Mascot, BothWindowsWearTheirPicturesAtTheirDpiAndAgainWhenItChanges)
{
    ScreenDC screen;
    CBitmap mascotDesign, balloonDesign;
    CPalette palette;
    ASSERT_EQ(1, LoadPaletteBitmap(&mascotDesign, &palette, &screen, IDB_MASCOT));
    ASSERT_TRUE(balloonDesign.LoadBitmap(IDB_BALLOON));
    const Pixels mascotPixels = ReadPixels(mascotDesign);
    const Pixels balloonPixels = ReadPixels(balloonDesign);

    ExpectWornPicture(mascot->m_hWnd, mascot->m_image, mascotPixels, Scaled(90), Scaled(80));
    ExpectWornPicture(balloon->m_hWnd, balloon->*&TestBalloon::m_image, balloonPixels, Scaled(284), Scaled(96),
                      {Scaled(35), Scaled(12), Scaled(284) - Scaled(10), Scaled(96) - Scaled(10)});
    EXPECT_EQ(nullptr, mascot->m_shape.m_hObject) << "the outline is the window's now";
    EXPECT_EQ(nullptr, (balloon->*&TestBalloon::m_shape).m_hObject) << "the outline is the window's now";

    // Moved to a monitor of another DPI: twice 96, or back to 96 from 192.
    const int dpi = ScreenDpi() == 192 ? 96 : 192;
    const auto at = [dpi](int pixels) { return pixels * dpi / 96; };
    for (const HWND hWnd : {mascot->m_hWnd, balloon->m_hWnd}) {
        RECT suggested = WindowRect(hWnd);
        ::SendMessageW(hWnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    }
    ExpectWornPicture(mascot->m_hWnd, mascot->m_image, mascotPixels, at(90), at(80));
    ExpectWornPicture(balloon->m_hWnd, balloon->*&TestBalloon::m_image, balloonPixels, at(284), at(96),
                      {at(35), at(12), at(274), at(86)});
    const RECT rect = WindowRect(mascot->m_hWnd);
    EXPECT_EQ(100 + at(16), rect.left);
    EXPECT_EQ(200 + at(6), rect.bottom);
    EXPECT_EQ(rect.right, WindowRect(balloon->m_hWnd).left);
    EXPECT_EQ(rect.bottom, WindowRect(balloon->m_hWnd).bottom);
    LOGFONTW font{};
    ASSERT_TRUE(::GetObjectW((balloon->*&TestBalloon::m_font).m_hObject, sizeof font, &font));
    EXPECT_EQ(at(12), std::abs(font.lfHeight));
    // The picture's palette is still there to realize when the mascot may.
    const long realized = fault::RealizedPalettes();
    ::SendMessageW(mascot->m_hWnd, WM_QUERYNEWPALETTE, 0, 0);
    EXPECT_LT(realized, fault::RealizedPalettes());
    // Another window's palette change repaints it; its own does not.
    ::ValidateRect(mascot->m_hWnd, nullptr);
    ::SendMessageW(mascot->m_hWnd, WM_PALETTECHANGED, reinterpret_cast<WPARAM>(mascot->m_hWnd), 0);
    EXPECT_FALSE(::GetUpdateRect(mascot->m_hWnd, nullptr, FALSE));
    ::SendMessageW(mascot->m_hWnd, WM_PALETTECHANGED, reinterpret_cast<WPARAM>(::GetDesktopWindow()), 0);
    EXPECT_TRUE(::GetUpdateRect(mascot->m_hWnd, nullptr, FALSE));
}

TEST_F(Mascot, AClickMakesTheBalloonSpeakAClickRemark)
{
    ::ShowWindow(balloon->m_hWnd, SW_HIDE);
    RandomSource::Seed(77);
    ModelLcg model{77};
    ::SendMessageW(mascot->m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(45, 40));
    EXPECT_TRUE(::IsWindowVisible(balloon->m_hWnd));
    EXPECT_EQ(LoadedString(ModelClickRemark(static_cast<unsigned>(model.Next() * 51 >> 15))), BalloonText(balloon));
    EXPECT_EQ(balloon, mascot->m_pBalloon) << "the same balloon answers";
    ::UpdateWindow(balloon->m_hWnd);  // the remark shows; the farewell replaces it
    balloon->Say(IDS_FAREWELL);
    CRgn outline;
    ASSERT_TRUE(outline.CreateRectRgn(0, 0, 0, 0));
    ::GetWindowRgn(balloon->m_hWnd, outline);
    EXPECT_EQ(0, ShownUnlike(ReadShown(balloon->m_hWnd), SaidAsDrawnHere(balloon), outline)) << "the farewell as shown";
}

TEST_F(Mascot, TheFarewellHoldsTheScreenFor2048Milliseconds)
{
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
    EXPECT_EQ(2048u, fault::LastSleep()) << "a pause, after a wait that lets Wine show the farewell";
    EXPECT_GE(elapsed, 2030.0);
    EXPECT_LT(elapsed, 4000.0);
    EXPECT_TRUE(::IsWindowVisible(balloon->m_hWnd)) << "shown even after a dismissal";
    EXPECT_FALSE(::GetUpdateRect(balloon->m_hWnd, nullptr, FALSE)) << "painted only after the pause";
    EXPECT_EQ(LoadedString(IDS_FAREWELL), BalloonText(balloon));
}

// With one call of its making failing, first, last or between, the pair
// shows whole or not at all: a mascot without its picture or outline is
// not made, a balloon that could not be made leaves the mascot alone, and
// nothing made is left over once the mascot goes.
class MascotUnderAFault : public ::testing::TestWithParam<fault::Function> {};

bool Whole(HWND hWnd, const CBitmap& image)
{
    BITMAP picture{};
    CRgn outline;
    const RECT rect = WindowRect(hWnd);
    return image.GetBitmap(&picture) && rect.right - rect.left == picture.bmWidth &&
           rect.bottom - rect.top == picture.bmHeight && outline.CreateRectRgn(0, 0, 0, 0) &&
           ::GetWindowRgn(hWnd, outline) == COMPLEXREGION;
}

TEST_P(MascotUnderAFault, ShowsWholeOrNotAtAll)
{
    OwnerWindow owner{100, 200, 300, 130};
    TestMascot* mascot = nullptr;
    fault::Begin(GetParam(), 0);
    CreateModeless(mascot, &owner);
    ASSERT_NE(nullptr, mascot);
    mascot->DestroyWindow();
    const long calls = fault::Calls(GetParam());
    for (long index : std::set<long>{1, (calls + 3) / 4, (calls + 1) / 2, (3 * calls + 3) / 4, calls}) {
        fault::Begin(GetParam(), index);
        CreateModeless(mascot, &owner);
        const std::string at = std::string(fault::kFunctionNames[GetParam()]) + ":" + std::to_string(index);
        if (mascot) {
            EXPECT_TRUE(Whole(mascot->m_hWnd, mascot->m_image)) << at;
            // A click makes the balloon that could not be made before.
            ::SendMessageW(mascot->m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(45, 40));
            EXPECT_NE(nullptr, mascot->m_pBalloon) << at;
            if (CBalloonDlg* balloon = mascot->m_pBalloon) {
                EXPECT_TRUE(Whole(balloon->m_hWnd, balloon->*&TestBalloon::m_image)) << at;
                EXPECT_NE(nullptr, (balloon->*&TestBalloon::m_font).m_hObject) << at << ": the remarks' font";
            }
            mascot->DestroyWindow();
        }
        EXPECT_TRUE(fault::StillHeld().empty()) << at << " left something made";
    }
    fault::End();
}

INSTANTIATE_TEST_SUITE_P(Making, MascotUnderAFault,
                         ::testing::Values(fault::kFindResourceW, fault::kLoadResource, fault::kCreateCompatibleDC,
                                           fault::kCreateCompatibleBitmap, fault::kStretchDIBits, fault::kCreatePalette,
                                           fault::kCreateRectRgn, fault::kCombineRgn, fault::kSetWindowRgn,
                                           fault::kCreateDialogIndirectParamW, fault::kCreateFontW, fault::kGetDC),
                         [](const auto& info) { return std::string(fault::kFunctionNames[info.param]); });

}  // namespace
