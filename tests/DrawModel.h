// A small model of the draw, written from its rules rather than from the
// engine, so that tests can compute the numbers a seed must give.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

// The classic generator, written again so the expectations do not come
// from the code under test.
struct ModelLcg {
    uint32_t state;
    int Next() { state = state * 214013u + 2531011u; return static_cast<int>((state >> 16) & 0x7FFF); }
    int Roll44() { return Next() * 44 / 32768; }
};

// Start (seeded with seed), then the toggles in toggleOrder, then Fix-all;
// the generator's state after it goes to stateAfter, if given.
inline std::array<int, 6> ModelDraw(uint32_t seed, const std::vector<int>& toggleOrder, uint32_t* stateAfter = nullptr)
{
    ModelLcg lcg{seed};
    std::array<int, 6> slots{};
    auto pick = [&] {
        for (;;)
            if (const int r = lcg.Roll44(); std::find(slots.begin(), slots.end(), r) == slots.end())
                return r;
    };
    for (int slot : toggleOrder)
        slots[slot] = pick();
    for (int i = 0; i < 6; ++i) {
        if (slots[i] == 0)
            slots[i] = pick();
        if (i < 5)
            for (int n = 0; n < slots[i]; ++n)
                lcg.Next();
    }
    if (stateAfter)
        *stateAfter = lcg.state;
    return slots;
}

