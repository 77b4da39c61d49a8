// Entry points of the SIMD escape-time paths, for the dispatcher only.
#pragma once

#include <cstdint>

#include "fractal/EscapeKernel.h"

#if defined(__i386__) || defined(__x86_64__)
#define ZORV_KERNEL_X86 1
#else
#define ZORV_KERNEL_X86 0
#endif

namespace zorv {

#if ZORV_KERNEL_X86
void IterateRowsSse2(const ColumnJob& job, int r0, int r1, std::int32_t* iters);
void IterateRowsAvx2(const ColumnJob& job, int r0, int r1, std::int32_t* iters);    // only where AVX2 runs
void IterateRowsAvx512(const ColumnJob& job, int r0, int r1, std::int32_t* iters);  // only where AVX-512 runs
#endif

}  // namespace zorv
