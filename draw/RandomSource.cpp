#include "RandomSource.h"

#include <ctime>

namespace {

uint32_t SystemClock()
{
    return static_cast<uint32_t>(std::time(nullptr));
}

// One state for the whole program: everything runs on the user-interface
// thread. 1 is the state before the first seeding.
uint32_t state = 1;
RandomSource::Clock currentClock = SystemClock;

}  // namespace

void RandomSource::Seed(uint32_t seed)
{
    state = seed;
}

void RandomSource::SeedFromClock()
{
    Seed(currentClock());
}

int RandomSource::Next()
{
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFF);
}

int RandomSource::Roll(int n)
{
    // Exact: the product fits in 32 bits for every n the program uses.
    return static_cast<int>((static_cast<uint32_t>(Next()) * static_cast<uint32_t>(n)) >> 15);
}

void RandomSource::SetClock(Clock replacement)
{
    currentClock = replacement ? replacement : SystemClock;
}
