// An off-screen canvas in plain memory, black at the start: the canvas of the
// headless renderer and of the tests.
#pragma once

#include <cstdint>
#include <vector>

#include "fractal/Canvas.h"

namespace zorv {

class MemoryCanvas : public Canvas {
public:
    MemoryCanvas(int width, int height);

    void SetPixel(int x, int y, std::uint32_t color) override;
    void SetColumn(int x, int y, const std::uint32_t* colors, int count) override;
    void Present(int width, int height) override;

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // Column by column, each top-down (x * Height() + y), COLORREF layout.
    const std::vector<std::uint32_t>& Columns() const { return m_columns; }
    // Rows top-down, as the canvas holds them now: a copy made on each call.
    const std::vector<std::uint32_t>& Pixels() const;

protected:
    // Called by Present with the pixels as they are now; does nothing by default.
    virtual void OnPresent(int /*width*/, int /*height*/) {}

private:
    int m_width;
    int m_height;
    // Kept column by column: the renderer writes whole columns, and writing them
    // across a row-major picture touches a new page at every pixel.
    std::vector<std::uint32_t> m_columns;
    mutable std::vector<std::uint32_t> m_rows;  // Pixels()' copy
};

}  // namespace zorv
