// The calendar as the tests set it: while a TestClock lives, the random
// source reseeds from g_now instead of the system clock.
#pragma once

#include "RandomSource.h"

#include <cstdint>

inline uint32_t g_now = 0;

class TestClock {
public:
    explicit TestClock(uint32_t now)
    {
        g_now = now;
        RandomSource::SetClock([] { return g_now; });
    }
    ~TestClock() { RandomSource::SetClock(nullptr); }
    TestClock(const TestClock&) = delete;
    TestClock& operator=(const TestClock&) = delete;
};
