// The running program under random user actions, its main dialog run
// modally as the program runs it, with StressDriver playing the user.
//
//   tests/wine-run.sh build/mingw/tests/stress_tests.exe
//
// prints the seed and the action count first, and every failure repeats the
// seed. VUKA6_STRESS_SEED=<seed> replays the same action sequence (what an
// action meets can still differ where it depends on timing: the spin, the
// balloon's timers, which window has the focus); VUKA6_STRESS_ACTIONS=<n>
// sets the count (10,000 take about a minute and a half under Wine on two cores).
#include "StressDriver.h"
#include "TestWindows.h"
#include "WindowSpies.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>

namespace {

TEST(Stress, RandomUserActionsKeepTheDrawAndTheWindowsSound)
{
    const char* seedText = std::getenv("VUKA6_STRESS_SEED");
    const uint32_t seed = seedText ? static_cast<uint32_t>(std::strtoul(seedText, nullptr, 10))
                                   : static_cast<uint32_t>(std::chrono::system_clock::now().time_since_epoch().count());
    const char* countText = std::getenv("VUKA6_STRESS_ACTIONS");
    const long asked = countText ? std::strtol(countText, nullptr, 10) : 0;
    const long actions = asked > 0 ? asked : 10000;
    std::printf("stress: VUKA6_STRESS_SEED=%lu VUKA6_STRESS_ACTIONS=%ld\n", static_cast<unsigned long>(seed),
                actions);
    std::fflush(stdout);

    TestDrawDlg dlg;
    g_app.m_pMainWnd = &dlg;
    INT_PTR result = 0;
    {
        // Actions drawn at random by their kinds' weights, until the count
        // has been carried out.
        std::mt19937 rng(seed);
        uint32_t totalWeight = 0;
        for (size_t k = 0; k < kKindCount; ++k)
            totalWeight += kKinds[k].weight;
        long reported = 0;
        const auto random = [&](const StressDriver& d) -> std::optional<Action> {
            if (d.performed == actions)
                return std::nullopt;
            // A long run shows that it is still going.
            if (d.performed > 0 && d.performed % 10000 == 0 && d.performed != reported) {
                reported = d.performed;
                std::printf("stress: %ld actions done\n", d.performed);
                std::fflush(stdout);
            }
            Action action{};
            uint32_t pick = static_cast<uint32_t>(rng()) % totalWeight;
            while (pick >= kKinds[action.kind].weight)
                pick -= kKinds[action.kind++].weight;
            for (double& u : action.u)
                u = static_cast<double>(rng()) / 4294967296.0;
            return action;
        };
        StressDriver driver(dlg, random, "seed " + std::to_string(seed), 20 * actions + 2000);
        const auto start = std::chrono::steady_clock::now();
        result = dlg.DoModal();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        const StressDriver& d = driver;
        std::printf("stress: %ld actions (%ld draws skipped as inapplicable) in %.1f s, %ld ticks\n", d.performed,
                    d.skipped, took.count(), d.ticks);
        std::printf("stress: %ld About openings, %ld mascots, %ld farewells, %ld draws started, %ld finished\n",
                    d.invariants.openings, d.invariants.mascots, d.actions.farewells, d.invariants.drawsStarted,
                    d.invariants.drawsFinished);
        std::printf("stress: %ld clicks delivered, %ld swallowed by a disabled window or the desktop\n",
                    d.actions.clicksDelivered, d.actions.clicksSwallowed);
        for (size_t k = 0; k < kKindCount; ++k)
            std::printf("stress:   %-18s %ld\n", kKinds[k].name, d.counts[k]);
        std::fflush(stdout);
        g_app.m_pMainWnd = nullptr;
        ASSERT_FALSE(driver.Failed()) << "seed " << seed;
        ASSERT_TRUE(driver.Finished()) << "seed " << seed;
        // What a long enough run must have reached, or it tested little.
        if (actions >= 5000) {
            EXPECT_GT(d.invariants.openings, 10) << d.Where();
            EXPECT_GT(d.invariants.mascots, 5) << d.Where();
            EXPECT_GT(d.actions.farewells, 0) << d.Where();
            EXPECT_GT(d.invariants.drawsFinished, 10) << d.Where();
            EXPECT_GT(d.actions.clicksDelivered, actions / 4) << d.Where();
            EXPECT_GT(d.actions.clicksSwallowed, 0) << d.Where();
        }
    }

    EXPECT_EQ(IDOK, result) << "seed " << seed;
    EXPECT_EQ(nullptr, dlg.m_hWnd);
    const Census left = TakeCensus(nullptr);
    EXPECT_EQ(0, left.total) << "windows left behind; seed " << seed;
}

}  // namespace
