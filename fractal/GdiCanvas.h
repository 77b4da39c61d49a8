// The renderer's canvas on the off-screen DIB section: pixels straight into its
// bits, finished images onto the window's paint DC in one BitBlt.
#pragma once

#include <windows.h>

#include <cstdint>

#include "fractal/Canvas.h"
#include "framework/DC.h"

class OffscreenCanvas;

class CGdiCanvas : public zorv::Canvas {
public:
    // `pTarget` is the paint DC (may be null). Writing the bits needs no device
    // context: a paint selects the canvas only to present a finished image.
    CGdiCanvas(OffscreenCanvas& canvas, CDC* pTarget);
    CGdiCanvas(const CGdiCanvas&) = delete;
    CGdiCanvas& operator=(const CGdiCanvas&) = delete;

    // Pixels outside the canvas are dropped, as SetPixelV drops them.
    void SetPixel(int x, int y, std::uint32_t color) override;
    void SetColumn(int x, int y, const std::uint32_t* colors, int count) override;
    void Present(int width, int height) override;

private:
    OffscreenCanvas& m_canvas;
    CDC* m_pTarget;
};
