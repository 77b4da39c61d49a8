// Test helpers: seeds that make the generator produce a chosen value at a
// chosen draw, by running the linear congruential step backwards.
#pragma once

#include <cstdint>

#include "fractal/Random.h"

namespace zorv {

// A seed whose draw number `position` (0-based) is `value`; `low` picks one of
// the 65536 such seeds.
inline std::uint32_t SeedForDraw(int position, int value, std::uint32_t low = 0x1234u) {
    std::uint32_t inverse = 214013u;  // Newton's iteration for the inverse modulo 2^32
    for (int i = 0; i < 5; ++i) inverse *= 2u - 214013u * inverse;
    std::uint32_t state = (static_cast<std::uint32_t>(value) << 16) | (low & 0xFFFFu);
    for (int i = 0; i <= position; ++i) state = (state - 2531011u) * inverse;
    return state;
}

inline int DrawAt(std::uint32_t seed, int position) {
    Random random(seed);
    for (int i = 0; i < position; ++i) random.Draw();
    return random.Draw();
}

}  // namespace zorv
