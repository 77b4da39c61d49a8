// The printer fit: 80 % of the page width at the dots' aspect, then capped by the
// page height, truncated. (A path of printing, which the saver itself never takes.)
#include <gtest/gtest.h>

#include "image/PrinterFit.h"

namespace zorv {
namespace {

TEST(PrinterFit, EightyPercentOfTheWidthAtTheDotAspectThenHeightCapped) {
    const struct {
        std::uint32_t w, h;
        PageMetrics page;
        std::int32_t width, height;
    } rows[] = {
        {640, 480, {4800, 6600, 600, 300}, 3840, 1440},  // dots twice as tall as wide
        {200, 800, {4800, 6600, 600, 600}, 1650, 6600},  // 15360 first, over 6600
        {3, 7, {999, 99999, 100, 100}, 799, 1864},       // truncation, never rounding
    };
    for (const auto& row : rows) {
        const auto fit = FitToPage(row.w, row.h, row.page);
        ASSERT_TRUE(fit.has_value()) << row.w << "x" << row.h;
        EXPECT_EQ(fit->width, row.width) << row.w << "x" << row.h;
        EXPECT_EQ(fit->height, row.height) << row.w << "x" << row.h;
    }
    EXPECT_FALSE(FitToPage(640, 480, {4800, 6600, 0, 600}).has_value());
}

}  // namespace
}  // namespace zorv
