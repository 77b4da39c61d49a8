// Column renderer and per-pixel escape-time iteration, in exact IEEE double
// arithmetic in the order the images depend on.
#include "fractal/Renderer.h"

#include <algorithm>
#include <bit>
#include <cstdint>

namespace zorv {

namespace {

// Rows iterated and coloured together: enough to keep the SIMD lanes busy, few
// enough for the stack.
constexpr int kRowChunk = 480;

// Columns up to this tall (an 8K screen) keep their rows' im0 below.
constexpr int kKeptRows = 4320;

// im0 of rows [0, height), as StartPixel computes it. It is the same in every
// column of an image and costs a division a row, so each thread keeps the last
// image's (the headless renderer's threads have one each); a taller column
// divides per pixel instead (null). Plain storage: a thread-local with a
// destructor would bring the runtime's thread-exit support into the .scr, and
// with it GetModuleHandleExW, which Windows before XP lacks.
const double* RowOrdinates(const FractalState& state, int height) {
    struct Rows {
        std::uint64_t key[3] = {};  // centerY, zoom and aspect, bit for bit
        int height = -1;
        double im0[kKeptRows];
    };
    thread_local Rows rows;
    if (height > kKeptRows) return nullptr;
    const std::uint64_t key[3] = {std::bit_cast<std::uint64_t>(state.centerY), std::bit_cast<std::uint64_t>(state.zoom),
                                  std::bit_cast<std::uint64_t>(state.aspect)};
    if (rows.height != height || !std::equal(key, key + 3, rows.key)) {
        for (int row = 0; row < height; ++row) {
            rows.im0[row] = (state.centerY - row) * state.zoom * state.aspect / height;
        }
        std::copy(key, key + 3, rows.key);
        rows.height = height;
    }
    return rows.im0;
}

ColumnJob MakeColumnJob(const FractalState& state) {
    const int width = state.clientRect.right;
    const int height = state.clientRect.bottom;
    ColumnJob job{};
    job.rowIm = RowOrdinates(state, height);
    job.mandelbrot = IsMandelbrot(state);
    job.constant = state.constant;
    job.re0 = (state.column - state.centerX) * state.zoom / width;
    job.centerY = state.centerY;
    job.zoom = state.zoom;
    job.aspect = state.aspect;
    job.height = height;
    job.maxIter = state.maxIter;
    job.test = state.escapeTest;
    job.threshold = state.threshold;
    return job;
}

// The steps `count` pixels of a chunk took. A pixel takes at most maxIter, so
// below the bound a 32-bit sum cannot overflow: one the 32-bit build keeps in
// a register, where a 64-bit one costs a store and a load for every pixel.
long long StepsTaken(const std::int32_t* iters, int count, int maxIter) {
    if (maxIter >= 0 && maxIter <= INT32_MAX / kRowChunk) {
        std::int32_t sum = 0;
        for (int i = 0; i < count; ++i) sum += static_cast<std::int32_t>(IterationsTaken(iters[i], maxIter));
        return sum;
    }
    long long sum = 0;
    for (int i = 0; i < count; ++i) sum += IterationsTaken(iters[i], maxIter);
    return sum;
}

void StartPixel(FractalState& state) {
    const int width = state.clientRect.right;
    const int height = state.clientRect.bottom;
    const double re0 = (state.column - state.centerX) * state.zoom / width;
    const double im0 = (state.centerY - state.row) * state.zoom * state.aspect / height;
    state.point = {re0, im0};
    // A Julia pixel starts from its point; a Mandelbrot one from 0, with its point as c.
    state.z = IsMandelbrot(state) ? Complex{0.0, 0.0} : state.point;
}

void FinishPixel(FractalState& state, const ColorTable& colors, Canvas& canvas) {
    const auto index = static_cast<std::size_t>(ColorIndex(state.iter, state.maxIter));
    canvas.SetPixel(state.column, state.row, colors[index]);

    if (state.firstPixelPending) {
        state.firstPixelPending = false;
        state.firstIter = state.iter;
        state.hasDetail = false;
    }
    if (state.iter != state.firstIter) state.hasDetail = true;
}

// The pixel at (column, row) with at most `budget` more steps, picking up where
// an earlier call stopped. Returns the steps taken; the pixel is done unless
// state.pixelPending is still set.
long long StepPixel(FractalState& state, const ColorTable& colors, Canvas& canvas, long long budget) {
    if (!state.pixelPending) {
        StartPixel(state);
        state.iter = 0;
        state.pixelPending = true;
    }
    const long long left = static_cast<long long>(state.maxIter) - state.iter;
    const int limit = static_cast<int>(left < budget ? left : budget);
    const int counted = IterateScalar(state.escapeTest, state.z, Addend(state), limit, state.threshold);
    state.iter += counted;
    if (counted == limit && state.iter < state.maxIter) return limit;  // out of budget: resume here
    state.pixelPending = false;
    FinishPixel(state, colors, canvas);
    return counted < limit ? counted + 1LL : limit;
}

}  // namespace

void ComputePixel(FractalState& state, const ColorTable& colors, Canvas& canvas) {
    StartPixel(state);
    state.iter = IterateScalar(state.escapeTest, state.z, Addend(state), state.maxIter, state.threshold);
    FinishPixel(state, colors, canvas);
}

long long ComputeColumn(FractalState& state, const ColorTable& colors, Canvas& canvas, KernelPath path) {
    const int height = state.clientRect.bottom;
    long long steps = 0;
    state.row = 0;
    if (height <= 0) return steps;
    // All rows but the last through the chosen path; the last one by the scalar
    // loop, which leaves its iterate, point and count in the state as before.
    const ColumnJob job = MakeColumnJob(state);
    // The colour of each count, looked up instead of divided out when the limit is small.
    const bool lookUp = state.maxIter > 0 && state.maxIter < kRowChunk && state.maxIter < height;
    std::uint32_t colorOf[kRowChunk];
    for (int iter = 0; lookUp && iter <= state.maxIter; ++iter) {
        colorOf[iter] = colors[static_cast<std::size_t>(ColorIndex(iter, state.maxIter))];
    }
    std::int32_t iters[kRowChunk];
    std::uint32_t pixels[kRowChunk];
    for (int r0 = 0; r0 < height - 1; r0 += kRowChunk) {
        const int r1 = r0 + kRowChunk < height - 1 ? r0 + kRowChunk : height - 1;
        const int count = r1 - r0;
        IterateRows(job, r0, r1, iters, path);
        if (state.firstPixelPending) {
            state.firstPixelPending = false;
            state.firstIter = iters[0];
            state.hasDetail = false;
        }
        bool detail = false;
        for (int i = 0; i < count; ++i) detail |= iters[i] != state.firstIter;
        steps += StepsTaken(iters, count, state.maxIter);
        if (lookUp) {
            for (int i = 0; i < count; ++i) pixels[i] = colorOf[iters[i]];
        } else {
            for (int i = 0; i < count; ++i) pixels[i] = colors[static_cast<std::size_t>(ColorIndex(iters[i], state.maxIter))];
        }
        if (detail) state.hasDetail = true;
        canvas.SetColumn(state.column, r0, pixels, count);
    }
    state.row = height - 1;
    ComputePixel(state, colors, canvas);
    steps += IterationsTaken(state.iter, state.maxIter);
    state.row = height;
    return steps;
}

bool TakeClientSize(FractalState& state, int width, int height) {
    if (state.clientRect.right == width && state.clientRect.bottom == height) return false;
    state.clientRect = {0, 0, width, height};
    state.column = 0;
    state.hasDetail = false;
    state.columnPending = false;
    state.pixelPending = false;
    state.imageShown = false;
    return true;
}

BatchWork ComputeBatch(RenderContext& context, Canvas& canvas, ColumnSource* source) {
    FractalState& state = context.state;
    const int width = state.clientRect.right;
    const int height = state.clientRect.bottom;
    const long long budget = PaintBudget(height);
    long long used = 0;
    for (;;) {
        if (!state.columnPending) {
            const int done = state.batch;
            const bool hurry = !state.imageShown && source == nullptr && used < budget;
            if (done >= kColumnsPerPaint && !hurry) break;
            state.batch = done + 1;
            if (state.column >= width) state.column = 0;
            if (state.column == 0) NewImage(context, canvas);
            if (state.column > width / 3 && !state.hasDetail) NewImage(context, canvas);
            if (source != nullptr) {
                source->Compute(state, context.colors, canvas);
                ++state.column;
                continue;
            }
            // A whole column at once when even its slowest pixels fit the budget.
            if (used + static_cast<long long>(state.maxIter) * (height > 0 ? height : 0) <= budget) {
                used += ComputeColumn(state, context.colors, canvas);
                ++state.column;
                continue;
            }
            state.columnPending = true;
            state.row = 0;
        }
        while (state.row < height && used < budget) {
            used += StepPixel(state, context.colors, canvas, budget - used);
            if (!state.pixelPending) ++state.row;
        }
        if (state.row < height) break;  // out of budget
        state.columnPending = false;
        ++state.column;
    }
    const BatchWork work{state.batch, used};
    state.batch = 0;
    return work;
}

}  // namespace zorv
