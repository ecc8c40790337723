// The generator's sequence is part of the program's behaviour: these pin it
// to the published constants of the classic C library generator.
#include "RandomSource.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

// The inverse of the multiplier modulo 2^32, by Newton's iteration, so that
// a test can choose the value Next() returns without trusting the generator.
uint32_t InverseOfMultiplier()
{
    const uint32_t a = 214013u;
    uint32_t x = a;  // correct to 3 bits for odd a
    for (int i = 0; i < 5; ++i)
        x *= 2u - a * x;
    return x;
}

// A seed after which Next() returns r (with the state's top bit clear).
uint32_t SeedForNext(int r)
{
    const uint32_t wanted = static_cast<uint32_t>(r) << 16;
    return (wanted - 2531011u) * InverseOfMultiplier();
}

uint32_t FixedClock()
{
    return 1234567u;
}

}  // namespace

TEST(RandomSource, SeedOneGivesThePublishedSequence)
{
    RandomSource::Seed(1);
    const int expected[] = {41, 18467, 6334, 26500, 19169};
    for (int value : expected)
        EXPECT_EQ(value, RandomSource::Next());

    RandomSource::Seed(1);
    const int rolls[] = {0, 24, 8, 35, 25};
    for (int value : rolls)
        EXPECT_EQ(value, RandomSource::Roll(44));
}

// The raw value r that Next() gives rolls to r * n / 32768, rounded down.
struct Roll {
    int raw, n, rolled;
};

class RollBoundaries : public ::testing::TestWithParam<Roll> {};

TEST_P(RollBoundaries, RoundDown)
{
    RandomSource::Seed(SeedForNext(GetParam().raw));
    ASSERT_EQ(GetParam().raw, RandomSource::Next()) << "the test's own inverse is wrong";
    RandomSource::Seed(SeedForNext(GetParam().raw));
    EXPECT_EQ(GetParam().rolled, RandomSource::Roll(GetParam().n));
}

INSTANTIATE_TEST_SUITE_P(RandomSource, RollBoundaries,
                         ::testing::Values(Roll{744, 44, 0}, Roll{745, 44, 1}, Roll{1489, 44, 1}, Roll{1490, 44, 2},
                                           Roll{32767, 44, 43}, Roll{32767, 51, 50}, Roll{32767, 57, 56},
                                           Roll{0, 57, 0}));

TEST(RandomSource, EveryRollValueComesFromEquallyManyRawValues)
{
    struct Case { int n, fewer, more; };
    for (const Case c : {Case{44, 744, 745}, Case{51, 642, 643}, Case{57, 574, 575}}) {
        int counts[64] = {};
        for (int r = 0; r <= RandomSource::kMax; ++r) {
            RandomSource::Seed(SeedForNext(r));
            const int value = RandomSource::Roll(c.n);
            ASSERT_GE(value, 0);
            ASSERT_LT(value, c.n);
            ++counts[value];
        }
        for (int v = 0; v < c.n; ++v) {
            EXPECT_TRUE(counts[v] == c.fewer || counts[v] == c.more) << "n=" << c.n << " value " << v;
        }
    }
}

TEST(RandomSource, SeedFromClockUsesTheClockInWholeSeconds)
{
    RandomSource::SetClock(FixedClock);
    RandomSource::SeedFromClock();
    const int first = RandomSource::Next();
    RandomSource::Seed(1234567u);
    EXPECT_EQ(RandomSource::Next(), first);
    RandomSource::SetClock(nullptr);
}
