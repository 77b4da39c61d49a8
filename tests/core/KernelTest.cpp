// The escape-time paths: the modulus bound against sqrt over the doubles next
// to it, for ordinary and special thresholds; every path's counts against the
// scalar loop's; and the dispatcher's choice.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <vector>

#include "fractal/EscapeKernel.h"

namespace zorv {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::vector<double> Thresholds() {
    std::vector<double> t = {0.0,  -0.0,   -1.0,    -kInf,   -DBL_MIN, kNaN,    kInf,   DBL_MAX,  1e154,
                             1.3407807929942596e154, 1.3407807929942597e154, 4.9e-324, 1e-160, DBL_MIN, 0.5, 2.0};
    for (int i = 1; i <= 1001; i += 7) t.push_back(i);  // the saver's thresholds lie in 1..1001
    std::uint32_t seed = 12345;
    for (int i = 0; i < 200; ++i) {  // spread over all magnitudes
        seed = seed * 1664525u + 1013904223u;
        t.push_back(std::ldexp(1.0 + (seed >> 8) / 16777216.0, static_cast<int>(seed % 600) - 300));
    }
    return t;
}

TEST(Kernel, ModulusBoundAgreesWithTheRootOnEveryDoubleNextToIt) {
    for (double t : Thresholds()) {
        const double bound = ModulusBound(t);
        std::vector<double> xs = {0.0, 4.9e-324, DBL_MIN, 1.0, 4.0, DBL_MAX, kInf, kNaN};
        double down = bound, up = bound;
        for (int i = 0; i < 64; ++i) {
            xs.push_back(down);
            xs.push_back(up);
            down = std::nextafter(down, -kInf);
            up = std::nextafter(up, kInf);
        }
        for (double x : xs) {
            if (x < 0) continue;  // re² + im² is never negative
            ASSERT_EQ(std::sqrt(x) > t, x > bound) << "t=" << t << " x=" << x << " bound=" << bound;
        }
    }
}

TEST(Kernel, EveryPathCountsAsTheScalarLoop) {
    const EscapeTest tests[] = {EscapeTest::Modulus, EscapeTest::Sum, EscapeTest::Component, EscapeTest::Product};
    for (double t : {2.0, 0.0, -1.0, kNaN, kInf, -kInf, 1000.0}) {
        for (EscapeTest test : tests) {
            for (bool mandelbrot : {false, true}) {
                // 37 rows: full blocks and a short last one on every path; rows
                // that escape at once, later, and never.
                const ColumnJob job{mandelbrot, {-0.75, 0.1}, -0.3, 18.0, 2.4, 1.0, 37.0, 60, test, t};
                std::int32_t want[37], got[37];
                IterateRows(job, 0, 37, want, KernelPath::Scalar);
                for (KernelPath path : kKernelPaths) {
                    if (!KernelPathRuns(path) || path == KernelPath::Scalar) continue;
                    IterateRows(job, 0, 37, got, path);
                    for (int r = 0; r < 37; ++r) ASSERT_EQ(got[r], want[r]) << KernelPathName(path) << " row " << r;
                }
            }
        }
    }
}

TEST(Kernel, DispatcherChoosesTheFastestPathThatRuns) {
    const KernelPath chosen = ChosenKernelPath();
    EXPECT_TRUE(KernelPathRuns(chosen));
    EXPECT_TRUE(KernelPathRuns(KernelPath::Scalar));
    for (KernelPath path : kKernelPaths) EXPECT_TRUE(path <= chosen || !KernelPathRuns(path)) << KernelPathName(path);
#if defined(__i386__) || defined(__x86_64__)
    EXPECT_NE(chosen, KernelPath::Scalar);  // SSE2 at least on every x86 build
#endif
    std::printf("escape-time path: %s\n", KernelPathName(chosen));
}

}  // namespace
}  // namespace zorv
