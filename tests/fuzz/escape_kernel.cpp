// Differential fuzz target for the escape-time paths: every path that runs here
// must give the scalar loop's counts for any column, escape test, limit,
// threshold and constant, NaN and infinities included.
#include <fuzzer/FuzzedDataProvider.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "fractal/EscapeKernel.h"

namespace {

// Mostly plane-sized values; also raw bit patterns and the special values, so
// that pixels escape at the first step, late, or never.
double Real(FuzzedDataProvider& in) {
    const auto kind = in.ConsumeIntegral<std::uint8_t>();
    if (kind < 150) return in.ConsumeIntegral<std::int16_t>() / 8192.0;
    if (kind < 200) {
        const auto bits = in.ConsumeIntegral<std::uint64_t>();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    constexpr double inf = std::numeric_limits<double>::infinity();
    const double special[] = {0.0, -0.0, inf, -inf, std::nan(""), DBL_MAX, 4.9e-324, 1e300, -1e300, 1.0};
    return special[kind % 10];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zorv;
    FuzzedDataProvider in(data, size);
    ColumnJob job{};
    job.mandelbrot = in.ConsumeBool();
    job.test = static_cast<EscapeTest>(in.ConsumeIntegralInRange(0, 3));
    job.maxIter = in.ConsumeIntegralInRange(-2, 1997);  // a few limits below 1 too
    job.threshold = Real(in);
    job.constant = {Real(in), Real(in)};
    job.re0 = Real(in);
    job.centerY = Real(in);
    job.zoom = Real(in);
    job.aspect = Real(in);
    job.height = Real(in);
    const int r0 = in.ConsumeIntegralInRange(-8, 31);
    const int r1 = r0 + in.ConsumeIntegralInRange(0, 69);
    std::int32_t want[80], got[80];
    IterateRows(job, r0, r1, want, KernelPath::Scalar);
    for (KernelPath path : kKernelPaths) {
        if (!KernelPathRuns(path) || path == KernelPath::Scalar) continue;
        IterateRows(job, r0, r1, got, path);
        if (std::memcmp(got, want, sizeof(std::int32_t) * static_cast<std::size_t>(r1 - r0)) != 0) std::abort();
    }
    return 0;
}
