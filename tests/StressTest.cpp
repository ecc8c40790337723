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
#include "StressActions.h"
#include "StressInvariants.h"
#include "TestWindows.h"
#include "WindowSpies.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <random>
#include <string>
#include <vector>

namespace {

class Stress {
public:
    Stress(TestDrawDlg& dlg, uint32_t seed, long target)
        : m_dlg(dlg), m_actions(dlg), m_invariants(dlg), m_seed(seed), m_target(target), m_rng(seed)
    {
        for (size_t k = 0; k < kKindCount; ++k)
            m_totalWeight += kKinds[k].weight;
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
    const std::vector<HGDIOBJ>& BannerObjects() const { return m_invariants.BannerObjects(); }
    std::string Where() const { return "seed " + std::to_string(m_seed) + ", action " + std::to_string(m_performed); }

    void PrintSummary(double seconds) const
    {
        std::printf("stress: %ld actions (%ld draws skipped as inapplicable) in %.1f s, %ld ticks\n", m_performed,
                    m_skipped, seconds, m_ticks);
        std::printf("stress: %ld About openings, %ld mascots, %ld farewells, %ld draws started, %ld finished\n",
                    m_invariants.openings, m_invariants.mascots, m_actions.farewells, m_invariants.drawsStarted, m_invariants.drawsFinished);
        std::printf("stress: %ld clicks delivered, %ld swallowed by a disabled window or the desktop\n",
                    m_actions.clicksDelivered, m_actions.clicksSwallowed);
        for (size_t k = 0; k < kKindCount; ++k)
            std::printf("stress:   %-18s %ld\n", kKinds[k].name, m_counts[k]);
        std::fflush(stdout);
    }

    // What a long enough run must have reached, or it tested little.
    void ExpectCoverage() const
    {
        EXPECT_GT(m_invariants.openings, 10) << Where();
        EXPECT_GT(m_invariants.mascots, 5) << Where();
        EXPECT_GT(m_actions.farewells, 0) << Where();
        EXPECT_GT(m_invariants.drawsFinished, 10) << Where();
        EXPECT_GT(m_actions.clicksDelivered, m_target / 4) << Where();
        EXPECT_GT(m_actions.clicksSwallowed, 0) << Where();
    }

private:
    static constexpr int kActionsPerTick = 4;
    static constexpr int kDrawsPerTick = 64;

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
            const Result result = m_actions.Apply(action, note);
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

    // After the last action: the About box goes, then Exit ends the dialog.
    void Finish()
    {
        if (m_exitPressed) {
            if (++m_finishTicks > 500)
                Fail("Exit did not end the main dialog");
            return;
        }
        if (const CAboutDlg* about = AboutOnScreen(Main())) {
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
        if (CAboutDlg* about = AboutOnScreen(Main()))
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
        const std::vector<std::string> problems = m_invariants.Check();
        if (problems.empty())
            return true;
        std::string all = when;
        for (const std::string& problem : problems)
            all += "\n  " + problem;
        Fail(all);
        return false;
    }

    static Stress* s_current;

    TestDrawDlg& m_dlg;
    StressActions m_actions;
    StressInvariants m_invariants;
    const uint32_t m_seed;
    const long m_target;
    std::mt19937 m_rng;
    uint32_t m_totalWeight = 0;
    UINT_PTR m_timer = 0;

    bool m_inTick = false;
    bool m_failed = false;
    bool m_exitPressed = false;
    long m_finishTicks = 0;
    std::deque<std::string> m_recent;

    long m_performed = 0, m_skipped = 0, m_ticks = 0;
    std::vector<long> m_counts = std::vector<long>(kKindCount);
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
