// The main dialog under Wine: its template, the states of its controls
// through a draw, its system menu, tooltip, banner click and timers.
#include "CDrawDlg.h"
#include "DrawModel.h"
#include "FaultInjection.h"
#include "ModalScript.h"
#include "TestWindows.h"
#include "RandomSource.h"
#include "TestClock.h"
#include "WindowSpies.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace {

class DrawDlgTest : public MainDialogTest {
protected:
    TestClock clock{1700000000u};

    bool Enabled(int id) const { return ::IsWindowEnabled(dlg.Item(id)) != FALSE; }
    bool Checked(int id) const { return ::SendMessageW(dlg.Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void Tick(UINT_PTR id) { ::SendMessageW(hWnd, WM_TIMER, id, 0); }

    std::vector<int> Numbers() const
    {
        std::vector<int> numbers;
        for (int i = 0; i < 6; ++i)
            numbers.push_back(std::stoi(WindowText(dlg.Item(IDC_NUMBER1 + i))));
        return numbers;
    }
};

TEST_F(DrawDlgTest, TemplateTextsStylesAndLayout)
{
    EXPECT_EQ(L"Bamzo to Vuka6", WindowText(hWnd));
    const LONG style = ::GetWindowLongW(hWnd, GWL_STYLE);
    EXPECT_EQ(static_cast<LONG>(WS_POPUP | WS_CAPTION | WS_SYSMENU), style & (WS_POPUP | WS_CAPTION | WS_SYSMENU));
    EXPECT_EQ(0, style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_TRUE(::GetWindowLongW(hWnd, GWL_EXSTYLE) & WS_EX_APPWINDOW);

    const wchar_t* letters[] = {L"Ｖ", L"Ｕ", L"Ｋ", L"Ａ", L"☆", L"６"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(letters[i], WindowText(dlg.Item(IDC_NUMBER1 + i)));
        const LONG toggle = ::GetWindowLongW(dlg.Item(IDC_FIX1 + i), GWL_STYLE);
        EXPECT_EQ(BS_AUTOCHECKBOX, toggle & BS_TYPEMASK);
        EXPECT_TRUE(toggle & BS_PUSHLIKE);
        EXPECT_TRUE(::GetWindowLongW(dlg.Item(IDC_FIX1 + i), GWL_EXSTYLE) & WS_EX_STATICEDGE);
        EXPECT_FALSE(Enabled(IDC_FIX1 + i));
    }
    EXPECT_EQ(L"終了", WindowText(dlg.Item(IDOK)));
    EXPECT_EQ(L"Start", WindowText(dlg.Item(IDC_START)));
    EXPECT_EQ(L"一気に確定", WindowText(dlg.Item(IDC_FIX_ALL)));
    EXPECT_TRUE(Enabled(IDOK));
    EXPECT_TRUE(Enabled(IDC_START));
    EXPECT_FALSE(Enabled(IDC_FIX_ALL));
    EXPECT_TRUE(::GetWindowLongW(dlg.Item(IDC_BANNER), GWL_STYLE) & SS_NOTIFY);

    // Rectangles in dialog units, as the template gives them.
    struct Place { int id, x, y, cx, cy; };
    const Place places[] = {
        {IDOK, 108, 51, 44, 14}, {IDC_START, 8, 51, 44, 14}, {IDC_FIX_ALL, 58, 51, 44, 14},
        {IDC_NUMBER1, 9, 8, 21, 17}, {IDC_NUMBER6, 129, 8, 21, 17},
        {IDC_FIX1, 13, 31, 12, 11}, {IDC_FIX6, 133, 31, 12, 11},
    };
    for (const Place& p : places) {
        RECT expected{p.x, p.y, p.x + p.cx, p.y + p.cy};
        ::MapDialogRect(hWnd, &expected);
        const RECT actual = RectInDialog(dlg.Item(p.id));
        EXPECT_TRUE(::EqualRect(&expected, &actual)) << "control " << p.id;
    }

    // Between the controls the dialog shows its face colour and nothing else.
    const Pixels shown = ReadShown(hWnd);
    CRgn between, control;
    ASSERT_TRUE(between.CreateRectRgn(0, 0, shown.width, shown.height) && control.CreateRectRgn(0, 0, 0, 0));
    for (HWND child : Children(hWnd)) {
        const RECT r = RectInDialog(child);
        ::SetRectRgn(control, r.left, r.top, r.right, r.bottom);
        ::CombineRgn(between, between, control, RGN_DIFF);
    }
    const COLORREF face = ::GetSysColor(COLOR_3DFACE);
    Pixels plain = shown;
    plain.rgb.assign(plain.rgb.size(), GetRValue(face) << 16 | GetGValue(face) << 8 | GetBValue(face));
    EXPECT_EQ(0, ShownUnlike(shown, plain, between)) << "pixels between the controls";

    // Tab order: the template's order, Exit first.
    HWND tab = ::GetNextDlgTabItem(hWnd, nullptr, FALSE);
    EXPECT_EQ(dlg.Item(IDOK), tab);
    EXPECT_EQ(dlg.Item(IDC_START), ::GetNextDlgTabItem(hWnd, dlg.Item(IDOK), FALSE));
}

// tests/plain_prefix.sh runs this with each Japanese font package.
TEST_F(DrawDlgTest, OpensCentredInTheWorkArea)
{
    RECT work;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const RECT window = WindowRect(hWnd);
    EXPECT_NEAR((work.left + work.right) / 2, (window.left + window.right) / 2, 1);
    EXPECT_NEAR((work.top + work.bottom) / 2, (window.top + window.bottom) / 2, 1);
}

// Each control a user acts on has a name a screen reader can say: the six
// toggles and the banner show no text, so they are named for what they do.
// Every other control is called by its text.
TEST_F(DrawDlgTest, ScreenReadersHearEveryControlByAName)
{
    // Where the automation library lacks a function the named object needs,
    // the reader gets the system's object. The libraries are looked up once a
    // process: this runs first, in a process of its own, which no test events
    // reach, so that the hooks go in there.
    const auto withoutSysAllocString = [this] {
        if (!fault::Install())
            std::exit(2);
        fault::HideExport("SysAllocString");
        std::exit(AccessibleName(dlg.Item(IDC_FIX1)).empty() ? 0 : 1);
    };
    EXPECT_EXIT(withoutSysAllocString(), ::testing::ExitedWithCode(0), "");
    // Without the system's object to name, memory for the named one, or a
    // way to hand it over, the reader gets the system's; nothing made stays.
    for (const fault::Function f : {fault::kCreateStdAccessibleObject, fault::kMalloc, fault::kLresultFromObject}) {
        fault::Begin(f, 1);
        EXPECT_NE(L"(no accessible object)", AccessibleName(dlg.Item(IDC_FIX1))) << fault::kFunctionNames[f];
        EXPECT_TRUE(fault::Fired() && fault::StillHeld().empty())
            << fault::kFunctionNames[f] << ": nothing failed, or the name stayed";
    }
    fault::Watch();
    std::set<std::wstring> toggles;
    for (const auto& [id, name] : NamesApart(hWnd, 16, {IDC_FIX1, IDC_FIX2, IDC_FIX3, IDC_FIX4, IDC_FIX5, IDC_FIX6,
                                                        IDC_BANNER})) {
        // The banner is called for what its tooltip says a click shows.
        const std::wstring says = id == IDC_BANNER ? L"バージョン情報" : std::to_wstring(id - IDC_FIX1 + 1);
        EXPECT_NE(std::wstring::npos, name.find(says)) << "control " << id << " is called " << Utf8(name);
        if (id != IDC_BANNER)
            toggles.insert(name);
    }
    EXPECT_EQ(6u, toggles.size()) << "the toggles' names differ";
    // The name is the toggle's own, not that of a child it does not have.
    EXPECT_EQ(L"", AccessibleName(dlg.Item(IDC_FIX1), 1));
    // A reader in another process is answered only from an apartment's thread.
    EXPECT_EQ(S_FALSE, ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) << "the thread is in no apartment";
    ::CoUninitialize();
}

// The About box is the system menu's last item, and what a banner click
// posts, rather than runs.
TEST_F(DrawDlgTest, TheSystemMenuEndsWithTheAboutItemWhichABannerClickPosts)
{
    const HMENU menu = ::GetSystemMenu(hWnd, FALSE);
    ASSERT_NE(nullptr, menu);
    const int count = ::GetMenuItemCount(menu);
    ASSERT_GE(count, 2);
    EXPECT_EQ(static_cast<UINT>(MF_SEPARATOR), ::GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(static_cast<UINT>(IDM_ABOUTBOX), ::GetMenuItemID(menu, count - 1));
    wchar_t text[64] = {};
    ::GetMenuStringW(menu, count - 1, text, 64, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(L"ﾊﾞｰｼﾞｮﾝ情報(&A)..."), text);

    MSG msg;
    while (::PeekMessageW(&msg, hWnd, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE)) {
    }
    ::SendMessageW(hWnd, WM_COMMAND, MAKEWPARAM(IDC_BANNER, STN_CLICKED), reinterpret_cast<LPARAM>(dlg.Item(IDC_BANNER)));
    ASSERT_TRUE(::PeekMessageW(&msg, hWnd, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE));
    EXPECT_EQ(static_cast<WPARAM>(IDM_ABOUTBOX), msg.wParam);
    EXPECT_EQ(0, msg.lParam);
}

TEST_F(DrawDlgTest, ADrawThroughTheControls)
{
    // Seeded from the clock as the dialog opened.
    EXPECT_EQ(ModelLcg{1700000000u}.Next(), RandomSource::Next());
    g_now = 1234;
    Click(IDC_START);
    EXPECT_TRUE(Enabled(IDC_FIX_ALL));
    for (int i = 0; i < 6; ++i) {
        EXPECT_TRUE(Enabled(IDC_FIX1 + i));
        EXPECT_FALSE(Checked(IDC_FIX1 + i));
    }

    // Start leaves the labels alone; the first tick writes all six.
    EXPECT_EQ(L"Ｖ", WindowText(dlg.Item(IDC_NUMBER1)));
    Tick(ID_TIMER_SPIN);
    for (int n : Numbers()) {
        EXPECT_GE(n, 0);
        EXPECT_LE(n, 43);
    }

    Click(IDC_FIX3);
    EXPECT_TRUE(Checked(IDC_FIX3));
    EXPECT_FALSE(Enabled(IDC_FIX3));
    const std::wstring third = WindowText(dlg.Item(IDC_NUMBER3));
    for (int tick = 0; tick < 20; ++tick)
        Tick(ID_TIMER_SPIN);
    EXPECT_EQ(third, WindowText(dlg.Item(IDC_NUMBER3))) << "a fixed label never spins";

    // Fix-all works under the hourglass, and puts the pointer back.
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    Click(IDC_FIX_ALL);
    EXPECT_EQ(::LoadCursorW(nullptr, IDC_WAIT), dlg.cursorShowingNumber) << "the numbers came without the hourglass";
    EXPECT_EQ(::LoadCursorW(nullptr, IDC_ARROW), ::GetCursor()) << "the hourglass stays";
    const std::vector<int> numbers = Numbers();
    const std::set<int> unique(numbers.begin(), numbers.end());
    EXPECT_EQ(6u, unique.size());
    EXPECT_GE(*unique.begin(), 1);
    EXPECT_LE(*unique.rbegin(), 43);
    for (int i = 0; i < 6; ++i) {
        EXPECT_TRUE(Checked(IDC_FIX1 + i));
        EXPECT_FALSE(Enabled(IDC_FIX1 + i));
    }
    EXPECT_FALSE(Enabled(IDC_FIX_ALL));
    EXPECT_TRUE(Enabled(IDC_START));
    EXPECT_EQ(0u, dlg.m_spinTimer);
    EXPECT_FALSE(::KillTimer(hWnd, ID_TIMER_SPIN)) << "the spin timer still runs";

    // A draw straight through gives the model's numbers for the clock at Start.
    g_now = 99;
    Click(IDC_START);
    Click(IDC_FIX_ALL);
    const auto expected = ModelDraw(99, {});
    EXPECT_EQ(std::vector<int>(expected.begin(), expected.end()), Numbers());
}

TEST_F(DrawDlgTest, FixingTheLastSlotByHandStopsTheSpinAtOnce)
{
    Click(IDC_START);
    for (int i = 0; i < 5; ++i)
        Click(IDC_FIX1 + i);
    EXPECT_TRUE(Enabled(IDC_FIX_ALL));
    EXPECT_NE(0u, dlg.m_spinTimer);
    Click(IDC_FIX6);
    EXPECT_FALSE(Enabled(IDC_FIX_ALL));
    EXPECT_EQ(0u, dlg.m_spinTimer);
    const std::vector<int> numbers = Numbers();
    EXPECT_EQ(6u, std::set<int>(numbers.begin(), numbers.end()).size());
}

TEST_F(DrawDlgTest, TheKeyboardFocusSurvivesTheControlsItDisablesAndAnotherWindowsTurn)
{
    // Another window's turn and back: the focus returns to the control that had it.
    ::SetFocus(dlg.Item(IDC_START));
    ::SendMessageW(hWnd, WM_ACTIVATE, WA_INACTIVE, 0);
    ::SetFocus(nullptr);
    ::SendMessageW(hWnd, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(dlg.Item(IDC_START), ::GetFocus());

    Click(IDC_START);
    // The space bar on a focused toggle fixes its slot and disables it.
    ::SetFocus(dlg.Item(IDC_FIX2));
    ASSERT_EQ(dlg.Item(IDC_FIX2), ::GetFocus());
    Click(IDC_FIX2);
    HWND focus = ::GetFocus();
    ASSERT_NE(nullptr, focus);
    EXPECT_TRUE(::IsWindowEnabled(focus));
    EXPECT_EQ(dlg.Item(IDC_FIX3), focus) << "on to the next control, as Tab would go";

    // Fix-all disables itself and every toggle.
    ::SetFocus(dlg.Item(IDC_FIX_ALL));
    Click(IDC_FIX_ALL);
    focus = ::GetFocus();
    ASSERT_NE(nullptr, focus);
    EXPECT_TRUE(::IsWindowEnabled(focus));
    EXPECT_EQ(dlg.Item(IDC_START), focus) << "not round to Exit, which the next Space would press";
}

// Keys as the dialog's own loop gets them. Enter on a focused toggle fixes
// its slot, as Space would, once a press, and no other key does; the draw
// goes on. Enter on Exit ends the dialog.
TEST(DrawDlgModal, EnterPressesTheFocusedControl)
{
    TestDrawDlg dlg;
    const auto press = [](HWND control, LPARAM repeat) {
        ::SetFocus(control);
        ::PostMessageW(control, WM_KEYDOWN, VK_RETURN, 1 | repeat);
    };
    const auto checked = [&dlg](int id) { return ::SendMessageW(dlg.Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; };
    bool first = false, second = true, third = true;
    ModalScript script({
        [&] { ::SendMessageW(dlg.Item(IDC_START), BM_CLICK, 0, 0); press(dlg.Item(IDC_FIX1), 0); },
        [&] { first = checked(IDC_FIX1); press(dlg.Item(IDC_FIX2), 1 << 30); },
        [&] {
            second = checked(IDC_FIX2);
            ::SetFocus(dlg.Item(IDC_FIX3));
            ::PostMessageW(dlg.Item(IDC_FIX3), WM_KEYDOWN, VK_TAB, 1);
        },
        [&] { third = checked(IDC_FIX3); press(dlg.Item(IDOK), 0); },
    });
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(first);
    EXPECT_FALSE(second) << "a held Enter pressed the next toggle too";
    EXPECT_FALSE(third) << "Tab pressed the toggle it left";
}

// The close box, Alt+F4 and the system menu's Close all come as SC_CLOSE,
// which ends the dialog as Esc does; Exit ends it otherwise.
TEST(DrawDlgModal, TheCloseBoxEndsTheDialog)
{
    TestDrawDlg dlg;
    ModalScript script({[&] { ::PostMessageW(dlg.m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0); },
                        [&] { ::PostMessageW(dlg.m_hWnd, WM_COMMAND, IDOK, 0); }});
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
}

TEST(DrawDlgModal, PointingAtTheBannerShowsItsTip)
{
    TestDrawDlg dlg;
    EXPECT_TRUE(PointingShowsTip(dlg, IDC_BANNER, dlg.m_tooltip));
}

// The app icon is the drag icon and the window's. Minimised, the dialog
// erases behind it and draws it in the middle of what is left of its client
// area, rounded up.
TEST_F(DrawDlgTest, TheAppIconIsTheWindowsAndMinimisedDrawnInTheMiddle)
{
    const HICON icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    EXPECT_EQ(reinterpret_cast<LRESULT>(icon), ::SendMessageW(hWnd, WM_QUERYDRAGICON, 0, 0));
    EXPECT_EQ(reinterpret_cast<LRESULT>(icon), ::SendMessageW(hWnd, WM_GETICON, ICON_BIG, 0));
    EXPECT_EQ(reinterpret_cast<LRESULT>(icon), ::SendMessageW(hWnd, WM_GETICON, ICON_SMALL, 0));

    static HDC erasedOn;
    erasedOn = nullptr;
    const HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROC, [](int code, WPARAM wParam, LPARAM lParam) {
        const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (sent->message == WM_ICONERASEBKGND)
            erasedOn = reinterpret_cast<HDC>(sent->wParam);
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }, nullptr, ::GetCurrentThreadId());
    ::ShowWindow(hWnd, SW_MINIMIZE);
    erasedOn = nullptr;
    // Asked directly: Wine, as Windows since 95, shows no minimised client area.
    ::SendMessageW(hWnd, WM_PAINT, 0, 0);
    ::UnhookWindowsHookEx(hook);
    EXPECT_NE(nullptr, erasedOn) << "the background behind the icon was not erased";
    RECT client;
    ::GetClientRect(hWnd, &client);
    const POINT at = fault::LastIconAt();
    EXPECT_EQ((client.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2, at.x);
    EXPECT_EQ((client.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2, at.y);
}

}  // namespace
