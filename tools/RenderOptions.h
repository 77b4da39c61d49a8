// Command-line options of the headless renderer, parsed without side effects so
// that bad input can be tested and fuzzed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fractal/EscapeTests.h"

namespace zorv {

struct FixedImageOptions {
    bool mandelbrot = false;
    double constantRe = 0.0;
    double constantIm = 0.0;
    double centerX = 0.0;  // the plane point at the image centre
    double centerY = 0.0;
    double planeWidth = 4.0;  // plane width shown by the image width
    int maxIter = 100;
    EscapeTest escapeTest = EscapeTest::Modulus;
    double threshold = 2.0;
    std::uint32_t paletteSeed = 1;
};

struct RenderOptions {
    bool help = false;
    std::uint32_t seed = 0;
    bool seedGiven = false;
    int width = 0;
    int height = 0;
    std::string settingsFile;  // empty: defaults
    long long images = 1;
    long long limit = 10000;
    std::string outDir = ".";
    bool params = false;
    int threads = 0;  // 0: one per core
    std::optional<FixedImageOptions> fixed;
};

// The largest picture the renderer accepts, in pixels per side and in all.
inline constexpr int kMaxSide = 65536;
inline constexpr long long kMaxPixels = 1LL << 28;

// Fills `options` from the arguments after the program name. On a bad option or
// value returns false with a one-line message that names the option.
bool ParseRenderOptions(const std::vector<std::string>& args, RenderOptions& options, std::string& error);

const char* RenderUsage();

}  // namespace zorv
