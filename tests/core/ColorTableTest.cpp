// Colour table: channel layout, phases, stripes and end colours at their split
// points, and flat channels for Cycles 0.
#include <gtest/gtest.h>

#include <cmath>

#include "fractal/ColorTable.h"
#include "tests/core/DrawControl.h"

namespace zorv {
namespace {

// Draw positions within MakeColorTable.
constexpr int kRedPhaseDraw = 3, kStripesDraw = 6, kEndsDraw = 7;

ColorTable Make(std::uint32_t seed, double cycles = 37, double spread = 10) {
    SaverSettings settings = DefaultSettings();
    settings.Cycles = cycles;
    settings.Spread = spread;
    Random random(seed);
    ColorTable table{};
    MakeColorTable(table, settings, random);
    return table;
}

int Red(std::uint32_t c) { return static_cast<int>(c & 0xFF); }
int Green(std::uint32_t c) { return static_cast<int>((c >> 8) & 0xFF); }
int Blue(std::uint32_t c) { return static_cast<int>((c >> 16) & 0xFF); }

bool StripesOn(std::uint32_t seed) { return DrawAt(seed, kStripesDraw) >= 31129; }
bool EndsOn(std::uint32_t seed) { return DrawAt(seed, kEndsDraw) >= 16384; }

TEST(ColorTable, StripesSwitchOnAt31129) {
    for (int draw : {31128, 31129, 32767}) {
        const std::uint32_t seed = SeedForDrawWhere(kStripesDraw, draw, [](std::uint32_t s) { return !EndsOn(s); });
        const ColorTable table = Make(seed);
        int blackMultiplesOf4 = 0;
        for (std::size_t i = 0; i < 256; i += 4) blackMultiplesOf4 += table[i] == 0;
        if (draw >= 31129) {
            EXPECT_EQ(blackMultiplesOf4, 64) << "draw " << draw;
        } else {
            EXPECT_LT(blackMultiplesOf4, 64) << "draw " << draw;
        }
    }
}

TEST(ColorTable, EndColoursSwitchOnAt16384) {
    for (int draw : {16383, 16384}) {
        const std::uint32_t seed = SeedForDrawWhere(kEndsDraw, draw, [](std::uint32_t s) {
            const ColorTable plain = Make(s);  // not already white/black at the ends by chance
            return plain[0] != 0xFFFFFF || plain[255] != 0;
        });
        const ColorTable table = Make(seed);
        const bool ends = table[0] == 0xFFFFFFu && table[255] == 0u;
        EXPECT_EQ(ends, draw >= 16384) << "draw " << draw;
    }
}

TEST(ColorTable, StripesAndEndsTogetherLeaveEntryZeroWhite) {
    const std::uint32_t seed = SeedForDrawWhere(kStripesDraw, 32000, EndsOn);
    const ColorTable table = Make(seed);
    EXPECT_EQ(table[0], 0xFFFFFFu);
    EXPECT_EQ(table[255], 0u);
    for (std::size_t i = 4; i < 256; i += 4) EXPECT_EQ(table[i], 0u) << "entry " << i;
}

TEST(ColorTable, PhaseZeroGivesFullRedAtEntryZero) {
    const std::uint32_t seed =
        SeedForDrawWhere(kRedPhaseDraw, 0, [](std::uint32_t s) { return !EndsOn(s) && !StripesOn(s); });
    EXPECT_EQ(Red(Make(seed)[0]), 255);
}

TEST(ColorTable, CyclesZeroMakesEveryChannelPracticallyFlat) {
    for (std::uint32_t seed : {1u, 2u, 3u, 4u, 5u}) {
        const ColorTable table = Make(seed, 0.0, 50.0);
        for (int (*channel)(std::uint32_t) : {Red, Green, Blue}) {
            int low = 255, high = 0;
            for (std::size_t i = 1; i < 255; ++i) {
                if (i % 4 == 0) continue;  // stripes may black these
                low = std::min(low, channel(table[i]));
                high = std::max(high, channel(table[i]));
            }
            EXPECT_LE(high - low, 1) << "seed " << seed;
        }
    }
}

}  // namespace
}  // namespace zorv
