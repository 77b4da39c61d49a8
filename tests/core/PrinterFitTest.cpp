// The printer fit with the page sizes and pictures that exercise each branch.
#include <gtest/gtest.h>

#include "image/PrinterFit.h"

namespace zorv {
namespace {

TEST(PrinterFit, EightyPercentOfTheWidthThenHeightCapped) {
    struct Row {
        std::uint32_t w, h;
        PageMetrics page;
        std::int32_t width, height;
    };
    const PageMetrics letter600{4800, 6600, 600, 600};
    const Row rows[] = {
        {640, 480, letter600, 3840, 2880},
        {480, 640, letter600, 3840, 5120},
        {200, 800, letter600, 1650, 6600},  // 15360 first, over 6600
        {1, 1, letter600, 3840, 3840},
        // dots twice as tall as wide: half as many vertical dots for the same inch
        {640, 480, {4800, 6600, 600, 300}, 3840, 1440},
        {100, 100, {1000, 500, 300, 600}, 250, 500},   // 800 × 2 = 1600 > 500: capped
        {3, 7, {999, 99999, 100, 100}, 799, 1864},     // truncation, never rounding
    };
    for (const Row& row : rows) {
        const auto fit = FitToPage(row.w, row.h, row.page);
        ASSERT_TRUE(fit.has_value()) << row.w << "x" << row.h;
        EXPECT_EQ(fit->width, row.width) << row.w << "x" << row.h;
        EXPECT_EQ(fit->height, row.height) << row.w << "x" << row.h;
    }
}

TEST(PrinterFit, NothingToFitWhenTheFitWouldDivideByZero) {
    const PageMetrics page{4800, 6600, 600, 600};
    EXPECT_FALSE(FitToPage(0, 480, page).has_value());
    EXPECT_FALSE(FitToPage(640, 0, page).has_value());
    EXPECT_FALSE(FitToPage(640, 480, {4800, 6600, 0, 600}).has_value());
    EXPECT_FALSE(FitToPage(640, 480, {4800, 6600, 600, 0}).has_value());
}

TEST(PrinterFit, HugePicturesStayDefined) {
    // Width 2^31 − 1 against a tiny height: the capped width is far below one dot.
    const auto fit = FitToPage(2147483647u, 1, {4800, 6600, 600, 600});
    ASSERT_TRUE(fit.has_value());
    EXPECT_EQ(fit->width, 3840);
    EXPECT_EQ(fit->height, 0);
    // A height beyond the 32-bit range converts to INT32_MIN, which does not
    // exceed the page, so no cap follows: the result of the x86 conversion.
    const auto tall = FitToPage(1, 2147483647u, {4800, 6600, 600, 600});
    ASSERT_TRUE(tall.has_value());
    EXPECT_EQ(tall->width, 3840);
    EXPECT_EQ(tall->height, INT32_MIN);
}

}  // namespace
}  // namespace zorv
