// The program's one pseudo-random generator. Its sequence after a seed is
// part of the program's behaviour, so it is a fixed linear congruential
// generator, never a library one.
#pragma once

#include <cstdint>

class RandomSource {
public:
    // Seconds since 1970-01-01 UTC, low 32 bits.
    using Clock = uint32_t (*)();

    static void Seed(uint32_t seed);
    static void SeedFromClock();

    // The next value, 0 to 32767.
    static int Next();

    // The next value scaled to 0 .. n - 1: floor(Next() * n / 32768).
    static int Roll(int n);

    // Replaces the clock; null restores the real one. For tests.
    static void SetClock(Clock clock);

    static constexpr int kMax = 32767;
};
