// The renderer's GDI canvas: the pixels SetPixelV would give, whatever way the
// pixels arrive, and nothing on the window until a finished image is presented.
#include <gtest/gtest.h>

#include "fractal/GdiCanvas.h"
#include "tests/win32/WinTestSupport.h"

namespace {

using wintest::Surface;

COLORREF ColorAt(int x, int y) { return RGB((x * 37 + y * 11) & 0xFF, (x * 5 + y * 97) & 0xFF, (x * y * 13 + 7) & 0xFF); }

TEST(GdiCanvas, GivesTheSamePixelsAsSetPixelVAndPresentsOnlyItsRectangle) {
    constexpr int kW = 40, kH = 30;
    Surface viaCanvas(kW, kH), viaSetPixel(kW, kH), window(kW, kH);
    // Whole columns, a column with a gap, a lone pixel, a column set upwards, and
    // the last column still gathered when Present comes.
    const auto draw = [](auto&& set) {
        for (int x = 0; x < 20; ++x)
            for (int y = 0; y < kH; ++y) set(x, y);
        for (int y = 0; y < kH; ++y)
            if (y != 12) set(25, y);
        set(33, 7);
        for (int y = kH - 1; y >= 0; --y) set(36, y);
        for (int y = 0; y < 20; ++y) set(38, y);
    };
    draw([&](int x, int y) { viaSetPixel.dc.SetPixelV(x, y, ColorAt(x, y)); });
    CGdiCanvas canvas(viaCanvas.dc, &window.dc);
    draw([&](int x, int y) { canvas.SetPixel(x, y, ColorAt(x, y)); });
    EXPECT_EQ(window.At(0, 0), Surface::kSentinel) << "pixels reached the window before Present";
    canvas.Present(kW - 1, 15);
    int differences = 0;
    for (int x = 0; x < kW; ++x) {
        for (int y = 0; y < kH; ++y) {
            differences += viaCanvas.At(x, y) != viaSetPixel.At(x, y);
            const bool presented = x < kW - 1 && y < 15;
            differences += window.At(x, y) != (presented ? viaSetPixel.At(x, y) : Surface::kSentinel);
        }
    }
    EXPECT_EQ(differences, 0);
    EXPECT_EQ(viaCanvas.At(3, 4), ColorAt(3, 4));
}

}  // namespace
