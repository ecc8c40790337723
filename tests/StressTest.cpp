// The running program under random user actions. The main dialog runs
// modally, as the program runs it; a thread timer plays the user inside
// whichever modal loop is running and checks the draw, the windows of the
// thread and the About box's pictures after every action.
//
//   tests/wine-run.sh build/mingw/tests/stress_tests.exe
//
// prints the seed and the action count first, and every failure repeats the
// seed. VUKA6_STRESS_SEED=<seed> replays the same action sequence (what an
// action meets can still differ where it depends on timing: the spin, the
// balloon's timers, which window has the focus); VUKA6_STRESS_ACTIONS=<n>
// sets the count. The default 10,000 actions take about a minute and a half
// under Wine on two cores; the long run took 18 minutes (100,000 actions,
// 3,688 About openings, 1,952 draws, 184 two-second farewells):
//
//   VUKA6_STRESS_ACTIONS=100000 tests/wine-run.sh build/mingw/tests/stress_tests.exe
#include "CAboutDlg.h"
#include "CBalloonDlg.h"
#include "CDrawDlg.h"
#include "CMascotDlg.h"
#include "TestWindows.h"
#include "WindowSpies.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {



// The system gives a thread with windows a hidden IME window of class
// "IME", and newer Wine adds the input method's own window (class "Wine IME"),
// owned by it. Neither is the program's, and they come and go as the system
// pleases.
bool IsImeWindow(HWND hWnd)
{
    const HWND owner = ::GetWindow(hWnd, GW_OWNER);
    return ClassOf(hWnd) == L"IME" || (owner && ClassOf(owner) == L"IME");
}

// Every top-level window of this thread but the system's IME windows, sorted
// by what it is.
struct Census {
    HWND main = nullptr;
    bool mainSeen = false;
    std::vector<CAboutDlg*> abouts;
    std::vector<CMascotDlg*> mascots;
    std::vector<CBalloonDlg*> balloons;
    std::vector<HWND> tooltips;
    std::vector<std::wstring> strays;  // class names of anything else
    int total = 0;
};

Census TakeCensus(HWND main)
{
    Census census;
    census.main = main;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND hWnd, LPARAM lp) -> BOOL {
            Census& c = *reinterpret_cast<Census*>(lp);
            CWnd* wnd = CWnd::FromHandlePermanent(hWnd);
            const std::wstring cls = ClassOf(hWnd);
            if (IsImeWindow(hWnd))
                return TRUE;
            ++c.total;
            if (hWnd == c.main)
                c.mainSeen = true;
            else if (auto* about = dynamic_cast<CAboutDlg*>(wnd))
                c.abouts.push_back(about);
            else if (auto* mascot = dynamic_cast<CMascotDlg*>(wnd))
                c.mascots.push_back(mascot);
            else if (auto* balloon = dynamic_cast<CBalloonDlg*>(wnd))
                c.balloons.push_back(balloon);
            else if (cls == L"tooltips_class32")
                c.tooltips.push_back(hWnd);
            else
                c.strays.push_back(cls);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&census));
    return census;
}

// Where the system delivers a click at a screen point. Under Wine, real
// input goes where WindowFromPoint points: past disabled controls and
// statics without SS_NOTIFY to the dialog, and nowhere at all when the
// top-level window is disabled (WindowFromPoint then names that window).
HWND ClickTarget(POINT screen)
{
    const HWND target = ::WindowFromPoint(screen);
    if (!target || ::GetWindowThreadProcessId(target, nullptr) != ::GetCurrentThreadId())
        return nullptr;
    if (!::IsWindowEnabled(target) || !::IsWindowEnabled(::GetAncestor(target, GA_ROOT)))
        return nullptr;
    return target;
}

POINT PointIn(const RECT& rect, double u, double v)
{
    return {rect.left + static_cast<LONG>(u * (rect.right - rect.left)),
            rect.top + static_cast<LONG>(v * (rect.bottom - rect.top))};
}

// A pixel of the window's shape in screen coordinates, chosen by u evenly
// over the shape's area; nothing for a window without a shape.
std::optional<POINT> PointInShape(HWND hWnd, double u)
{
    const HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    std::optional<POINT> found;
    const int kind = ::GetWindowRgn(hWnd, region);
    const DWORD size = kind == SIMPLEREGION || kind == COMPLEXREGION ? ::GetRegionData(region, 0, nullptr) : 0;
    std::vector<char> buffer(size);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    if (size && ::GetRegionData(region, size, data) == size) {
        const RECT* rects = reinterpret_cast<const RECT*>(data->Buffer);
        long long area = 0;
        for (DWORD i = 0; i < data->rdh.nCount; ++i)
            area += static_cast<long long>(rects[i].right - rects[i].left) * (rects[i].bottom - rects[i].top);
        long long index = static_cast<long long>(u * static_cast<double>(area));
        for (DWORD i = 0; i < data->rdh.nCount && !found; ++i) {
            const long long width = rects[i].right - rects[i].left;
            const long long pixels = width * (rects[i].bottom - rects[i].top);
            if (index < pixels)
                found = POINT{rects[i].left + static_cast<LONG>(index % width),
                              rects[i].top + static_cast<LONG>(index / width)};
            index -= pixels;
        }
    }
    if (found && !::PtInRegion(region, found->x, found->y))
        found.reset();
    ::DeleteObject(region);
    if (found) {
        // The region is relative to the window's top left corner.
        const RECT rect = WindowRect(hWnd);
        found->x += rect.left;
        found->y += rect.top;
    }
    return found;
}

enum class Kind {
    ClickStart, ClickFixAll, ClickToggle, ClickLabel, ClickDialog, ClickBanner, PressButton, SpaceKey,
    SystemMenuAbout, SpinTick, BannerTick, ClickIcon, ClickOk, EscapeKey, CloseBox, MoveAbout,
    ClickMascot, ClickBalloon,
};

struct KindInfo {
    Kind kind;
    const char* name;
    uint32_t weight;
};

// The weights keep the About box up a little under half the time, and the
// mascot up during most of that.
const KindInfo kKinds[] = {
    {Kind::ClickStart, "click Start", 40},       {Kind::ClickFixAll, "click Fix-all", 35},
    {Kind::ClickToggle, "click toggle", 200},    {Kind::ClickLabel, "click label", 25},
    {Kind::ClickDialog, "click dialog", 25},     {Kind::ClickBanner, "click banner", 25},
    {Kind::PressButton, "BM_CLICK", 70},         {Kind::SpaceKey, "Space", 25},
    {Kind::SystemMenuAbout, "system menu About", 15}, {Kind::SpinTick, "spin tick", 30},
    {Kind::BannerTick, "banner tick", 20},       {Kind::ClickIcon, "click About icon", 60},
    {Kind::ClickOk, "click OK", 25},             {Kind::EscapeKey, "Escape", 35},
    {Kind::CloseBox, "close box", 15},           {Kind::MoveAbout, "move About", 70},
    {Kind::ClickMascot, "click mascot", 100},    {Kind::ClickBalloon, "click balloon", 80},
};

constexpr size_t kKindCount = sizeof kKinds / sizeof kKinds[0];

// An action drawn from the generator: its kind and four numbers in [0, 1)
// that place it. Every draw takes exactly five numbers, whatever the state
// of the program, so a seed always gives the same sequence.
struct Action {
    size_t kind;
    double u[4];
};

enum class Result { Skipped, Done, Posted };

enum class Phase { Idle, Spinning, Stopped };

class Stress {
public:
    Stress(TestDrawDlg& dlg, uint32_t seed, long target) : m_dlg(dlg), m_seed(seed), m_target(target), m_rng(seed)
    {
        for (const KindInfo& info : kKinds)
            m_totalWeight += info.weight;
        s_current = this;
        m_timer = ::SetTimer(nullptr, 0, USER_TIMER_MINIMUM, &Stress::Tick);
    }
    ~Stress()
    {
        ::KillTimer(nullptr, m_timer);
        s_current = nullptr;
    }

    bool Failed() const { return m_failed; }
    bool Finished() const { return m_performed == m_target && m_exitPressed; }
    const std::vector<HGDIOBJ>& BannerObjects() const { return m_bannerObjects; }
    std::string Where() const { return "seed " + std::to_string(m_seed) + ", action " + std::to_string(m_performed); }

    void PrintSummary(double seconds) const
    {
        std::printf("stress: %ld actions (%ld draws skipped as inapplicable) in %.1f s, %ld ticks\n", m_performed,
                    m_skipped, seconds, m_ticks);
        std::printf("stress: %ld About openings, %ld mascots, %ld farewells, %ld draws started, %ld finished\n",
                    m_openings, m_mascots, m_farewells, m_drawsStarted, m_drawsFinished);
        std::printf("stress: %ld clicks delivered, %ld swallowed by a disabled window or the desktop\n",
                    m_clicksDelivered, m_clicksSwallowed);
        for (size_t k = 0; k < kKindCount; ++k)
            std::printf("stress:   %-18s %ld\n", kKinds[k].name, m_counts[k]);
        std::fflush(stdout);
    }

    // What a long enough run must have reached, or it tested little.
    void ExpectCoverage() const
    {
        EXPECT_GT(m_openings, 10) << Where();
        EXPECT_GT(m_mascots, 5) << Where();
        EXPECT_GT(m_farewells, 0) << Where();
        EXPECT_GT(m_drawsFinished, 10) << Where();
        EXPECT_GT(m_clicksDelivered, m_target / 4) << Where();
        EXPECT_GT(m_clicksSwallowed, 0) << Where();
    }

private:
    static constexpr int kActionsPerTick = 4;
    static constexpr int kDrawsPerTick = 64;
    // The farewell holds the thread for two seconds: of the actions that
    // would set it off, this share is carried out.
    static constexpr double kFarewellShare = 0.09;

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        if (s_current)
            s_current->OnTick();
    }

    HWND Main() const { return m_dlg.m_hWnd; }
    HWND Item(int id) const { return ::GetDlgItem(Main(), id); }

    Action NextAction()
    {
        Action action{};
        uint32_t pick = static_cast<uint32_t>(m_rng()) % m_totalWeight;
        while (pick >= kKinds[action.kind].weight)
            pick -= kKinds[action.kind++].weight;
        for (double& u : action.u)
            u = static_cast<double>(m_rng()) / 4294967296.0;
        return action;
    }

    void OnTick()
    {
        // An action must never run a message loop of its own inside a tick.
        if (m_inTick) {
            Fail("a tick ran inside a tick");
            return;
        }
        m_inTick = true;
        ++m_ticks;
        if (m_failed)
            Unwind();
        else if (m_ticks > 20 * m_target + 2000)
            Fail("no progress: " + std::to_string(m_ticks) + " ticks");
        else if (Check("at the tick"))
            m_performed == m_target ? Finish() : Play();
        m_inTick = false;
    }

    void Play()
    {
        int done = 0;
        for (int draws = 0; draws < kDrawsPerTick && done < kActionsPerTick && m_performed < m_target; ++draws) {
            const Action action = NextAction();
            std::string note;
            const Result result = Apply(action, note);
            if (result == Result::Skipped) {
                ++m_skipped;
                continue;
            }
            ++m_performed;
            ++done;
            // A long run shows that it is still going.
            if (m_performed % 10000 == 0 && m_performed < m_target) {
                std::printf("stress: %ld actions done\n", m_performed);
                std::fflush(stdout);
            }
            ++m_counts[action.kind];
            m_recent.push_back("#" + std::to_string(m_performed) + " " + kKinds[action.kind].name +
                               (note.empty() ? "" : " -> " + note));
            if (m_recent.size() > 12)
                m_recent.pop_front();
            // A posted action has not happened yet: the next tick checks it,
            // after the loop has delivered it (and with it any modal box).
            if (result == Result::Posted || !Check("after the action"))
                return;
        }
    }

    // The About box on screen, if any (the census has checked there is at most one).
    CAboutDlg* About() const
    {
        const Census census = TakeCensus(Main());
        return census.abouts.empty() ? nullptr : census.abouts.front();
    }

    // OK says farewell for two seconds when a mascot with its balloon is up.
    bool FarewellFollows(HWND target) const
    {
        CAboutDlg* about = About();
        if (!about || target != ::GetDlgItem(about->m_hWnd, IDOK))
            return false;
        CMascotDlg* mascot = about->*&TestAbout::m_pMascot;
        return mascot && mascot->*&TestMascot::m_pBalloon;
    }

    Result ClickAt(POINT screen, double gate, std::string& note)
    {
        const HWND target = ClickTarget(screen);
        if (!target) {
            ++m_clicksSwallowed;
            note = "nothing";
            return Result::Done;
        }
        // Exit ends the run: only the finish presses it.
        if (target == Item(IDOK))
            return Result::Skipped;
        if (FarewellFollows(target)) {
            if (gate >= kFarewellShare)
                return Result::Skipped;
            ++m_farewells;
        }
        ++m_clicksDelivered;
        note = Utf8(ClassOf(target)) + " " + std::to_string(::GetDlgCtrlID(target));
        // The pointer goes there too, so that hovering and the tooltips see
        // what a real mouse would show them.
        ::SetCursorPos(screen.x, screen.y);
        POINT client = screen;
        ::ScreenToClient(target, &client);
        const LPARAM at = MAKELPARAM(client.x, client.y);
        ::PostMessageW(target, WM_MOUSEMOVE, 0, at);
        ::PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::PostMessageW(target, WM_LBUTTONUP, 0, at);
        return Result::Posted;
    }

    Result ClickItem(HWND dialog, int id, const Action& a, std::string& note)
    {
        const HWND item = dialog ? ::GetDlgItem(dialog, id) : nullptr;
        if (!item)
            return Result::Skipped;
        return ClickAt(PointIn(WindowRect(item), a.u[1], a.u[2]), a.u[3], note);
    }

    Result PostKey(HWND target, WPARAM key, UINT scan)
    {
        const LPARAM down = 1 | static_cast<LPARAM>(scan) << 16;
        ::PostMessageW(target, WM_KEYDOWN, key, down);
        ::PostMessageW(target, WM_KEYUP, key, down | 0xC0000000);
        return Result::Posted;
    }

    Result Apply(const Action& a, std::string& note)
    {
        const int slot = static_cast<int>(a.u[0] * 6);
        CAboutDlg* about = About();
        const HWND aboutWnd = about ? about->m_hWnd : nullptr;
        CMascotDlg* mascot = about ? about->*&TestAbout::m_pMascot : nullptr;
        switch (kKinds[a.kind].kind) {
        case Kind::ClickStart:
            return ClickItem(Main(), IDC_START, a, note);
        case Kind::ClickFixAll:
            return ClickItem(Main(), IDC_FIX_ALL, a, note);
        case Kind::ClickToggle:
            return ClickItem(Main(), IDC_FIX1 + slot, a, note);
        case Kind::ClickLabel:
            return ClickItem(Main(), IDC_NUMBER1 + slot, a, note);
        case Kind::ClickBanner:
            return ClickItem(Main(), IDC_BANNER, a, note);
        case Kind::ClickDialog: {
            RECT client;
            ::GetClientRect(Main(), &client);
            POINT point = PointIn(client, a.u[1], a.u[2]);
            ::ClientToScreen(Main(), &point);
            return ClickAt(point, a.u[3], note);
        }
        case Kind::PressButton: {
            // What the keyboard or an accessibility tool does to an enabled button.
            const int ids[] = {IDC_START, IDC_FIX_ALL, IDC_FIX1, IDC_FIX2, IDC_FIX3, IDC_FIX4, IDC_FIX5, IDC_FIX6};
            const HWND button = Item(ids[static_cast<int>(a.u[1] * 8)]);
            if (!::IsWindowEnabled(Main()) || !::IsWindowEnabled(button))
                return Result::Skipped;
            note = std::to_string(::GetDlgCtrlID(button));
            ::SendMessageW(button, BM_CLICK, 0, 0);
            return Result::Done;
        }
        case Kind::SpaceKey: {
            // Space presses the focused button, if the focus is on one.
            const HWND focus = ::GetFocus();
            if (!focus || ClassOf(focus) != L"Button" || focus == Item(IDOK))
                return Result::Skipped;
            if (FarewellFollows(focus)) {
                if (a.u[3] >= kFarewellShare)
                    return Result::Skipped;
                ++m_farewells;
            }
            note = std::to_string(::GetDlgCtrlID(focus));
            return PostKey(focus, VK_SPACE, 0x39);
        }
        case Kind::SystemMenuAbout:
            // The system menu of a disabled window cannot be reached.
            if (!::IsWindowEnabled(Main()))
                return Result::Skipped;
            ::PostMessageW(Main(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
            return Result::Posted;
        case Kind::SpinTick:
            if (m_dlg.m_spinTimer == 0)
                return Result::Skipped;
            ::PostMessageW(Main(), WM_TIMER, ID_TIMER_SPIN, 0);
            return Result::Posted;
        case Kind::BannerTick:
            if (m_dlg.m_bannerTimer == 0)
                return Result::Skipped;
            ::PostMessageW(Main(), WM_TIMER, ID_TIMER_BANNER, 0);
            return Result::Posted;
        case Kind::ClickIcon:
            return ClickItem(aboutWnd, IDC_ABOUT_ICON, a, note);
        case Kind::ClickOk:
            return ClickItem(aboutWnd, IDOK, a, note);
        case Kind::EscapeKey: {
            // The key goes to the focus; in the main dialog it would end the
            // program, which only the finish does.
            const HWND focus = ::GetFocus();
            if (!aboutWnd || !focus || ::GetAncestor(focus, GA_ROOT) == Main())
                return Result::Skipped;
            note = Utf8(ClassOf(focus));
            return PostKey(focus, VK_ESCAPE, 0x01);
        }
        case Kind::CloseBox:
            if (!aboutWnd)
                return Result::Skipped;
            ::PostMessageW(aboutWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
            return Result::Posted;
        case Kind::MoveAbout: {
            if (!aboutWnd)
                return Result::Skipped;
            const RECT box = WindowRect(aboutWnd);
            const int x = static_cast<int>(a.u[1] * (::GetSystemMetrics(SM_CXSCREEN) - (box.right - box.left)));
            const int y = static_cast<int>(a.u[2] * (::GetSystemMetrics(SM_CYSCREEN) - (box.bottom - box.top)));
            note = std::to_string(x) + "," + std::to_string(y);
            ::SetWindowPos(aboutWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            return Result::Done;
        }
        case Kind::ClickMascot:
        case Kind::ClickBalloon: {
            CWnd* window = mascot;
            if (mascot && kKinds[a.kind].kind == Kind::ClickBalloon)
                window = mascot->*&TestMascot::m_pBalloon;
            const std::optional<POINT> point = window ? PointInShape(window->m_hWnd, a.u[1]) : std::nullopt;
            if (!point)
                return Result::Skipped;
            return ClickAt(*point, a.u[3], note);
        }
        }
        return Result::Skipped;
    }

    // After the last action: the About box goes, then Exit ends the dialog.
    void Finish()
    {
        if (m_exitPressed) {
            if (++m_finishTicks > 500)
                Fail("Exit did not end the main dialog");
            return;
        }
        if (const CAboutDlg* about = About()) {
            if (++m_finishTicks > 500)
                Fail("the About box does not close");
            ::PostMessageW(about->m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
            return;
        }
        RECT exit = WindowRect(Item(IDOK));
        const POINT point = PointIn(exit, 0.5, 0.5);
        const HWND target = ClickTarget(point);
        if (target != Item(IDOK)) {
            Fail("a click on Exit does not reach it");
            return;
        }
        POINT client = point;
        ::ScreenToClient(target, &client);
        ::PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.x, client.y));
        ::PostMessageW(target, WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
        m_exitPressed = true;
        m_finishTicks = 0;
    }

    // After a failure: close whatever is open, so that DoModal returns and
    // the test can report.
    void Unwind()
    {
        if (CAboutDlg* about = About())
            about->EndDialog(IDCANCEL);
        else
            m_dlg.EndDialog(IDABORT);
    }

    void Fail(const std::string& what)
    {
        std::string recent;
        for (const std::string& line : m_recent)
            recent += "\n    " + line;
        ADD_FAILURE() << Where() << ": " << what << "\n  the last actions:" << recent;
        m_failed = true;
    }

    // Collects the broken rules of one check; false when there was one.
    bool Check(const char* when)
    {
        m_problems.clear();
        if (m_bannerObjects.empty())
            RecordBanner();
        CheckDraw();
        CheckWindows();
        if (m_problems.empty())
            return true;
        std::string all = when;
        for (const std::string& problem : m_problems)
            all += "\n  " + problem;
        Fail(all);
        return false;
    }

    void Require(bool ok, const std::string& what)
    {
        if (!ok)
            m_problems.push_back(what);
    }

    void RecordBanner()
    {
        for (int i = 0; i < TestDrawDlg::kFrameCount; ++i) {
            const HGDIOBJ bitmap = m_dlg.m_frames[i].bitmap.m_hObject;
            const HGDIOBJ palette = m_dlg.m_frames[i].palette.m_hObject;
            Require(::GetObjectType(bitmap) == OBJ_BITMAP && ::GetObjectType(palette) == OBJ_PAL,
                    "banner frame " + std::to_string(i) + " has no picture");
            m_bannerObjects.push_back(bitmap);
            m_bannerObjects.push_back(palette);
        }
    }

    void CheckDraw()
    {
        const TestDrawDlg& d = m_dlg;
        int fixedCount = 0;
        std::set<int> fixedNumbers;
        for (int i = 0; i < 6; ++i) {
            const std::string at = "slot " + std::to_string(i + 1) + ": ";
            const int slot = d.m_slots[i];
            const HWND toggle = Item(IDC_FIX1 + i);
            const bool checked = ::SendMessageW(toggle, BM_GETCHECK, 0, 0) == BST_CHECKED;
            const bool enabled = ::IsWindowEnabled(toggle) != FALSE;
            const std::wstring label = WindowText(Item(IDC_NUMBER1 + i));
            Require(slot <= 43, at + "fixed at " + std::to_string(slot));
            if (slot != 0) {
                ++fixedCount;
                Require(label == std::to_wstring(slot),
                        at + "shows " + Utf8(label) + " but is fixed at " + std::to_string(slot));
            }
            if (checked) {
                const int number = std::wcstol(label.c_str(), nullptr, 10);
                Require(number >= 1 && number <= 43, at + "checked with the label " + Utf8(label));
                Require(fixedNumbers.insert(number).second, at + "fixes " + Utf8(label) + " a second time");
            }
            if (d.m_spinning == 1)
                Require(slot != 0 ? checked && !enabled : !checked && enabled,
                        at + (slot != 0 ? "fixed" : "spinning") + ", but its toggle is " +
                            (checked ? "checked" : "unchecked") + " and " + (enabled ? "enabled" : "disabled"));
            else
                Require(!enabled && checked == (slot != 0), at + "toggle not locked at rest");
        }

        Require(d.m_spinning <= 1, "m_spinning is " + std::to_string(d.m_spinning));
        const bool fixAll = ::IsWindowEnabled(Item(IDC_FIX_ALL)) != FALSE;
        Phase phase = Phase::Stopped;
        if (d.m_spinning == 1)
            phase = Phase::Spinning;
        else if (fixedCount == 0 && !m_everSpun)
            phase = Phase::Idle;
        switch (phase) {
        case Phase::Idle:
            Require(!fixAll, "idle, but Fix-all is enabled");
            Require(d.m_spinTimer == 0 && d.m_bannerTimer == 0, "idle, but a timer runs");
            break;
        case Phase::Spinning:
            Require(fixAll, "spinning, but Fix-all is disabled");
            Require(fixedCount < 6, "spinning with all six fixed");
            Require(d.m_spinTimer != 0, "spinning without the spin timer");
            Require(d.m_bannerTimer != 0, "spinning without the banner timer");
            break;
        case Phase::Stopped:
            Require(fixedCount == 6, "stopped with " + std::to_string(fixedCount) + " of six fixed");
            Require(!fixAll, "stopped, but Fix-all is enabled");
            Require(d.m_spinTimer == 0, "stopped, but the spin timer runs");
            break;
        }
        Require(::IsWindowEnabled(Item(IDC_START)) && ::IsWindowEnabled(Item(IDOK)), "Start or Exit disabled");
        Require(d.m_frameIndex >= 0 && d.m_frameIndex < TestDrawDlg::kFrameCount,
                "banner frame " + std::to_string(d.m_frameIndex));
        Require(d.m_bannerTimer != 0 || d.m_frameIndex == 0, "the banner rests on a rolling frame");

        if (phase == Phase::Spinning && m_phase != Phase::Spinning)
            ++m_drawsStarted;
        if (phase == Phase::Stopped && m_phase == Phase::Spinning)
            ++m_drawsFinished;
        m_everSpun = m_everSpun || phase == Phase::Spinning;
        m_phase = phase;
    }

    void CheckWindows()
    {
        const Census census = TakeCensus(Main());
        Require(census.mainSeen, "the main dialog is gone");
        for (const std::wstring& stray : census.strays)
            Require(false, "a window of class " + Utf8(stray));
        Require(census.abouts.size() <= 1, std::to_string(census.abouts.size()) + " About boxes");
        const HWND about = census.abouts.empty() ? nullptr : census.abouts.front()->m_hWnd;

        // An About box gone since the last check: its windows and pictures went with it.
        if (m_opening.about && m_opening.about != about) {
            Require(census.mascots.empty() && census.balloons.empty(), "a mascot or balloon outlived its About box");
            for (HWND tip : census.tooltips)
                Require(::GetWindow(tip, GW_OWNER) == Main(), "a tooltip outlived its About box");
            for (HGDIOBJ object : m_opening.objects)
                Require(::GetObjectType(object) == 0, "a picture or font of the mascot outlived its About box");
            m_opening = {};
        }
        if (about && m_opening.about != about) {
            m_opening.about = about;
            ++m_openings;
        }

        Require(::IsWindowEnabled(Main()) == !about,
                about ? "the main dialog is enabled under the About box" : "the main dialog stays disabled");
        int mainTips = 0, aboutTips = 0;
        for (HWND tip : census.tooltips) {
            const HWND owner = ::GetWindow(tip, GW_OWNER);
            mainTips += owner == Main();
            aboutTips += about && owner == about;
        }
        Require(mainTips + aboutTips == static_cast<int>(census.tooltips.size()), "a tooltip of no window of ours");
        Require(mainTips <= 1 && aboutTips <= 1, "a dialog with more than one tooltip");

        Require(census.mascots.size() <= 1, std::to_string(census.mascots.size()) + " mascots");
        CMascotDlg* mascot = census.mascots.empty() ? nullptr : census.mascots.front();
        if (about)
            Require(census.abouts.front()->*&TestAbout::m_pMascot == mascot, "the About box has lost its mascot");
        if (mascot)
            CheckMascot(mascot, about, census);
        else
            Require(census.balloons.empty(), "a balloon without a mascot");
    }

    void CheckMascot(CMascotDlg* mascot, HWND about, const Census& census)
    {
        Require(about && ::GetWindow(mascot->m_hWnd, GW_OWNER) == about, "a mascot without its About box");
        if (!m_opening.mascot) {
            m_opening.mascot = mascot->m_hWnd;
            ++m_mascots;
        }
        Require(m_opening.mascot == mascot->m_hWnd, "a second mascot in one opening");
        Record((mascot->*&TestMascot::m_image).m_hObject, OBJ_BITMAP, "the mascot's picture");
        Record((mascot->*&TestMascot::m_palette).m_hObject, OBJ_PAL, "the mascot's palette");

        // On the box's top edge, 16 pixels in and sunk 6, wherever the box went.
        const RECT box = WindowRect(about);
        const RECT stands = WindowRect(mascot->m_hWnd);
        Require(stands.left == box.left + 16 && stands.bottom == box.top + 6, "the mascot did not follow the box");

        CBalloonDlg* balloon = mascot->*&TestMascot::m_pBalloon;
        Require(census.balloons.size() <= 1, std::to_string(census.balloons.size()) + " balloons");
        for (CBalloonDlg* b : census.balloons)
            Require(b == balloon && ::GetWindow(b->m_hWnd, GW_OWNER) == mascot->m_hWnd,
                    "a balloon its mascot does not know");
        if (!balloon)
            return;
        Record((balloon->*&TestBalloon::m_image).m_hObject, OBJ_BITMAP, "the balloon's picture");
        Record((balloon->*&TestBalloon::m_font).m_hObject, OBJ_FONT, "the balloon's font");
        const RECT beside = WindowRect(balloon->m_hWnd);
        Require(beside.left == stands.right && beside.bottom == stands.bottom, "the balloon did not follow the mascot");
    }

    void Record(HGDIOBJ object, DWORD type, const char* what)
    {
        Require(::GetObjectType(object) == type, std::string(what) + " is missing");
        for (HGDIOBJ known : m_opening.objects)
            if (known == object)
                return;
        m_opening.objects.push_back(object);
    }

    static Stress* s_current;

    TestDrawDlg& m_dlg;
    const uint32_t m_seed;
    const long m_target;
    std::mt19937 m_rng;
    uint32_t m_totalWeight = 0;
    UINT_PTR m_timer = 0;

    bool m_inTick = false;
    bool m_failed = false;
    bool m_exitPressed = false;
    long m_finishTicks = 0;
    std::vector<std::string> m_problems;
    std::deque<std::string> m_recent;

    Phase m_phase = Phase::Idle;
    bool m_everSpun = false;
    std::vector<HGDIOBJ> m_bannerObjects;
    struct Opening {
        HWND about = nullptr;
        HWND mascot = nullptr;
        std::vector<HGDIOBJ> objects;
    } m_opening;

    long m_performed = 0, m_skipped = 0, m_ticks = 0;
    long m_counts[kKindCount] = {};
    long m_openings = 0, m_mascots = 0, m_farewells = 0, m_drawsStarted = 0, m_drawsFinished = 0;
    long m_clicksDelivered = 0, m_clicksSwallowed = 0;
};
Stress* Stress::s_current = nullptr;

uint32_t SeedFromEnvironmentOrClock()
{
    if (const char* text = std::getenv("VUKA6_STRESS_SEED"))
        return static_cast<uint32_t>(std::strtoul(text, nullptr, 10));
    return static_cast<uint32_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

long ActionsFromEnvironment()
{
    const char* text = std::getenv("VUKA6_STRESS_ACTIONS");
    const long count = text ? std::strtol(text, nullptr, 10) : 0;
    return count > 0 ? count : 10000;
}

TEST(Stress, RandomUserActionsKeepTheDrawAndTheWindowsSound)
{
    const uint32_t seed = SeedFromEnvironmentOrClock();
    const long actions = ActionsFromEnvironment();
    std::printf("stress: VUKA6_STRESS_SEED=%lu VUKA6_STRESS_ACTIONS=%ld\n", static_cast<unsigned long>(seed),
                actions);
    std::fflush(stdout);

    TestDrawDlg dlg;
    g_app.m_pMainWnd = &dlg;
    INT_PTR result = 0;
    std::vector<HGDIOBJ> bannerObjects;
    {
        Stress stress(dlg, seed, actions);
        const auto start = std::chrono::steady_clock::now();
        result = dlg.DoModal();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        stress.PrintSummary(took.count());
        g_app.m_pMainWnd = nullptr;
        ASSERT_FALSE(stress.Failed()) << "seed " << seed;
        ASSERT_TRUE(stress.Finished()) << "seed " << seed;
        if (actions >= 5000)
            stress.ExpectCoverage();
        bannerObjects = stress.BannerObjects();
    }

    EXPECT_EQ(IDOK, result) << "seed " << seed;
    EXPECT_EQ(nullptr, dlg.m_hWnd);
    const Census left = TakeCensus(nullptr);
    EXPECT_EQ(0, left.total) << "windows left behind; seed " << seed;
    ASSERT_EQ(2u * TestDrawDlg::kFrameCount, bannerObjects.size());
    for (HGDIOBJ object : bannerObjects)
        EXPECT_EQ(0u, ::GetObjectType(object)) << "a banner frame outlived the dialog; seed " << seed;
}

}  // namespace
