// The screen-sized memory bitmap the fractal is drawn into: a 32-bit top-down
// DIB section whose bits the renderer writes directly, black from start-up,
// never left selected into a DC between uses.
#pragma once

#include <cstdint>

#include "framework/GdiObject.h"

class OffscreenCanvas : public CBitmap {
public:
    // At the screen size of this moment. Reports nothing: on failure it holds
    // no bitmap and no bits.
    OffscreenCanvas();
    OffscreenCanvas(int width, int height);

    // A new black bitmap of this size in place of the old one; on failure none.
    BOOL Create(int width, int height);

    std::int32_t m_nWidth;
    std::int32_t m_nHeight;
    // Row 0 first, m_nWidth pixels a row, each 0x00RRGGBB (what SetPixelV
    // stores in such a bitmap); null without a bitmap. Call GdiFlush before
    // writing here after GDI drew into the bitmap.
    std::uint32_t* m_pBits = nullptr;
};

// The process's one canvas. Select its bitmap (g_canvas.GetSafeHandle()) into a
// memory DC of your own for the length of one operation, then select it out.
extern OffscreenCanvas g_canvas;
