// The SIMD escape-time loop, written once over a lane type: each translation
// unit that includes this instantiates it for one instruction set. Everything
// here has internal linkage, so code built for AVX2 never stands in for the
// baseline's copy of an inline function.
#pragma once

#include <cstdint>

#include "fractal/EscapeKernel.h"

namespace zorv {
namespace {

// Each test sees the new iterate and its three products re², im², re·im, which
// the next step needs anyway; the modulus test compares re² + im² against the
// bound instead of taking a root (see ModulusBound). A test gives a lane mask
// (V::M: a vector of all-ones lanes, or a mask register).
struct ModulusLanes {
    template <class V>
    static typename V::M Escaped(typename V::D, typename V::D, typename V::D rr, typename V::D ii, typename V::D,
                                 typename V::D bound) {
        return V::Gt(V::Add(rr, ii), bound);
    }
};
struct SumLanes {
    template <class V>
    static typename V::M Escaped(typename V::D re, typename V::D im, typename V::D, typename V::D, typename V::D,
                                 typename V::D t) {
        return V::Gt(V::Add(re, im), t);
    }
};
struct ComponentLanes {
    template <class V>
    static typename V::M Escaped(typename V::D re, typename V::D im, typename V::D, typename V::D, typename V::D,
                                 typename V::D t) {
        return V::Or(V::Gt(re, t), V::Gt(im, t));
    }
};
struct ProductLanes {
    template <class V>
    static typename V::M Escaped(typename V::D, typename V::D, typename V::D, typename V::D, typename V::D ri,
                                 typename V::D t) {
        return V::Gt(ri, t);
    }
};

// K vectors of V::kLanes pixels in flight, so that the latency of one vector's
// multiply-add chain is hidden behind the others. All pixels of a block start
// together; a lane that escaped stops counting (its values run on unused), and
// the block ends when no lane is left or after maxIter steps. The arithmetic
// is the scalar loop's, operation for operation, so every count is the same.
template <class V, int K, class Test>
void IterateBlocks(const ColumnJob& job, double limit, int r0, int r1, std::int32_t* iters) {
    using D = typename V::D;
    using I = typename V::I;
    constexpr int kBlock = K * V::kLanes;
    const D t = V::Set(limit);
    const D minusTwo = V::Set(-2.0);
    const D ar = V::Set(job.mandelbrot ? job.re0 : job.constant.re);
    for (int base = r0; base < r1; base += kBlock) {
        double startRe[kBlock];
        double startIm[kBlock];
        double addIm[kBlock];
        for (int j = 0; j < kBlock; ++j) {
            const int row = base + j < r1 ? base + j : r1 - 1;  // a short last block repeats its last row
            const double im0 =
                job.rowIm != nullptr ? job.rowIm[row] : (job.centerY - row) * job.zoom * job.aspect / job.height;
            startRe[j] = job.mandelbrot ? 0.0 : job.re0;
            startIm[j] = job.mandelbrot ? 0.0 : im0;
            addIm[j] = job.mandelbrot ? im0 : job.constant.im;
        }
        D rr[K], ii[K], ri[K], ai[K];
        typename V::M active[K];
        I count[K];
        for (int k = 0; k < K; ++k) {
            const D re = V::Load(startRe + k * V::kLanes);
            const D im = V::Load(startIm + k * V::kLanes);
            ai[k] = V::Load(addIm + k * V::kLanes);
            rr[k] = V::Mul(re, re);
            ii[k] = V::Mul(im, im);
            ri[k] = V::Mul(re, im);
            active[k] = V::AllOnes();
            count[k] = V::Zero();
        }
        for (int step = 0; step < job.maxIter; ++step) {
            typename V::M any = V::None();
            for (int k = 0; k < K; ++k) {
                const D re = V::Sub(V::Add(rr[k], ar), ii[k]);
                const D im = V::Sub(ai[k], V::Mul(ri[k], minusTwo));
                rr[k] = V::Mul(re, re);
                ii[k] = V::Mul(im, im);
                ri[k] = V::Mul(re, im);
                active[k] = V::AndNot(Test::template Escaped<V>(re, im, rr[k], ii[k], ri[k], t), active[k]);
                count[k] = V::CountActive(count[k], active[k]);
                any = V::Or(any, active[k]);
            }
            if (!V::Any(any)) break;
        }
        for (int k = 0; k < K; ++k) {
            std::int64_t counts[V::kLanes];
            V::StoreCounts(counts, count[k]);
            for (int j = 0; j < V::kLanes; ++j) {
                const int row = base + k * V::kLanes + j;
                if (row < r1) iters[row - r0] = static_cast<std::int32_t>(counts[j]);
            }
        }
    }
}

template <class V, int K>
void IterateRowsLanes(const ColumnJob& job, int r0, int r1, std::int32_t* iters) {
    if (r1 <= r0) return;
    switch (job.test) {
        case EscapeTest::Sum: return IterateBlocks<V, K, SumLanes>(job, job.threshold, r0, r1, iters);
        case EscapeTest::Component: return IterateBlocks<V, K, ComponentLanes>(job, job.threshold, r0, r1, iters);
        case EscapeTest::Product: return IterateBlocks<V, K, ProductLanes>(job, job.threshold, r0, r1, iters);
        case EscapeTest::Modulus: break;
    }
    IterateBlocks<V, K, ModulusLanes>(job, ModulusBound(job.threshold), r0, r1, iters);
}

}  // namespace
}  // namespace zorv
