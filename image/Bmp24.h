// 24-bit bottom-up BMP files from COLORREF pixels: what the headless renderer
// writes for every presented image.
#pragma once

#include <cstdint>
#include <ostream>
#include <vector>

namespace zorv {

// Writes the file of width × height colours held column by column
// (`columns[x * height + y]`, rows from the top, red in the low byte). False,
// with nothing written, when the picture cannot fit a BMP file (over 4 GiB, or a
// size below 1); false too when the stream fails.
bool WriteBmp24(std::ostream& out, int width, int height, const std::vector<std::uint32_t>& columns);

}  // namespace zorv
