// The draw engine against a fake main dialog that keeps the controls'
// state, and a small model of the draw written from its rules.
#include "DrawEngine.h"
#include "RandomSource.h"
#include "TestClock.h"
#include "resource.h"
#include "DrawModel.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <random>
#include <set>

namespace {

class FakeDialog : public DrawEngine {
public:
    // Controls as the template leaves them.
    std::array<int, 6> labels{-1, -1, -1, -1, -1, -1};  // -1: the template's letter
    std::array<bool, 6> checked{};
    std::array<bool, 6> toggleEnabled{};
    bool fixAllEnabled = false;
    std::map<uint32_t, int> timersStarted;  // id -> number of SetTimer calls
    std::map<uint32_t, uint32_t> periods;    // id -> milliseconds asked for
    std::set<uint32_t> running;
    std::vector<uint32_t> stopped;
    int waitDepth = 0;
    int maxWaitDepth = 0;
    bool refuseTimers = false;
    std::vector<int> spunSlots;  // slots a spin tick wrote to

    using DrawEngine::m_bannerTimer;
    using DrawEngine::m_slots;
    using DrawEngine::m_spinning;
    using DrawEngine::m_spinTimer;

    std::array<int, 6> Slots() const { return {m_slots[0], m_slots[1], m_slots[2], m_slots[3], m_slots[4], m_slots[5]}; }

protected:
    void ShowNumber(int slot, int value) override { labels[slot] = value; spunSlots.push_back(slot); }
    void CheckFix(int slot) override { checked[slot] = true; }
    void SetFixChecks(bool c) override { checked.fill(c); }
    void DisableFix(int slot) override { toggleEnabled[slot] = false; }
    void DisableFixAll() override { fixAllEnabled = false; }
    void EnableFixControls(bool enable) override { fixAllEnabled = enable; toggleEnabled.fill(enable); }
    uint32_t StartTimer(uint32_t id, uint32_t periodMs) override
    {
        ++timersStarted[id];
        periods[id] = periodMs;
        if (refuseTimers)
            return 0;
        running.insert(id);
        return id;
    }
    void StopTimer(uint32_t handle) override { stopped.push_back(handle); running.erase(handle); }
    void BeginWait() override { maxWaitDepth = std::max(maxWaitDepth, ++waitDepth); }
    void EndWait() override { --waitDepth; }
};

}  // namespace

class DrawEngineTest : public ::testing::Test {
protected:
    TestClock clock{1700000000u};

    // The invariants of a running or stopped draw, checked on the fake's controls.
    static void ExpectConsistent(const FakeDialog& d)
    {
        std::set<int> seen;
        for (int i = 0; i < 6; ++i) {
            const int v = d.m_slots[i];
            if (v == 0) {
                EXPECT_TRUE(d.toggleEnabled[i]) << i;
                EXPECT_FALSE(d.checked[i]) << i;
                continue;
            }
            EXPECT_GE(v, 1);
            EXPECT_LE(v, 43);
            EXPECT_TRUE(seen.insert(v).second) << "duplicate " << v;
            EXPECT_EQ(v, d.labels[i]);
            EXPECT_TRUE(d.checked[i]);
            EXPECT_FALSE(d.toggleEnabled[i]);
        }
        if (d.m_spinning == 0) {
            EXPECT_EQ(6u, seen.size());
            EXPECT_FALSE(d.fixAllEnabled);
            EXPECT_EQ(0u, d.running.count(ID_TIMER_SPIN));
        }
    }
};

// Toggles keep their numbers; Fix-all fixes the rest, stirred by the
// numbers before them.
TEST_F(DrawEngineTest, TogglesThenFixAllGiveTheModelsNumbers)
{
    for (uint32_t seed : {0u, 1u, 42u, 0xFFFFFFFFu, 1700000000u, 2000000000u}) {
        g_now = seed;
        FakeDialog d;
        d.Start();
        d.FixSlot(4);
        d.FixSlot(1);
        d.FixAll();
        // Under the wait cursor; the spin stops, the banner rolls on.
        EXPECT_EQ(1, d.maxWaitDepth);
        EXPECT_EQ(0, d.waitDepth);
        EXPECT_EQ(0, d.m_spinning);
        EXPECT_EQ(std::vector<uint32_t>{ID_TIMER_SPIN}, d.stopped);
        EXPECT_EQ(1u, d.running.count(ID_TIMER_BANNER));
        uint32_t after = 0;
        EXPECT_EQ(ModelDraw(seed, {4, 1}, &after), d.Slots()) << "seed " << seed;
        EXPECT_EQ(ModelLcg{after}.Next(), RandomSource::Next()) << "the values Fix-all stirs in, seed " << seed;
        ExpectConsistent(d);
    }
}

TEST_F(DrawEngineTest, RandomSessionsKeepTheInvariants)
{
    std::mt19937 actions(20261208u);
    for (int session = 0; session < 500; ++session) {
        g_now = actions();
        FakeDialog d;
        d.Start();
        for (int step = 0; step < 40; ++step) {
            d.spunSlots.clear();
            switch (actions() % 6) {
            case 0: d.Start(); break;
            case 1: if (d.fixAllEnabled) d.FixAll(); break;
            case 2: case 3: {
                // Only an enabled toggle can be clicked.
                const int slot = static_cast<int>(actions() % 6);
                if (d.toggleEnabled[slot])
                    d.FixSlot(slot);
                break;
            }
            default: {
                const auto before = d.Slots();
                d.SpinTick();
                for (int slot : d.spunSlots) {
                    EXPECT_EQ(0, before[slot]) << "a fixed slot rolled";
                    EXPECT_GE(d.labels[slot], 0);
                    EXPECT_LE(d.labels[slot], 43);
                }
                if (d.m_spinning != 1) {
                    EXPECT_TRUE(d.spunSlots.empty());
                }
            }
            }
            ExpectConsistent(d);
            ASSERT_FALSE(HasFailure()) << "session " << session << " step " << step;
        }
    }
}

TEST_F(DrawEngineTest, SpinningLabelsMayShowZeroAndRepeat)
{
    g_now = 3;
    FakeDialog d;
    d.Start();
    // Each tick rolls 0 to 43 for every slot, left to right, with no check
    // against zero or the other labels: the model's rolls, zeros and repeats too.
    ModelLcg model{3};
    for (int tick = 0; tick < 200; ++tick) {
        d.SpinTick();
        for (int slot = 0; slot < 6; ++slot)
            ASSERT_EQ(model.Roll44(), d.labels[slot]) << "tick " << tick << ", slot " << slot;
    }
}

TEST_F(DrawEngineTest, TimersStartOnceAndOnlyTheSpinTimerStopsWithTheDraw)
{
    FakeDialog d;
    d.Start();
    d.Start();
    d.FixSlot(0);
    d.Start();
    EXPECT_EQ(1, d.timersStarted[ID_TIMER_SPIN]);
    EXPECT_EQ(1, d.timersStarted[ID_TIMER_BANNER]);
    EXPECT_EQ((std::map<uint32_t, uint32_t>{{ID_TIMER_SPIN, 64}, {ID_TIMER_BANNER, 768}}), d.periods);
    EXPECT_EQ(ID_TIMER_SPIN, d.m_spinTimer);
    EXPECT_EQ(ID_TIMER_BANNER, d.m_bannerTimer);

    for (int slot : {5, 3, 0, 1, 4}) {
        d.FixSlot(slot);
        EXPECT_EQ(1, d.m_spinning);
        EXPECT_TRUE(d.fixAllEnabled);
        EXPECT_TRUE(d.stopped.empty());
    }
    d.FixSlot(2);
    EXPECT_EQ(0, d.m_spinning);
    EXPECT_EQ(0u, d.m_spinTimer);
    EXPECT_FALSE(d.fixAllEnabled);
    EXPECT_EQ(std::vector<uint32_t>{ID_TIMER_SPIN}, d.stopped);
    EXPECT_EQ(1u, d.running.count(ID_TIMER_BANNER)) << "the banner finishes its pass by itself";

    // A new draw starts the spin timer again but leaves the banner's alone.
    d.Start();
    EXPECT_EQ(2, d.timersStarted[ID_TIMER_SPIN]);
    EXPECT_EQ(1, d.timersStarted[ID_TIMER_BANNER]);
}

TEST_F(DrawEngineTest, ARefusedTimerIsTriedAgainByTheNextStart)
{
    FakeDialog d;
    d.refuseTimers = true;
    d.Start();
    EXPECT_EQ(0u, d.m_spinTimer);
    EXPECT_EQ(0u, d.m_bannerTimer);
    d.FixAll();
    EXPECT_TRUE(d.stopped.empty()) << "no handle, nothing to stop";
    d.refuseTimers = false;
    d.Start();
    EXPECT_EQ(2, d.timersStarted[ID_TIMER_SPIN]);
    EXPECT_EQ(ID_TIMER_SPIN, d.m_spinTimer);
    EXPECT_EQ(ID_TIMER_BANNER, d.m_bannerTimer);
}
