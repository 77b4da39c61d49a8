// The printer fit: 80 % of the page width, then capped by the page height.
#include <gtest/gtest.h>

#include "image/PrinterFit.h"

namespace zorv {
namespace {

TEST(PrinterFit, EightyPercentOfTheWidthThenHeightCapped) {
    const struct {
        std::uint32_t w, h;
        PageMetrics page;
        std::int32_t width, height;
    } rows[] = {
        {640, 480, {4800, 6600, 600, 600}, 3840, 2880},
        {200, 800, {4800, 6600, 600, 600}, 1650, 6600},  // 15360 first, over 6600
        {640, 480, {4800, 6600, 600, 300}, 3840, 1440},  // dots twice as tall as wide
        {3, 7, {999, 99999, 100, 100}, 799, 1864},      // truncation, never rounding
        {1, 2147483647u, {4800, 6600, 600, 600}, 3840, INT32_MIN},  // the x86 conversion's result
    };
    for (const auto& row : rows) {
        const auto fit = FitToPage(row.w, row.h, row.page);
        ASSERT_TRUE(fit.has_value()) << row.w << "x" << row.h;
        EXPECT_EQ(fit->width, row.width) << row.w << "x" << row.h;
        EXPECT_EQ(fit->height, row.height) << row.w << "x" << row.h;
    }
    EXPECT_FALSE(FitToPage(0, 480, {4800, 6600, 600, 600}).has_value());
    EXPECT_FALSE(FitToPage(640, 480, {4800, 6600, 0, 600}).has_value());
}

}  // namespace
}  // namespace zorv
