// Escape-time iteration of a range of rows of one column: the scalar loop that
// defines every count, and SIMD paths that give the same counts several pixels
// at a time. The path is chosen once from what the processor and the OS offer.
#pragma once

#include <cstdint>

#include "fractal/Complex.h"
#include "fractal/EscapeTests.h"

namespace zorv {

// The reference: iterates z → z² + addend from z until the escape test holds or
// maxIter steps did not escape. Returns the escape count and leaves the last
// iterate in z. One pixel at a time, so a caller can stop and resume between pixels.
int IterateScalar(EscapeTest test, Complex& z, Complex addend, int maxIter, double threshold);

// One column of one image. Pixel (column, row) starts at re0 and
// im0 = (centerY − row) × zoom × aspect ÷ height, the renderer's mapping.
struct ColumnJob {
    bool mandelbrot;  // start at z = 0 with the pixel's point as c
    Complex constant;  // Julia images: every pixel's c
    double re0;
    double centerY;
    double zoom;
    double aspect;
    double height;
    int maxIter;
    EscapeTest test;
    double threshold;
    // im0 of every row, indexed by row, when the caller keeps them: they are
    // the same in every column of an image, and a division each.
    const double* rowIm = nullptr;
};

// Slowest to fastest.
enum class KernelPath { Scalar, Sse2, Avx2, Avx512 };
inline constexpr KernelPath kKernelPaths[] = {KernelPath::Scalar, KernelPath::Sse2, KernelPath::Avx2, KernelPath::Avx512};

const char* KernelPathName(KernelPath path);  // "scalar", "sse2", "avx2", "avx512"
bool KernelPathRuns(KernelPath path);         // built in, and this processor and OS can run it
KernelPath ChosenKernelPath();                // the fastest path that runs

// Escape counts of rows [r0, r1) of the column into iters[0 .. r1 − r0), by
// `path` when it runs here, by the scalar loop otherwise.
void IterateRows(const ColumnJob& job, int r0, int r1, std::int32_t* iters, KernelPath path);

// For a threshold t, the bound B with sqrt(x) > t exactly when x > B, for every
// double x from re² + im² (0 to +inf, or NaN): the modulus test without a root.
// NaN for a NaN t (never true), −inf for t < 0 (true unless x is NaN).
double ModulusBound(double threshold);

}  // namespace zorv
