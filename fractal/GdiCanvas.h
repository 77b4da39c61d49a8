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
    void SetColumn(int x, int y, const std::uint32_t* colors, int count) override;
    void Present(int width, int height) override;

    // Writes the pixels gathered so far into the canvas DC.
    void Flush();

private:
    void Add(int x, int y, std::uint32_t color);
    void Transfer(int x, int y, int width, int height, const std::uint32_t* rows);

    CDC& m_canvasDC;
    CDC* m_pTarget;
    // The renderer sets pixels a column at a time, top to bottom, column after
    // column. Side-by-side columns of equal height gather into one block that
    // goes to the DC in one SetDIBitsToDevice, which gives the same pixels as
    // SetPixelV for each: a paint's columns cost one call instead of thousands.
    int m_x0 = 0;
    int m_y0 = 0;
    int m_columns = 0;      // gathered columns, the last one possibly short
    int m_height = -1;      // height of every full column; -1 while there is one column
    int m_lastLength = 0;   // pixels in the last column
    std::vector<std::uint32_t> m_gathered;  // column by column, 32-bit DIB pixels 0x00RRGGBB
    std::vector<std::uint32_t> m_rows;      // the block row by row, for the transfer
};
