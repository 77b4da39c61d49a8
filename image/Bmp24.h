// 24-bit bottom-up BMP files from COLORREF pixels: what the headless renderer
// writes for every presented image.
#pragma once

#include <cstdint>
#include <vector>

namespace zorv {

// `pixels` holds width × height colours, rows top-down, red in the low byte.
// Empty when the picture cannot fit a BMP file (over 4 GiB, or a size below 1).
std::vector<std::uint8_t> EncodeBmp24(int width, int height, const std::vector<std::uint32_t>& pixels);

}  // namespace zorv
