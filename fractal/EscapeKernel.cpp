// The scalar escape-time loop, the modulus bound, and the choice of path.
#include "fractal/EscapeKernel.h"

#include <cmath>
#include <limits>

#include "fractal/EscapeKernelPaths.h"

#if ZORV_KERNEL_X86
#include <cpuid.h>
#endif

namespace zorv {

namespace {

// The escape test is fixed per image; a template keeps the test out of the
// switch in the inner loop without changing the arithmetic.
template <bool (*Escaped)(double, double, double)>
int Iterate(Complex& z, Complex addend, int maxIter, double threshold) {
    double re = z.re;
    double im = z.im;
    int iter = 0;
    while (iter < maxIter) {
        const double nextRe = (re * re + addend.re) - im * im;
        const double nextIm = addend.im - re * im * (-2.0);
        re = nextRe;
        im = nextIm;
        if (Escaped(re, im, threshold)) break;
        ++iter;
    }
    z = {re, im};
    return iter;
}

void IterateRowsScalar(const ColumnJob& job, int r0, int r1, std::int32_t* iters) {
    for (int row = r0; row < r1; ++row) {
        const double im0 = job.rowIm != nullptr ? job.rowIm[row] : (job.centerY - row) * job.zoom * job.aspect / job.height;
        Complex z{job.re0, im0};
        Complex addend = job.constant;
        if (job.mandelbrot) {
            addend = {job.re0, im0};
            z = {0.0, 0.0};
        }
        iters[row - r0] = IterateScalar(job.test, z, addend, job.maxIter, job.threshold);
    }
}

#if ZORV_KERNEL_X86
// Leaf 7's feature bits (EBX) when the OS saves every register state in
// `xcr0`, else none: the processor may have a vector unit whose registers the
// OS does not save on a task switch.
unsigned SavedExtendedFeatures(unsigned xcr0) {
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__get_cpuid(1, &a, &b, &c, &d)) return 0;
    const bool osxsave = (c >> 27) & 1u;
    const bool avx = (c >> 28) & 1u;
    if (!osxsave || !avx) return 0;
    unsigned lo = 0, hi = 0;
    __asm__ volatile("xgetbv" : "=a"(lo), "=d"(hi) : "c"(0u));
    if ((lo & xcr0) != xcr0) return 0;
    if (__get_cpuid_max(0, nullptr) < 7) return 0;
    __cpuid_count(7, 0, a, b, c, d);
    return b;
}

// AVX2: SSE and AVX state. AVX-512 Foundation: those, the mask registers and
// the upper halves and upper sixteen of the ZMM registers.
bool CpuRunsAvx2() { return (SavedExtendedFeatures(0x06u) >> 5) & 1u; }
bool CpuRunsAvx512() { return (SavedExtendedFeatures(0xE6u) >> 16) & 1u; }
#endif

}  // namespace

int IterateScalar(EscapeTest test, Complex& z, Complex addend, int maxIter, double threshold) {
    switch (test) {
        case EscapeTest::Sum: return Iterate<EscapeSum>(z, addend, maxIter, threshold);
        case EscapeTest::Component: return Iterate<EscapeComponent>(z, addend, maxIter, threshold);
        case EscapeTest::Product: return Iterate<EscapeProduct>(z, addend, maxIter, threshold);
        case EscapeTest::Modulus: break;
    }
    return Iterate<EscapeModulus>(z, addend, maxIter, threshold);
}

double ModulusBound(double threshold) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    if (std::isnan(threshold)) return threshold;
    if (threshold < 0) return -inf;
    // sqrt is correctly rounded and so monotonic: the x with sqrt(x) <= t form
    // [0, B]. Start near t² and walk to the last double whose root is <= t.
    double bound = threshold * threshold;  // +inf when t² overflows; t = +inf gives +inf, never exceeded
    if (threshold == inf) return inf;
    while (bound > 0 && std::sqrt(bound) > threshold) bound = std::nextafter(bound, 0.0);
    while (bound < inf && std::sqrt(std::nextafter(bound, inf)) <= threshold) bound = std::nextafter(bound, inf);
    return bound;
}

const char* KernelPathName(KernelPath path) {
    switch (path) {
        case KernelPath::Sse2: return "sse2";
        case KernelPath::Avx2: return "avx2";
        case KernelPath::Avx512: return "avx512";
        case KernelPath::Scalar: break;
    }
    return "scalar";
}

bool KernelPathRuns(KernelPath path) {
#if ZORV_KERNEL_X86
    static const bool avx2 = CpuRunsAvx2();
    static const bool avx512 = CpuRunsAvx512();
    if (path == KernelPath::Avx2) return avx2;
    if (path == KernelPath::Avx512) return avx512;
    return true;
#else
    return path == KernelPath::Scalar;
#endif
}

KernelPath ChosenKernelPath() {
    static const KernelPath chosen = KernelPathRuns(KernelPath::Avx512) ? KernelPath::Avx512
                                     : KernelPathRuns(KernelPath::Avx2) ? KernelPath::Avx2
                                     : KernelPathRuns(KernelPath::Sse2) ? KernelPath::Sse2
                                                                        : KernelPath::Scalar;
    return chosen;
}

void IterateRows(const ColumnJob& job, int r0, int r1, std::int32_t* iters, KernelPath path) {
    if (!KernelPathRuns(path)) path = KernelPath::Scalar;
    switch (path) {
#if ZORV_KERNEL_X86
        case KernelPath::Avx512: return IterateRowsAvx512(job, r0, r1, iters);
        case KernelPath::Avx2: return IterateRowsAvx2(job, r0, r1, iters);
        case KernelPath::Sse2: return IterateRowsSse2(job, r0, r1, iters);
#endif
        default: break;
    }
    IterateRowsScalar(job, r0, r1, iters);
}

}  // namespace zorv
