// Visual checks and the column-to-row copy of a finished image.
#include "x11/PixelFormat.h"

#include <algorithm>
#include <bit>
#include <cstddef>

namespace zorv {

namespace {

// The shift that puts an 8-bit channel under `mask`; -1 unless the mask is 8 contiguous bits.
int ChannelShift(std::uint32_t mask) {
    if (mask == 0) return -1;
    const int shift = std::countr_zero(mask);
    return mask >> shift == 0xFFu ? shift : -1;
}

}  // namespace

std::optional<PixelFormat> ChoosePixelFormat(const VisualFacts& visual, std::string& why) {
    if (!visual.trueColor || (visual.depth != 24 && visual.depth != 32)) {
        why = "the window's visual is not 24- or 32-bit TrueColor (depth " + std::to_string(visual.depth) + ")";
        return std::nullopt;
    }
    const PixelFormat format{ChannelShift(visual.redMask), ChannelShift(visual.greenMask), ChannelShift(visual.blueMask),
                             0};
    const std::uint32_t used = visual.redMask | visual.greenMask | visual.blueMask;
    if (format.redShift < 0 || format.greenShift < 0 || format.blueShift < 0 || std::popcount(used) != 24 ||
        visual.bitsPerPixel != 32) {
        why = "the window's TrueColor visual has no 8-bit channels in 32-bit pixels";
        return std::nullopt;
    }
    return PixelFormat{format.redShift, format.greenShift, format.blueShift, visual.depth == 32 ? ~used : 0u};
}

void ColumnsToRows(const PixelFormat& format, const std::uint32_t* columns, int width, int height, std::uint32_t* rows,
                   int stride) {
    const std::size_t w = static_cast<std::size_t>(std::max(width, 0)), h = static_cast<std::size_t>(std::max(height, 0));
    const std::size_t s = static_cast<std::size_t>(std::max(stride, 0));
    // In tiles, so that both sides stay within a few pages at a time.
    constexpr std::size_t kTile = 64;
    for (std::size_t x0 = 0; x0 < w; x0 += kTile) {
        for (std::size_t y0 = 0; y0 < h; y0 += kTile) {
            const std::size_t x1 = std::min(x0 + kTile, w), y1 = std::min(y0 + kTile, h);
            for (std::size_t x = x0; x < x1; ++x)
                for (std::size_t y = y0; y < y1; ++y) rows[y * s + x] = ToPixel(format, columns[x * h + y]);
        }
    }
}

}  // namespace zorv
