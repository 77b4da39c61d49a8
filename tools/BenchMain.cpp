// zorv-bench: speed of the escape-time loop on the reference Julia image
// (1920×1080, c = −0.75 + 0.1i, plane width 2.4 centred on 0, 60 iterations,
// modulus test, threshold 2), on every path this machine runs, the chosen one
// last. Prints figures; sets no target.
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "fractal/MemoryCanvas.h"
#include "settings/SaverSettings.h"
#include "tools/RenderRun.h"

int main(int argc, char** argv) {
    using namespace zorv;
    const int repeats = argc > 1 && std::atoi(argv[1]) > 0 ? std::atoi(argv[1]) : 5;
    FixedImageOptions fixed;
    fixed.constantRe = -0.75;
    fixed.constantIm = 0.1;
    fixed.planeWidth = 2.4;
    fixed.maxIter = 60;
    fixed.threshold = 2.0;
    const int width = 1920, height = 1080;

    FractalState state{};
    ColorTable colors{};
    SetUpFixedImage(fixed, width, height, DefaultSettings(), state, colors);
    MemoryCanvas canvas(width, height);
    const double pixels = static_cast<double>(width) * height;
    std::printf("image: Julia 1920x1080, c = -0.75+0.1i, width 2.4, 60 iterations, modulus, threshold 2\n");

    // The best of `repeats` runs on one path; the iterations of the image.
    long long iterations = 0;
    const auto bestOf = [&](KernelPath path) {
        double best = 1e300;
        for (int i = 0; i < repeats; ++i) {
            const auto start = std::chrono::steady_clock::now();
            iterations = RenderWholeImage(state, colors, canvas, path);
            const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
            if (took.count() < best) best = took.count();
        }
        return best;
    };
    const KernelPath chosen = ChosenKernelPath();
    for (KernelPath path : kKernelPaths) {
        if (!KernelPathRuns(path) || path == chosen) continue;
        const double best = bestOf(path);
        std::printf("%-6s path: %.4f s, %.4g iterations per second\n", KernelPathName(path), best,
                    static_cast<double>(iterations) / best);
    }

    const double best = bestOf(chosen);
    std::printf("chosen path: %s\n", KernelPathName(chosen));
    std::printf("seconds (best of %d): %.4f\n", repeats, best);
    std::printf("megapixels per second: %.2f\n", pixels / best / 1e6);
    std::printf("iterations: %lld\n", iterations);
    std::printf("iterations per second: %.4g\n", static_cast<double>(iterations) / best);
    return 0;
}
