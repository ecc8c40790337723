#include "StressDriver.h"

#include "FaultInjection.h"
#include "TestWindows.h"
#include "resource.h"

#include <gtest/gtest.h>

void StressDriver::OnTick()
{
    // The driver's own calls are not the program's: the fault sweep must
    // neither count nor fail them.
    fault::FaultPause pause;
    // An action must never run a message loop of its own inside a tick.
    if (m_inTick) {
        Fail("a tick ran inside a tick");
        return;
    }
    m_inTick = true;
    ++ticks;
    if (m_failed)
        Unwind();
    else if (ticks > m_tickBudget)
        Fail("no progress: " + std::to_string(ticks) + " ticks");
    else if (Check("at the tick"))
        m_sourceDone ? Finish() : Play();
    m_inTick = false;
}

void StressDriver::Play()
{
    int done = 0;
    for (int draws = 0; draws < kDrawsPerTick && done < kActionsPerTick; ++draws) {
        const std::optional<Action> action = m_source(*this);
        if (!action) {
            m_sourceDone = true;
            return;
        }
        std::string note;
        const Result result = actions.Apply(*action, note);
        if (result == Result::Skipped) {
            ++skipped;
            continue;
        }
        ++performed;
        ++done;
        ++counts[action->kind];
        m_recent.push_back("#" + std::to_string(performed) + " " + kKinds[action->kind].name +
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
void StressDriver::Finish()
{
    if (m_exitPressed) {
        if (++m_finishTicks > 500)
            Fail("Exit did not end the main dialog");
        return;
    }
    if (const CAboutDlg* about = AboutOnScreen(m_dlg.m_hWnd)) {
        if (++m_finishTicks > 500)
            Fail("the About box does not close");
        ::PostMessageW(about->m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        return;
    }
    const HWND exit = m_dlg.Item(IDOK);
    const POINT point = PointIn(WindowRect(exit), 0.5, 0.5);
    if (ClickTarget(point) != exit) {
        Fail("a click on Exit does not reach it");
        return;
    }
    PostClick(exit, point, false);
    m_exitPressed = true;
    m_finishTicks = 0;
}

// After a failure: close whatever is open, so that DoModal returns and
// the test can report.
void StressDriver::Unwind()
{
    if (CAboutDlg* about = AboutOnScreen(m_dlg.m_hWnd))
        about->EndDialog(IDCANCEL);
    else
        m_dlg.EndDialog(IDABORT);
}

void StressDriver::Fail(const std::string& what)
{
    std::string recent;
    for (const std::string& line : m_recent)
        recent += "\n    " + line;
    ADD_FAILURE() << Where() << ": " << what << "\n  the last actions:" << recent;
    m_failed = true;
}

// Collects the broken rules of one check; false when there was one.
bool StressDriver::Check(const char* when)
{
    const std::vector<std::string> problems = invariants.Check();
    if (problems.empty())
        return true;
    std::string all = when;
    for (const std::string& problem : problems)
        all += "\n  " + problem;
    Fail(all);
    return false;
}
