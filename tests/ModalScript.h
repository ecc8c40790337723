// Plays the user's part inside whatever modal loop is running: a thread
// timer calls the script at every tick, in the loop of the dialog that is
// up, until the script says it is done. One script runs at a time.
#pragma once

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
