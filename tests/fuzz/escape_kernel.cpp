// Differential fuzz target for the escape-time paths: every path that runs here
// must give the scalar loop's counts for any column, escape test, limit,
// threshold and constant, NaN and infinities included.
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <limits>

#include "fractal/EscapeKernel.h"

namespace {

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    std::uint8_t Byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    int Word() {
        const int low = Byte();
        return low | Byte() << 8;
    }
    // Mostly plane-sized values; also raw bit patterns and the special values,
    // so that pixels escape at the first step, late, or never.
    double Real() {
        const std::uint8_t kind = Byte();
        if (kind < 150) return static_cast<std::int16_t>(Word()) / 8192.0;
        if (kind < 200) {
            std::uint64_t bits = 0;
            for (int i = 0; i < 8; ++i) bits |= static_cast<std::uint64_t>(Byte()) << (8 * i);
            double value;
            std::memcpy(&value, &bits, sizeof value);
            return value;
        }
        constexpr double inf = std::numeric_limits<double>::infinity();
        const double special[] = {0.0, -0.0, inf, -inf, std::nan(""), DBL_MAX, 4.9e-324, 1e300, -1e300, 1.0};
        return special[kind % 10];
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zorv;
    Input in(data, size);
    ColumnJob job{};
    const std::uint8_t flags = in.Byte();
    job.mandelbrot = flags & 1;
    job.test = static_cast<EscapeTest>((flags >> 1) & 3);
    job.maxIter = in.Word() % 2000 - 2;  // a few limits below 1 too
    job.threshold = in.Real();
    job.addend = {in.Real(), in.Real()};
    job.re0 = in.Real();
    job.centerY = in.Real();
    job.zoom = in.Real();
    job.aspect = in.Real();
    job.height = in.Real();
    const int r0 = in.Byte() % 40 - 8;
    const int r1 = r0 + in.Byte() % 70;
    std::int32_t want[80], got[80];
    IterateRows(job, r0, r1, want, KernelPath::Scalar);
    for (KernelPath path : kKernelPaths) {
        if (!KernelPathRuns(path) || path == KernelPath::Scalar) continue;
        IterateRows(job, r0, r1, got, path);
        if (std::memcmp(got, want, sizeof(std::int32_t) * static_cast<std::size_t>(r1 - r0)) != 0) std::abort();
    }
    return 0;
}
