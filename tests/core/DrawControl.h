// Test helper: seeds that make the generator produce a chosen value at a chosen
// draw, by running the linear congruential step backwards.
#pragma once

#include <cstdint>

namespace zorv {

inline std::uint32_t InverseMod2To32(std::uint32_t a) {
    std::uint32_t x = a;  // Newton's iteration doubles the correct low bits each step
    for (int i = 0; i < 5; ++i) x *= 2u - a * x;
    return x;
}

// A seed whose draw number `position` (0-based) is `value`.
inline std::uint32_t SeedForDraw(int position, int value, std::uint32_t lowBits = 0x1234u) {
    const std::uint32_t inverse = InverseMod2To32(214013u);
    std::uint32_t state = (static_cast<std::uint32_t>(value) << 16) | (lowBits & 0xFFFFu);
    for (int i = 0; i <= position; ++i) state = (state - 2531011u) * inverse;
    return state;
}

}  // namespace zorv
