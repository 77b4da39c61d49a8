// Where a picture lands on a printed page: 80 % of the page width, keeping the
// picture's physical aspect on devices whose dots are not square.
#pragma once

#include <cstdint>
#include <optional>

namespace zorv {

struct PageMetrics {
    std::int32_t horzRes;     // HORZRES
    std::int32_t vertRes;     // VERTRES
    std::int32_t logPixelsX;  // LOGPIXELSX
    std::int32_t logPixelsY;  // LOGPIXELSY
};

struct FitSize {
    std::int32_t width;
    std::int32_t height;
};

// The destination size for a w × h picture, or none when the fit would divide
// by zero (an empty picture or a device reporting no resolution): such a
// picture is not printed.
std::optional<FitSize> FitToPage(std::uint32_t w, std::uint32_t h, const PageMetrics& page);

}  // namespace zorv
