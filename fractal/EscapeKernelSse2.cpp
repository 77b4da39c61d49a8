// The escape-time loop two pixels a vector with SSE2, the baseline of every
// x86 build (the 32-bit Windows build included).
#include "fractal/EscapeKernelPaths.h"

#if ZORV_KERNEL_X86
#include <emmintrin.h>

#include "fractal/EscapeKernelLanes.h"

namespace zorv {

namespace {

struct Sse2 {
    using D = __m128d;
    using I = __m128i;
    using M = __m128d;  // lane masks as all-ones lanes
    static constexpr int kLanes = 2;
    static D Set(double x) { return _mm_set1_pd(x); }
    static D Load(const double* p) { return _mm_loadu_pd(p); }
    static D Add(D a, D b) { return _mm_add_pd(a, b); }
    static D Sub(D a, D b) { return _mm_sub_pd(a, b); }
    static D Mul(D a, D b) { return _mm_mul_pd(a, b); }
    static D Gt(D a, D b) { return _mm_cmpgt_pd(a, b); }  // false when either is NaN, as in C++
    static D Or(D a, D b) { return _mm_or_pd(a, b); }
    static D AndNot(D a, D b) { return _mm_andnot_pd(a, b); }  // b and not a
    static D None() { return _mm_setzero_pd(); }
    static D AllOnes() { return _mm_castsi128_pd(_mm_set1_epi32(-1)); }
    static bool Any(D a) { return _mm_movemask_pd(a) != 0; }
    static I Zero() { return _mm_setzero_si128(); }
    // A lane still active is all ones, −1 as a 64-bit integer.
    static I CountActive(I count, D active) { return _mm_sub_epi64(count, _mm_castpd_si128(active)); }
    static void StoreCounts(std::int64_t* out, I count) { _mm_storeu_si128(reinterpret_cast<__m128i*>(out), count); }
};

}  // namespace

void IterateRowsSse2(const ColumnJob& job, int r0, int r1, std::int32_t* iters) {
    IterateRowsLanes<Sse2, 4>(job, r0, r1, iters);
}

}  // namespace zorv
#endif
