// The About box, run modally as the main dialog runs it. A thread timer
// plays the user's part inside the box's modal loop, one step per tick.
#include "CAboutDlg.h"
#include "CDrawDlg.h"
#include "CMascotDlg.h"
#include "DrawModel.h"
#include "ModalScript.h"
#include "RandomSource.h"
#include "TestClock.h"
#include "TestWindows.h"
#include "WindowSpies.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

HWND g_about = nullptr;

HWND FindAbout() { return ::FindWindowW(nullptr, L"Bamzo to Vuka6のﾊﾞｰｼﾞｮﾝ情報"); }

class AboutTest : public ::testing::Test {
protected:
    TestClock clock{1600000000u};

    void SetUp() override
    {
        ASSERT_TRUE(main.Create(IDD_DRAW_DIALOG, nullptr));
        g_app.m_pMainWnd = &main;
    }
    void TearDown() override
    {
        g_app.m_pMainWnd = nullptr;
        main.DestroyWindow();
    }

    void ClickIcon(HWND about)
    {
        ::SendMessageW(about, WM_COMMAND, MAKEWPARAM(IDC_ABOUT_ICON, STN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(about, IDC_ABOUT_ICON)));
    }

    CDrawDlg main;
};

TEST_F(AboutTest, OpensCentredOverTheMainDialogWhichItDisables)
{
    TestAbout about;
    bool mainDisabled = false;
    RECT box{}, owner = WindowRect(main.m_hWnd);
    std::vector<std::wstring> tips;
    ModalScript script({
        [&] {
            g_about = FindAbout();
            box = WindowRect(g_about);
            mainDisabled = !::IsWindowEnabled(main.m_hWnd);
            tips = TipTexts(about.m_tooltip.m_hWnd);
            // A screen reader hears every control by a name; the icon's text
            // is the name of its picture (U+FFFF and the icon's ID), not a name.
            for (const auto& [id, name] : NamesApart(g_about, 6, {IDC_ABOUT_ICON}))
                EXPECT_EQ(std::wstring::npos, name.find(L'\xFFFF')) << Utf8(name);
        },
        [&] { ::SendMessageW(g_about, WM_COMMAND, IDCANCEL, 0); },
    });
    EXPECT_EQ(IDCANCEL, about.DoModal());
    ASSERT_TRUE(script.Finished());
    EXPECT_NEAR((owner.left + owner.right) / 2, (box.left + box.right) / 2, 1);
    EXPECT_NEAR((owner.top + owner.bottom) / 2, (box.top + box.bottom) / 2, 1);
    EXPECT_TRUE(mainDisabled);
    EXPECT_TRUE(::IsWindowEnabled(main.m_hWnd));
    EXPECT_EQ(std::vector<std::wstring>{L"・・・・・・・"}, tips);
}

// Where it cannot be centred over the main dialog, it stays wholly on the
// work area: over a dialog dragged half off either corner, as near to it as
// it can; over a minimised one (from the taskbar's menu), in the middle.
TEST_F(AboutTest, OpensWhollyOnTheWorkArea)
{
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const RECT owner = WindowRect(main.m_hWnd);
    const LONG width = owner.right - owner.left, height = owner.bottom - owner.top;
    const auto boxOver = [&](int x, int y, int show) {
        ::SetWindowPos(main.m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ::ShowWindow(main.m_hWnd, show);
        TestAbout about;
        RECT box{};
        ModalScript script({[&] { box = WindowRect(FindAbout()); }, [&] { about.EndDialog(IDCANCEL); }});
        about.DoModal();
        return box;
    };
    RECT box = boxOver(work.right - width / 2, work.bottom - height / 2, SW_SHOWNA);
    EXPECT_EQ(work.right, box.right);
    EXPECT_EQ(work.bottom, box.bottom);
    box = boxOver(work.left - width / 2, work.top - height / 2, SW_SHOWNA);
    EXPECT_EQ(work.left, box.left);
    EXPECT_EQ(work.top, box.top);
    box = boxOver(owner.left, owner.top, SW_MINIMIZE);
    EXPECT_NEAR((work.left + work.right) / 2, (box.left + box.right) / 2, 1);
    EXPECT_NEAR((work.top + work.bottom) / 2, (box.top + box.bottom) / 2, 1);
}

TEST_F(AboutTest, PointingAtTheIconShowsItsTip)
{
    TestAbout about;
    EXPECT_TRUE(PointingShowsTip(about, IDC_ABOUT_ICON, about.m_tooltip));
}

// Where the mascot stands beside its owner the mascot's tests check; here,
// that it follows the box when the box moves.
TEST_F(AboutTest, TheIconSummonsOneMascotPerOpening)
{
    TestAbout about;
    CMascotDlg* first = nullptr;
    CMascotDlg* afterMoreClicks = nullptr;
    POINT moved{};
    const auto mascotAt = [&] {
        const RECT rect = WindowRect(about.m_pMascot->m_hWnd);
        return POINT{rect.left, rect.top};
    };
    ModalScript script({
        [&] { g_about = FindAbout(); ClickIcon(g_about); first = about.m_pMascot; },
        [&] { ClickIcon(g_about); ClickIcon(g_about); afterMoreClicks = about.m_pMascot; },
        [&] {
            const POINT before = mascotAt();
            const RECT box = WindowRect(g_about);
            ::SetWindowPos(g_about, nullptr, box.left + 30, box.top + 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            moved = {mascotAt().x - before.x, mascotAt().y - before.y};
        },
        [&] { ::SendMessageW(g_about, WM_COMMAND, IDCANCEL, 0); },
    });
    about.DoModal();
    ASSERT_TRUE(script.Finished());
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(first, afterMoreClicks);
    EXPECT_EQ(30, moved.x);
    EXPECT_EQ(20, moved.y);
    const auto others = ThreadWindows([&](HWND hWnd) { return ClassOf(hWnd) == L"#32770" && hWnd != main.m_hWnd; });
    EXPECT_TRUE(others.empty()) << "mascot and balloon went with the box";
}

// Escape: no farewell, and the generator goes on where it was. OK: the
// farewell holds the screen when there is a mascot to say it, then the
// clock reseeds.
TEST_F(AboutTest, OkSaysFarewellThenReseedsEscapeDoesNeither)
{
    struct Close { int button; bool mascot, farewell; };
    for (const Close& c : {Close{IDCANCEL, true, false}, Close{IDOK, true, true}, Close{IDOK, false, false}}) {
        TestAbout about;
        RandomSource::Seed(77);
        g_now = 1655555555u;
        ModalScript script({
            [&] { g_about = FindAbout(); if (c.mascot) ClickIcon(g_about); },
            [&] { ::SendMessageW(g_about, WM_COMMAND, c.button, 0); },
        });
        const LARGE_INTEGER start = Now();
        EXPECT_EQ(c.button, about.DoModal());
        EXPECT_EQ(c.farewell, MillisecondsSince(start) >= 2030.0) << c.button << (c.mascot ? " with" : " without");
        EXPECT_EQ(ModelLcg{c.button == IDOK ? g_now : 77u}.Next(), RandomSource::Next()) << c.button;
    }
}

// The system menu's item opens it (the low four bits are the system's).
TEST_F(AboutTest, TheDrawGoesOnBehindTheBoxFromTheSystemMenu)
{
    ::SendMessageW(::GetDlgItem(main.m_hWnd, IDC_START), BM_CLICK, 0, 0);
    const HWND label = ::GetDlgItem(main.m_hWnd, IDC_NUMBER1);
    const std::wstring before = WindowText(label);
    int ticksSeen = 0;
    std::vector<std::function<void()>> steps;
    for (int i = 0; i < 15; ++i)
        steps.push_back([&] { ticksSeen += before != WindowText(label); });
    steps.push_back([&] { ::SendMessageW(FindAbout(), WM_COMMAND, IDCANCEL, 0); });
    ModalScript script(steps);
    ::SendMessageW(main.m_hWnd, WM_SYSCOMMAND, IDM_ABOUTBOX | 0xF, 0);
    EXPECT_GT(ticksSeen, 0) << "no box, or the spin timer did not keep writing the labels";
}

}  // namespace
