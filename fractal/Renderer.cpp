// Column renderer and per-pixel escape-time iteration, in exact IEEE double
// arithmetic in the order the images depend on.
#include "fractal/Renderer.h"

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

int IterateWith(EscapeTest test, Complex& z, Complex addend, int maxIter, double threshold) {
    switch (test) {
        case EscapeTest::Sum: return Iterate<EscapeSum>(z, addend, maxIter, threshold);
        case EscapeTest::Component: return Iterate<EscapeComponent>(z, addend, maxIter, threshold);
        case EscapeTest::Product: return Iterate<EscapeProduct>(z, addend, maxIter, threshold);
        case EscapeTest::Modulus: break;
    }
    return Iterate<EscapeModulus>(z, addend, maxIter, threshold);
}

}  // namespace

void RenderPixel(FractalState& state, const ColorTable& colors, Canvas& canvas) {
    const int width = state.clientRect.right;
    const int height = state.clientRect.bottom;
    const double re0 = (state.column - state.centerX) * state.zoom / width;
    const double im0 = (state.centerY - state.row) * state.zoom * state.aspect / height;

    state.z = {re0, im0};
    if (IsMandelbrot(state)) {
        state.addend = {re0, im0};
        state.z = {0.0, 0.0};
    }
    state.iter = IterateWith(state.escapeTest, state.z, state.addend, state.maxIter, state.threshold);

    const auto index = static_cast<std::size_t>(ColorIndex(state.iter, state.maxIter));
    canvas.SetPixel(state.column, state.row, colors[index]);

    if (state.firstPixelPending) {
        state.firstPixelPending = false;
        state.firstIter = state.iter;
        state.hasDetail = false;
    }
    if (state.iter != state.firstIter) state.hasDetail = true;
}

void RenderColumnBatch(RenderContext& context, Canvas& canvas) {
    FractalState& state = context.state;
    const int width = state.clientRect.right;
    const int height = state.clientRect.bottom;
    for (;;) {
        const int done = state.batch;
        state.batch = done + 1;
        if (done >= kColumnsPerPaint) break;
        if (state.column >= width) state.column = 0;
        if (state.column == 0) NewImage(context, canvas);
        if (state.column > width / 3 && !state.hasDetail) NewImage(context, canvas);
        for (state.row = 0; state.row < height; ++state.row) RenderPixel(state, context.colors, canvas);
        ++state.column;
    }
    state.batch = 0;
}

}  // namespace zorv
