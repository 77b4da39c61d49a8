// The renderer's canvas on real device contexts: pixels into the off-screen
// canvas's memory DC, finished images onto the window's paint DC in one BitBlt.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "fractal/Canvas.h"
#include "framework/DC.h"

class CGdiCanvas : public zorv::Canvas {
public:
    // `canvasDC` holds the off-screen bitmap; `pTarget` is the paint DC (may be null).
    CGdiCanvas(CDC& canvasDC, CDC* pTarget);
    ~CGdiCanvas() override;
    CGdiCanvas(const CGdiCanvas&) = delete;
    CGdiCanvas& operator=(const CGdiCanvas&) = delete;

    void SetPixel(int x, int y, std::uint32_t color) override;
    void Present(int width, int height) override;

    // Writes the pixels gathered so far into the canvas DC.
    void Flush();

private:
    CDC& m_canvasDC;
    CDC* m_pTarget;
    // The renderer sets pixels a column at a time, top to bottom; a run of one
    // column goes to the DC in one SetDIBitsToDevice, which gives the same
    // pixels as SetPixelV for each but costs a fraction of the calls.
    int m_runX = 0;
    int m_runY = 0;
    std::vector<std::uint32_t> m_run;  // 32-bit DIB pixels, 0x00RRGGBB
};
