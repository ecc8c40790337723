#include "DrawEngine.h"

#include "RandomSource.h"
#include "resource.h"

void DrawEngine::Start()
{
    RandomSource::SeedFromClock();
    for (uint8_t& slot : m_slots)
        slot = 0;
    EnableFixControls(true);
    SetFixChecks(false);
    m_spinning = 1;
    // A running timer keeps running: Start never makes a second one, nor
    // changes the banner's phase.
    if (m_spinTimer == 0)
        m_spinTimer = StartTimer(ID_TIMER_SPIN, kSpinPeriodMs);
    if (m_bannerTimer == 0)
        m_bannerTimer = StartTimer(ID_TIMER_BANNER, kBannerPeriodMs);
}

void DrawEngine::SpinTick()
{
    // A tick queued before a stop arrives after it.
    if (m_spinning != 1)
        return;
    for (int i = 0; i < kSlotCount; ++i) {
        if (m_slots[i] == 0)
            ShowNumber(i, RandomSource::Roll(kHighestNumber + 1));
    }
}

void DrawEngine::FixSlot(int slot)
{
    // The push-like check box has toggled itself already; a second click
    // must not uncheck a fixed slot, so it is checked and locked here.
    CheckFix(slot);
    DisableFix(slot);
    if (m_slots[slot] == 0) {
        m_slots[slot] = static_cast<uint8_t>(PickUniqueNumber());
        ShowNumber(slot, m_slots[slot]);
    }
    if (AllFixed()) {
        StopSpinning();
        DisableFixAll();
    }
}

void DrawEngine::FixAll()
{
    BeginWait();
    SetFixChecks(true);
    EnableFixControls(false);
    for (int i = 0; i < kSlotCount; ++i) {
        if (m_slots[i] == 0) {
            m_slots[i] = static_cast<uint8_t>(PickUniqueNumber());
            ShowNumber(i, m_slots[i]);
        }
        // The generator moves on by the slot's value before the next pick,
        // whoever fixed it: the six numbers a seed gives depend on this.
        if (i < kSlotCount - 1) {
            for (int n = 0; n < m_slots[i]; ++n)
                RandomSource::Next();
        }
    }
    StopSpinning();
    EndWait();
}

int DrawEngine::PickUniqueNumber()
{
    int number = RandomSource::Roll(kHighestNumber + 1);
    for (int i = 0; i < kSlotCount;) {
        if (m_slots[i] == number) {
            number = RandomSource::Roll(kHighestNumber + 1);
            i = 0;
        } else {
            ++i;
        }
    }
    return number;
}

bool DrawEngine::AllFixed() const
{
    for (uint8_t slot : m_slots) {
        if (slot == 0)
            return false;
    }
    return true;
}

// The banner timer is left alone: the banner finishes its pass by itself.
void DrawEngine::StopSpinning()
{
    m_spinning = 0;
    StopTimerAndClear(m_spinTimer);
}

void DrawEngine::StopTimerAndClear(uint32_t& handle)
{
    if (handle != 0)
        StopTimer(handle);
    handle = 0;
}
