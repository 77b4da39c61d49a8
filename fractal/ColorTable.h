// The 256-entry colour table of an image: one squared-cosine wave per channel
// with random frequency and phase, and two random touches (stripes, end colours).
#pragma once

#include <array>
#include <cstdint>

#include "fractal/Random.h"
#include "settings/SaverSettings.h"

namespace zorv {

// Direct colours, red in bits 0-7, green 8-15, blue 16-23 (the COLORREF layout).
using ColorTable = std::array<std::uint32_t, 256>;

// Fills `table` from Cycles and Spread; consumes exactly eight draws.
void MakeColorTable(ColorTable& table, const SaverSettings& settings, Random& random);

// The entry for a pixel whose escape count is `iter`, 0 <= iter <= maxIter.
inline int ColorIndex(int iter, int maxIter) {
    // 64-bit so that limits above 8 million cannot overflow into a negative index.
    return static_cast<int>(static_cast<std::int64_t>(iter) * 255 / maxIter);
}

}  // namespace zorv
