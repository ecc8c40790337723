// One session on the running program with one call of the program failing:
// the call named by VUKA6_FAULT=<function>:<index> (1 for its first call),
// or with VUKA6_FAULT=<function>:<index>+ that call and every later one of
// the function, as when memory or a system quota has run out and stays out.
// Without it, nothing fails and the calls of each function are counted and
// printed ("calls CreateRectRgn 611"); tests/fault_sweep.sh runs the session
// once for each index it chooses.
//
// Every run must show no crash, no hang and no exception let loose; every
// object and window the program made gone once the windows that owned them
// are; and a main dialog that, once shown, stays until Exit ends it. After a
// single fault, a draw of six different numbers and an About box that opens
// and closes must follow; with a resource exhausted, the parts that need it
// may stay missing.
//
// The program's timers tick only when the session posts their ticks, and the
// random source is seeded from a fixed clock, so that index N always meets
// the same call.
#include "FaultInjection.h"
#include "StressDriver.h"
#include "TestClock.h"
#include "TestWindows.h"
#include "WindowSpies.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace {

// The action of the given kind at the middle of its target, or at the given place.
Action At(Kind kind, double u0 = 0.5, double u1 = 0.5)
{
    return {static_cast<size_t>(kind), {u0, u1, 0.5, 0.0}};
}

// The session. A DPI change picks its window by u0 (the main dialog, the
// mascot, the balloon) and its DPI by u1 (0.6: 144 DPI).
const Action kSession[] = {
    // A draw with one toggle and Fix-all.
    At(Kind::ClickStart), At(Kind::SpinTick), At(Kind::BannerTick), At(Kind::ClickToggle, 2.5 / 6),
    At(Kind::ClickFixAll),
    // The About box from the banner with the mascot, a click, a chatter tick
    // and both pop-ups at another DPI.
    At(Kind::ClickBanner), At(Kind::ClickIcon), At(Kind::ClickMascot), At(Kind::HideTick), At(Kind::ChatterTick),
    At(Kind::DpiChange, 0.5, 0.6), At(Kind::DpiChange, 0.9, 0.6), At(Kind::BannerTick), At(Kind::CloseBox),
    // The About box from the system menu, closed with OK and the farewell.
    At(Kind::SystemMenuAbout), At(Kind::ClickIcon), At(Kind::ClickMascot), At(Kind::ClickOk),
    // The main dialog at another DPI, and a second draw.
    At(Kind::DpiChange, 0.1, 0.6), At(Kind::ClickStart), At(Kind::SpinTick), At(Kind::ClickFixAll),
};

// What shows that the rest still works after a fault: a draw, and the
// About box opened from the banner and closed.
const Action kProbe[] = {At(Kind::ClickStart), At(Kind::ClickFixAll), At(Kind::ClickBanner), At(Kind::CloseBox)};

// The session's actions, then probes until a draw has finished and an
// About box has opened since the fault.
class SweepSource {
public:
    std::optional<Action> Next(const StressDriver& d)
    {
        if (fault::Fired() && !m_sinceFault) {
            m_sinceFault = true;
            m_drawsBefore = d.invariants.drawsFinished;
            m_openingsBefore = d.invariants.openings;
        }
        if (m_next < m_actions.size())
            return m_actions[m_next++];
        if (!m_sinceFault || WorksSinceFault(d) || m_probesSinceFault == 2)
            return std::nullopt;
        m_actions.insert(m_actions.end(), std::begin(kProbe), std::end(kProbe));
        ++m_probesSinceFault;
        return m_actions[m_next++];
    }

    // False when the fault came before the session's end and, after it,
    // no draw finished or no About box opened.
    bool WorksSinceFault(const StressDriver& d) const
    {
        return !m_sinceFault ||
               (d.invariants.drawsFinished > m_drawsBefore && d.invariants.openings > m_openingsBefore);
    }

private:
    std::vector<Action> m_actions{std::begin(kSession), std::end(kSession)};
    size_t m_next = 0;
    bool m_sinceFault = false;
    long m_drawsBefore = 0, m_openingsBefore = 0;
    int m_probesSinceFault = 0;
};

struct Armed {
    fault::Function function = fault::kFunctionCount;
    long index = 0;
    bool exhausted = false;
};

Armed ArmedFromEnvironment()
{
    Armed armed;
    const char* text = std::getenv("VUKA6_FAULT");
    if (!text)
        return armed;
    const char* colon = std::strchr(text, ':');
    for (int f = 0; colon && f < fault::kFunctionCount; ++f)
        if (std::strncmp(text, fault::kFunctionNames[f], colon - text) == 0 &&
            fault::kFunctionNames[f][colon - text] == '\0') {
            char* end = nullptr;
            armed.function = static_cast<fault::Function>(f);
            armed.index = std::strtol(colon + 1, &end, 10);
            armed.exhausted = *end == '+';
        }
    return armed;
}

TEST(FaultSweep, TheProgramSurvivesFailingCalls)
{
    const Armed armed = ArmedFromEnvironment();
    const std::string where = armed.index > 0 ? std::string(fault::kFunctionNames[armed.function]) + ":" +
                                                    std::to_string(armed.index) + (armed.exhausted ? "+" : "")
                                              : std::string("no fault");
    ASSERT_TRUE(std::getenv("VUKA6_FAULT") == nullptr || armed.index > 0) << "VUKA6_FAULT=<function>:<index>[+]";
    ASSERT_TRUE(fault::Install());
    TestClock clock(1700000000u);

    // The main dialog lives on the stack, as in the program, so that its
    // storage is no allocation of the program's.
    std::optional<TestDrawDlg> dlg;
    SweepSource source;
    fault::Begin(armed.function, armed.index, armed.exhausted);
    // The program's start-up: the main dialog's constructor and DoModal.
    dlg.emplace();
    INT_PTR result = 0;
    bool mainMade = false, failed = false, finished = false, works = true;
    {
        std::optional<StressDriver> driver;
        {
            fault::FaultPause pause;
            g_app.m_pMainWnd = &*dlg;
            driver.emplace(*dlg, [&](const StressDriver& d) { return source.Next(d); }, where, 4000, true);
        }
        result = dlg->DoModal();
        fault::FaultPause pause;
        mainMade = driver->ticks > 0;
        failed = driver->Failed();
        finished = driver->Finished();
        works = source.WorksSinceFault(*driver);
    }
    fault::End();
    g_app.m_pMainWnd = nullptr;
    dlg.reset();

    if (armed.index == 0) {
        for (int f = 0; f < fault::kFunctionCount; ++f)
            std::printf("calls %s %ld\n", fault::kFunctionNames[f], fault::Calls(static_cast<fault::Function>(f)));
        std::fflush(stdout);
        EXPECT_TRUE(mainMade);
    } else {
        EXPECT_TRUE(fault::Fired()) << where << " never came: the session is not the same in every run";
    }
    EXPECT_FALSE(failed) << where;
    if (failed) {
        // The driver has said what broke; what follows would only repeat it.
    } else if (mainMade) {
        EXPECT_TRUE(finished) << where;
        EXPECT_EQ(IDOK, result) << where;
        EXPECT_TRUE(works || armed.exhausted) << where << ": after the fault, no draw finished or no About box opened";
    } else {
        // The program ends, as when DoModal fails.
        EXPECT_EQ(-1, result) << where;
    }
    EXPECT_EQ(0, TakeCensus(nullptr).total) << where << ": windows left behind";
    for (const fault::Made& made : fault::StillHeld())
        ADD_FAILURE() << where << ": what " << fault::kFunctionNames[made.by] << ":" << made.call
                      << " made outlived the windows";
}

}  // namespace
