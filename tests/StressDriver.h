// Plays a user on the running program: a thread timer carries out actions
// inside whichever modal loop is running and checks the invariants after
// every one. Once the source has no more actions, the driver closes the
// About box and presses Exit, which ends the main dialog's DoModal.
#pragma once

#include "ModalScript.h"
#include "StressActions.h"
#include "StressInvariants.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class StressDriver {
public:
    // The next action to play, or nothing once the run is over; it may
    // look at what the run has done so far.
    using Source = std::function<std::optional<Action>(const StressDriver&)>;

    // where names the run in every failure (its seed, say).
    StressDriver(TestDrawDlg& dlg, Source source, std::string where, long tickBudget, bool partsMayFail = false)
        : actions(dlg), invariants(dlg, partsMayFail), counts(kKindCount), m_dlg(dlg), m_source(std::move(source)),
          m_where(std::move(where)), m_tickBudget(tickBudget) {}

    bool Failed() const { return m_failed; }
    bool Finished() const { return m_sourceDone && m_exitPressed; }
    std::string Where() const { return m_where + ", action " + std::to_string(performed); }

    StressActions actions;
    StressInvariants invariants;
    long performed = 0, skipped = 0, ticks = 0;
    std::vector<long> counts;  // performed actions by kind

private:
    static constexpr int kActionsPerTick = 4;
    static constexpr int kDrawsPerTick = 64;

    void OnTick();
    void Play();
    void Finish();
    void Unwind();
    void Fail(const std::string& what);
    bool Check(const char* when);

    TestDrawDlg& m_dlg;
    Source m_source;
    const std::string m_where;
    const long m_tickBudget;

    bool m_inTick = false;
    bool m_failed = false;
    bool m_sourceDone = false;
    bool m_exitPressed = false;
    long m_finishTicks = 0;
    std::deque<std::string> m_recent;
    // Last: it ticks once everything else is there.
    ModalScript m_script{[this] { OnTick(); return true; }, USER_TIMER_MINIMUM};
};
