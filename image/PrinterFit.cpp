// The printer fit, in double arithmetic with truncating conversions.
#include "image/PrinterFit.h"

#include "settings/Truncate.h"

namespace zorv {

std::optional<FitSize> FitToPage(std::uint32_t w, std::uint32_t h, const PageMetrics& page) {
    if (w == 0 || h == 0 || page.logPixelsX == 0 || page.logPixelsY == 0) return std::nullopt;
    const double pw = w, ph = h, lpx = page.logPixelsX, lpy = page.logPixelsY;
    const auto heightFor = [&](std::int32_t width) {
        return TruncToInt(static_cast<double>(width) * ph * lpy / (pw * lpx));
    };
    FitSize fit;
    fit.width = TruncToInt(0.8 * page.horzRes);
    fit.height = heightFor(fit.width);
    if (fit.height > page.vertRes) {
        fit.width = TruncToInt(static_cast<double>(page.vertRes) * pw * lpx / (ph * lpy));
        fit.height = heightFor(fit.width);
    }
    return fit;
}

}  // namespace zorv
