// The draw: six slots that spin until they are fixed, one by one with
// their toggles or all at once, always as six different numbers 1 to 43.
//
// The engine knows no window. It reaches the main dialog only through the
// window operations below, which the dialog implements on its controls;
// tests implement them on a recording fake.
#pragma once

#include <cstdint>

class DrawEngine {
public:
    static constexpr int kSlotCount = 6;
    static constexpr int kHighestNumber = 43;
    static constexpr uint32_t kSpinPeriodMs = 64;
    static constexpr uint32_t kBannerPeriodMs = 768;

    void Start();
    void SpinTick();
    void FixSlot(int slot);
    void FixAll();

    // A number 1 to 43 that no slot holds. Called only while at least one
    // slot holds 0, which is why the result can never be 0.
    int PickUniqueNumber();
    bool AllFixed() const;

protected:
    DrawEngine() = default;
    ~DrawEngine() = default;

    // Window operations, in the main dialog's terms.
    virtual void ShowNumber(int slot, int value) = 0;
    virtual void CheckFix(int slot) = 0;
    virtual void SetFixChecks(bool checked) = 0;
    virtual void DisableFix(int slot) = 0;
    virtual void DisableFixAll() = 0;
    virtual void EnableFixControls(bool enable) = 0;
    // Returns the timer's handle, 0 when the window system refused it.
    virtual uint32_t StartTimer(uint32_t id, uint32_t periodMs) = 0;
    virtual void StopTimer(uint32_t handle) = 0;
    virtual void BeginWait() = 0;
    virtual void EndWait() = 0;

    // 0 = not fixed; 1 to 43 = the number fixed in the slot, left to right.
    uint8_t m_slots[kSlotCount] = {};
    // Timer handles, 0 while the timer does not run.
    uint32_t m_spinTimer = 0;
    uint32_t m_bannerTimer = 0;
    // 1 while the numbers spin.
    uint8_t m_spinning = 0;

    // Stops the timer whose handle is kept in handle, if one runs, and
    // clears the handle.
    void StopTimerAndClear(uint32_t& handle);

private:
    void StopSpinning();
};
