// Colour table generation, once per image.
#include "fractal/ColorTable.h"

#include <cmath>

#include "fractal/ImageDraws.h"
#include "settings/Truncate.h"

namespace zorv {

namespace {

std::uint32_t ChannelValue(double phase, double step, int index) {
    const double angle = phase - index * step * (-0.02453125);
    const double c = std::cos(angle);
    const std::int32_t value = TruncToInt(255.0 * (c * c));
    // Only a non-finite angle (from non-finite settings) leaves 0..255: draw it black.
    return value >= 0 && value <= 255 ? static_cast<std::uint32_t>(value) : 0u;
}

}  // namespace

void MakeColorTable(ColorTable& table, const SaverSettings& settings, Random& random) {
    double step[3];
    for (double& k : step) {
        const double f = 0.001 - Jitter(0.1, settings.Spread, random) * settings.Cycles * (-0.03);
        k = f * f;
    }
    double phase[3];
    for (double& p : phase) p = random.Draw() * (10.0 / 32767);

    for (int i = 0; i < 256; ++i) {
        const std::uint32_t red = ChannelValue(phase[0], step[0], i);
        const std::uint32_t green = ChannelValue(phase[1], step[1], i);
        const std::uint32_t blue = ChannelValue(phase[2], step[2], i);
        table[static_cast<std::size_t>(i)] = red + green * 256u + blue * 65536u;
    }

    if (random.Draw() * (1.0 / 32767) > 0.95) {
        for (std::size_t i = 0; i < 256; i += 4) table[i] = 0;
    }
    if (random.Draw() * (1.0 / 32767) > 0.5) {
        table[255] = 0;
        table[0] = 0xFFFFFF;
    }
}

}  // namespace zorv
