// The escape-time loop four pixels a vector with AVX2. This file alone is built
// with -mavx2 and is entered only after the processor and the OS were checked.
// No FMA: a fused multiply-add rounds once where the scalar loop rounds twice.
#include "fractal/EscapeKernelPaths.h"

#if ZORV_KERNEL_X86
#include <immintrin.h>

#include "fractal/EscapeKernelLanes.h"

namespace zorv {

namespace {

struct Avx2 {
    using D = __m256d;
    using I = __m256i;
    using M = __m256d;  // lane masks as all-ones lanes
    static constexpr int kLanes = 4;
    static D Set(double x) { return _mm256_set1_pd(x); }
    static D Load(const double* p) { return _mm256_loadu_pd(p); }
    static D Add(D a, D b) { return _mm256_add_pd(a, b); }
    static D Sub(D a, D b) { return _mm256_sub_pd(a, b); }
    static D Mul(D a, D b) { return _mm256_mul_pd(a, b); }
    static D Gt(D a, D b) { return _mm256_cmp_pd(a, b, _CMP_GT_OQ); }  // ordered: NaN compares false
    static D Or(D a, D b) { return _mm256_or_pd(a, b); }
    static D AndNot(D a, D b) { return _mm256_andnot_pd(a, b); }
    static D None() { return _mm256_setzero_pd(); }
    static D AllOnes() { return _mm256_castsi256_pd(_mm256_set1_epi32(-1)); }
    static bool Any(D a) { return _mm256_movemask_pd(a) != 0; }
    static I Zero() { return _mm256_setzero_si256(); }
    static I CountActive(I count, D active) { return _mm256_sub_epi64(count, _mm256_castpd_si256(active)); }
    static void StoreCounts(std::int64_t* out, I count) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), count);
    }
};

}  // namespace

void IterateRowsAvx2(const ColumnJob& job, int r0, int r1, std::int32_t* iters) {
    IterateRowsLanes<Avx2, 4>(job, r0, r1, iters);
}

}  // namespace zorv
#endif
