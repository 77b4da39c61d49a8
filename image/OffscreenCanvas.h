// The screen-sized memory bitmap the fractal is drawn into: black from
// start-up, never left selected into a DC between uses.
#pragma once

#include <cstdint>

#include "framework/GdiObject.h"

class OffscreenCanvas : public CBitmap {
public:
    // Builds the bitmap compatible with the display, at the screen size of
    // this moment, filled black. Reports nothing: on failure it holds no bitmap.
    OffscreenCanvas();

    std::int32_t m_nWidth;
    std::int32_t m_nHeight;
};

// The process's one canvas. Select its bitmap (g_canvas.GetSafeHandle()) into a
// memory DC of your own for the length of one operation, then select it out.
extern OffscreenCanvas g_canvas;
