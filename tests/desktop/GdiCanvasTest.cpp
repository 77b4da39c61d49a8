// The renderer's GDI canvas: the pixels SetPixelV would give, whatever way the
// pixels arrive, and nothing on the window until a finished image is presented.
#include <gtest/gtest.h>

#include "fractal/GdiCanvas.h"

namespace {

// A screen-compatible bitmap in a memory DC, white at first.
struct Scratch {
    Scratch() : bitmap(nullptr) {
        HDC screen = GetDC(nullptr);
        dc.CreateCompatibleDC(nullptr);
        bitmap = CreateCompatibleBitmap(screen, kW, kH);
        ReleaseDC(nullptr, screen);
        previous = dc.SelectObject(bitmap);
        dc.PatBlt(0, 0, kW, kH, WHITENESS);
    }
    ~Scratch() {
        dc.SelectObject(previous);
        DeleteObject(bitmap);
    }
    static constexpr int kW = 40, kH = 30;
    CDC dc;
    HBITMAP bitmap;
    HGDIOBJ previous;
};

COLORREF ColorAt(int x, int y) { return RGB((x * 37 + y * 11) & 0xFF, (x * 5 + y * 97) & 0xFF, (x * y * 13 + 7) & 0xFF); }

TEST(GdiCanvas, GivesTheSamePixelsAsSetPixelVAndPresentsOnlyItsRectangle) {
    Scratch viaCanvas, viaSetPixel, window;
    // Whole columns, a column with a gap, a lone pixel, a column set upwards, and
    // the last column still gathered when Present comes.
    const auto draw = [](auto&& set) {
        for (int x = 0; x < 20; ++x)
            for (int y = 0; y < Scratch::kH; ++y) set(x, y);
        for (int y = 0; y < Scratch::kH; ++y)
            if (y != 12) set(25, y);
        set(33, 7);
        for (int y = Scratch::kH - 1; y >= 0; --y) set(36, y);
        for (int y = 0; y < 20; ++y) set(38, y);
    };
    draw([&](int x, int y) { viaSetPixel.dc.SetPixelV(x, y, ColorAt(x, y)); });
    CGdiCanvas canvas(viaCanvas.dc, &window.dc);
    draw([&](int x, int y) { canvas.SetPixel(x, y, ColorAt(x, y)); });
    EXPECT_EQ(window.dc.GetPixel(0, 0), RGB(255, 255, 255)) << "pixels reached the window before Present";
    canvas.Present(Scratch::kW - 1, 15);
    int differences = 0;
    for (int x = 0; x < Scratch::kW; ++x) {
        for (int y = 0; y < Scratch::kH; ++y) {
            differences += viaCanvas.dc.GetPixel(x, y) != viaSetPixel.dc.GetPixel(x, y);
            const bool presented = x < Scratch::kW - 1 && y < 15;
            differences += window.dc.GetPixel(x, y) != (presented ? viaSetPixel.dc.GetPixel(x, y) : RGB(255, 255, 255));
        }
    }
    EXPECT_EQ(differences, 0);
    EXPECT_EQ(viaCanvas.dc.GetPixel(3, 4), ColorAt(3, 4));
}

}  // namespace
