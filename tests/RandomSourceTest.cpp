// The generator's sequence is part of the program's behaviour: these pin it
// to the published constants of the classic C library generator.
#include "RandomSource.h"
#include "TestClock.h"

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

}  // namespace

TEST(RandomSource, SeedOneGivesThePublishedSequence)
{
    RandomSource::Seed(1);
    const int expected[] = {41, 18467, 6334, 26500, 19169};
    for (int value : expected)
        EXPECT_EQ(value, RandomSource::Next());
}

// Every raw value r that Next() can give rolls to r * n / 32768, rounded
// down, for each n the program rolls with: each result comes from 32768 / n
// raw values, or one more.
TEST(RandomSource, EveryRawValueRollsRoundedDown)
{
    for (int n : {44, 51, 57}) {
        for (int r = 0; r <= RandomSource::kMax; ++r) {
            RandomSource::Seed(SeedForNext(r));
            ASSERT_EQ(r, RandomSource::Next()) << "the test's own inverse is wrong";
            RandomSource::Seed(SeedForNext(r));
            ASSERT_EQ(r * n / 32768, RandomSource::Roll(n)) << "raw value " << r << ", n " << n;
        }
    }
}

TEST(RandomSource, SeedFromClockUsesTheClockInWholeSeconds)
{
    const TestClock clock{1234567u};
    RandomSource::SeedFromClock();
    const int first = RandomSource::Next();
    RandomSource::Seed(1234567u);
    EXPECT_EQ(RandomSource::Next(), first);
}
