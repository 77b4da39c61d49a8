// The escape-time loop eight pixels a vector with AVX-512, lane masks in mask
// registers. This file alone is built with -mavx512f and is entered only after
// the processor and the OS were checked. No FMA: a fused multiply-add rounds
// once where the scalar loop rounds twice.
#include "fractal/EscapeKernelPaths.h"

#if ZORV_KERNEL_X86
#include <immintrin.h>

#include "fractal/EscapeKernelLanes.h"

namespace zorv {

namespace {

struct Avx512 {
    using D = __m512d;
    using I = __m512i;
    using M = __mmask8;
    static constexpr int kLanes = 8;
    static D Set(double x) { return _mm512_set1_pd(x); }
    static D Load(const double* p) { return _mm512_loadu_pd(p); }
    static D Add(D a, D b) { return _mm512_add_pd(a, b); }
    static D Sub(D a, D b) { return _mm512_sub_pd(a, b); }
    static D Mul(D a, D b) { return _mm512_mul_pd(a, b); }
    static M Gt(D a, D b) { return _mm512_cmp_pd_mask(a, b, _CMP_GT_OQ); }  // ordered: NaN compares false
    static M Or(M a, M b) { return static_cast<M>(a | b); }
    static M AndNot(M a, M b) { return static_cast<M>(~a & b); }  // b and not a
    static M None() { return 0; }
    static M AllOnes() { return 0xFF; }
    static bool Any(M a) { return a != 0; }
    static I Zero() { return _mm512_setzero_si512(); }
    static I CountActive(I count, M active) { return _mm512_mask_add_epi64(count, active, count, _mm512_set1_epi64(1)); }
    static void StoreCounts(std::int64_t* out, I count) { _mm512_storeu_si512(out, count); }
};

}  // namespace

void IterateRowsAvx512(const ColumnJob& job, int r0, int r1, std::int32_t* iters) {
    IterateRowsLanes<Avx512, 4>(job, r0, r1, iters);
}

}  // namespace zorv
#endif
