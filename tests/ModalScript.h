// Plays the user's part inside whatever modal loop is running: a thread
// timer calls the script at every tick, in the loop of the dialog that is
// up, until the script says it is done. One script runs at a time.
#pragma once

#include "CDialog.h"
#include "CToolTipCtrl.h"
#include "FaultInjection.h"

#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

class ModalScript {
public:
    // tick runs at every tick for as long as it returns true.
    ModalScript(std::function<bool()> tick, UINT periodMs) : m_tick(std::move(tick))
    {
        s_current = this;
        // The test's timer, not one the program made.
        const fault::FaultPause pause;
        m_timer = ::SetTimer(nullptr, 0, periodMs, &ModalScript::Tick);
    }
    // The steps, one a tick, in order.
    explicit ModalScript(std::vector<std::function<void()>> steps)
        : ModalScript(
              [steps = std::move(steps), next = size_t{0}]() mutable {
                  if (next < steps.size())
                      steps[next++]();
                  return next < steps.size();
              },
              20)
    {
    }
    ~ModalScript()
    {
        ::KillTimer(nullptr, m_timer);
        s_current = nullptr;
    }
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    bool Finished() const { return m_finished; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        ModalScript* script = s_current;
        if (script && !script->m_finished)
            script->m_finished = !script->m_tick();
    }

    static inline ModalScript* s_current = nullptr;
    std::function<bool()> m_tick;
    UINT_PTR m_timer = 0;
    bool m_finished = false;
};

// Runs the dialog modally with the pointer come to rest on its control id,
// as a user points at it, until the tooltip shows or three seconds have
// passed, then cancels it. True when the tip showed and a press left it up.
inline bool PointingShowsTip(CDialog& dialog, int id, CToolTipCtrl& tooltip)
{
    bool pointed = false, shown = false;
    const DWORD start = ::GetTickCount();
    ModalScript script(
        [&] {
            const HWND control = ::GetDlgItem(dialog.m_hWnd, id);
            if (!pointed) {
                RECT rect{};
                ::GetWindowRect(control, &rect);
                const int width = rect.right - rect.left, height = rect.bottom - rect.top;
                ::SetCursorPos(rect.left + width / 2, rect.top + height / 2);
                ::PostMessageW(control, WM_MOUSEMOVE, 0, MAKELPARAM(width / 2, height / 2));
                pointed = true;
            }
            shown = ::IsWindowVisible(tooltip.m_hWnd) != FALSE;
            if (shown) {
                // Only the pointer's moves reach the tip: a press leaves it up.
                MSG press{control, WM_LBUTTONDOWN, MK_LBUTTON, 0, ::GetTickCount(), {}};
                tooltip.RelayMouseMove(&press);
                shown = ::IsWindowVisible(tooltip.m_hWnd) != FALSE;
            }
            if (!shown && ::GetTickCount() - start < 3000)
                return true;
            ::PostMessageW(dialog.m_hWnd, WM_COMMAND, IDCANCEL, 0);
            return false;
        },
        50);
    dialog.DoModal();
    return shown;
}
