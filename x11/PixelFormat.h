// How the renderer's COLORREF colours (0x00BBGGRR) become pixels of an X visual.
// Drawn are TrueColor visuals of depth 24 or 32 with 8-bit channels in 32-bit
// pixels; any other visual is refused with the reason.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zorv {

// What the X server says of the window's visual and its pixmap format.
struct VisualFacts {
    bool trueColor;
    int depth;
    int bitsPerPixel;
    std::uint32_t redMask;
    std::uint32_t greenMask;
    std::uint32_t blueMask;
};

struct PixelFormat {
    int redShift;
    int greenShift;
    int blueShift;
    std::uint32_t fill;  // the bits of a 32-bit depth no channel uses (alpha): all set, opaque
};

// None, with `why` set to a one-line reason, when the visual cannot be drawn on.
std::optional<PixelFormat> ChoosePixelFormat(const VisualFacts& visual, std::string& why);

inline std::uint32_t ToPixel(const PixelFormat& format, std::uint32_t color) {
    return ((color & 0xFFu) << format.redShift) | (((color >> 8) & 0xFFu) << format.greenShift) |
           (((color >> 16) & 0xFFu) << format.blueShift) | format.fill;
}

// A column-major picture (x * height + y) as pixel rows top-down, `stride`
// pixels apart.
void ColumnsToRows(const PixelFormat& format, const std::uint32_t* columns, int width, int height, std::uint32_t* rows,
                   int stride);

}  // namespace zorv
