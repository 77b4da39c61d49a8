// The progressive renderer's device-independent half: 26 columns per paint,
// the per-pixel iteration, abandonment of uniform images and detail tracking.
#pragma once

#include "fractal/Canvas.h"
#include "fractal/EscapeKernel.h"
#include "fractal/NewImage.h"

namespace zorv {

inline constexpr int kColumnsPerPaint = 26;

// Iterates the pixel at (state.column, state.row), sets its colour in the
// canvas and tracks detail. Leaves the escape count in state.iter.
void ComputePixel(FractalState& state, const ColorTable& colors, Canvas& canvas);

// Renders all rows of column state.column, leaving the state as ComputePixel on
// each row top to bottom would (state.row ends at H); returns the iteration
// steps taken. The counts come from `path`; they are the same on every path.
long long ComputeColumn(FractalState& state, const ColorTable& colors, Canvas& canvas,
                       KernelPath path = ChosenKernelPath());

// Where a batch gets its columns: ComputeColumn by default. Another source must
// leave the state and the canvas exactly as ComputeColumn would (the headless
// renderer computes columns ahead on several threads).
class ColumnSource {
public:
    virtual ~ColumnSource() = default;
    virtual void Compute(FractalState& state, const ColorTable& colors, Canvas& canvas) = 0;
};

// The most iteration steps one paint of the saver takes: 26 columns of H pixels
// at 529 steps, the largest limit the sliders can give (Iters 100, Spread 50).
inline constexpr long long kMaxSliderLimit = 529;
inline long long PaintBudget(int height) { return kColumnsPerPaint * kMaxSliderLimit * (height > 0 ? height : 0); }

// What one batch did: the columns it began and the iteration steps it took.
struct BatchWork {
    int columns;
    long long steps;
};

// One paint's worth of work: the next 26 columns of the current image, starting
// new images at column 0 and abandoning uniform ones after W ÷ 3 columns.
// W and H are read from state.clientRect, which the caller sets first.
// Until the run has shown an image (state.imageShown), a paint without a source
// goes on beyond 26 columns while its budget lasts: the first picture comes
// within a few paints, and the images and their fates stay the same.
// Without a source, a paint stops once PaintBudget(H) steps are taken (only
// limits beyond the sliders' reach get there in 26 columns), mid-column or
// mid-pixel, and the next paint goes on from there: the images stay the same.
BatchWork ComputeBatch(RenderContext& context, Canvas& canvas, ColumnSource* source = nullptr);

// The client size for the next batch. A size other than the last one's starts
// a new image at the new size, hurried as a run's first (nothing of the old
// image is shown). Returns whether the size changed.
bool TakeClientSize(FractalState& state, int width, int height);

// Whether the front-end should paint again at once rather than wait for its
// next tick: no image of the run has been shown yet.
inline bool AwaitingFirstPicture(const FractalState& state) { return !state.imageShown; }

// Iteration steps a pixel with escape count `iter` took: one more than `iter`
// when it escaped, maxIter when it never did. For benchmarks.
inline long long IterationsTaken(int iter, int maxIter) { return iter < maxIter ? iter + 1LL : maxIter; }

}  // namespace zorv
