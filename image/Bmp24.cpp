// Writer for the BMP file header, the 40-byte info header and padded BGR rows.
#include "image/Bmp24.h"

namespace zorv {

namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    Put16(out, value & 0xFFFFu);
    Put16(out, value >> 16);
}

}  // namespace

std::vector<std::uint8_t> EncodeBmp24(int width, int height, const std::vector<std::uint32_t>& pixels) {
    if (width < 1 || height < 1) return {};
    const std::uint64_t rowBytes = (static_cast<std::uint64_t>(width) * 3 + 3) / 4 * 4;
    const std::uint64_t imageBytes = rowBytes * static_cast<std::uint64_t>(height);
    constexpr std::uint32_t kHeaders = 14 + 40;
    if (imageBytes + kHeaders > 0xFFFFFFFFull) return {};
    if (pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) return {};

    std::vector<std::uint8_t> out;
    out.reserve(static_cast<std::size_t>(imageBytes) + kHeaders);
    out.push_back('B');
    out.push_back('M');
    Put32(out, static_cast<std::uint32_t>(imageBytes) + kHeaders);
    Put32(out, 0);  // reserved
    Put32(out, kHeaders);
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height));  // positive: bottom-up rows
    Put16(out, 1);                                   // planes
    Put16(out, 24);
    Put32(out, 0);  // BI_RGB
    Put32(out, static_cast<std::uint32_t>(imageBytes));
    Put32(out, 2835);  // 72 dpi
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);

    for (int y = height - 1; y >= 0; --y) {
        const std::uint32_t* row = pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t color = row[x];
            out.push_back(static_cast<std::uint8_t>(color >> 16));  // blue
            out.push_back(static_cast<std::uint8_t>(color >> 8));   // green
            out.push_back(static_cast<std::uint8_t>(color));        // red
        }
        for (std::uint64_t pad = static_cast<std::uint64_t>(width) * 3; pad < rowBytes; ++pad) out.push_back(0);
    }
    return out;
}

}  // namespace zorv
