// The current image's parameters and the render progress, shared by the
// image-parameter draws and the column renderer.
#pragma once

#include <cstdint>

#include "fractal/Complex.h"
#include "fractal/EscapeTests.h"

namespace zorv {

struct ClientRect {
    int left;
    int top;
    int right;   // W, the client width
    int bottom;  // H, the client height
};

struct FractalState {
    ClientRect clientRect;
    int column;
    int row;
    int batch;
    int maxIter;
    EscapeTest escapeTest;
    double threshold;
    double modeSelect;  // above 0.6: Mandelbrot image
    double centerX;
    double centerY;
    double zoom;
    double aspect;
    Complex constant;  // the Julia constant: every pixel's c in a Julia image
    Complex point;     // the current pixel's point on the plane: its c in a Mandelbrot image
    Complex z;
    int iter;
    bool firstPixelPending;
    int firstIter;
    bool hasDetail;
    // A paint that ran out of its iteration budget stopped inside column
    // `column`, before row `row`; with `pixelPending`, inside that pixel, whose
    // iterate and count so far are `z` and `iter`.
    bool columnPending;
    bool pixelPending;
    // An image of this run has been shown. Until then a paint may go beyond its
    // 26 columns, within its budget, so that the first picture comes quickly.
    bool imageShown;
};

inline constexpr double kMandelbrotAbove = 0.6;

inline bool IsMandelbrot(const FractalState& state) { return state.modeSelect > kMandelbrotAbove; }

// The c of z → z² + c for the current pixel.
inline Complex Addend(const FractalState& state) { return IsMandelbrot(state) ? state.point : state.constant; }

}  // namespace zorv
