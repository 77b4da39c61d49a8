// Where the renderer's pixels go: the off-screen canvas, and the window that a
// finished image is copied onto in one piece.
#pragma once

#include <cstdint>

namespace zorv {

struct FractalState;

class Canvas {
public:
    virtual ~Canvas() = default;
    // One pixel into the off-screen canvas; colour in the COLORREF layout.
    virtual void SetPixel(int x, int y, std::uint32_t color) = 0;
    // `count` pixels of column x from row y down, as that many SetPixel calls would set them.
    virtual void SetColumn(int x, int y, const std::uint32_t* colors, int count) {
        for (int i = 0; i < count; ++i) SetPixel(x, y + i, colors[i]);
    }
    // Copies the canvas's (0, 0)-(width, height) onto the window at (0, 0).
    virtual void Present(int width, int height) = 0;
    // Told at the end of every new image's parameter draws; most canvases ignore it.
    virtual void ImageStarted(const FractalState& /*state*/) {}
};

}  // namespace zorv
