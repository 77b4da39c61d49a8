// Test helpers: seeds that make the generator produce chosen values at chosen
// draws, by running the linear congruential step backwards.
#pragma once

#include <cstdint>
#include <functional>

#include "fractal/Random.h"

namespace zorv {

inline std::uint32_t InverseMod2To32(std::uint32_t a) {
    std::uint32_t x = a;  // Newton's iteration doubles the correct low bits each step
    for (int i = 0; i < 5; ++i) x *= 2u - a * x;
    return x;
}

// A seed whose draw number `position` (0-based) is `value`; the 16 low bits of
// the state at that draw pick one of the 65536 such seeds.
inline std::uint32_t SeedForDraw(int position, int value, std::uint32_t lowBits = 0x1234u) {
    const std::uint32_t inverse = InverseMod2To32(214013u);
    std::uint32_t state = (static_cast<std::uint32_t>(value) << 16) | (lowBits & 0xFFFFu);
    for (int i = 0; i <= position; ++i) state = (state - 2531011u) * inverse;
    return state;
}

// The draw at `position` for a generator seeded with `seed`.
inline int DrawAt(std::uint32_t seed, int position) {
    Random random(seed);
    for (int i = 0; i < position; ++i) random.Draw();
    return random.Draw();
}

// A seed with `value` at `position` whose other draws also satisfy `accept`
// (given the seed); searches the low bits.
inline std::uint32_t SeedForDrawWhere(int position, int value, const std::function<bool(std::uint32_t)>& accept) {
    for (std::uint32_t low = 0; low < 0x10000u; ++low) {
        const std::uint32_t seed = SeedForDraw(position, value, low);
        if (accept(seed)) return seed;
    }
    return SeedForDraw(position, value);
}

}  // namespace zorv
