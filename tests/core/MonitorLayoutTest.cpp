// The cover windows' layout: monitor rectangles in, the rectangles of the
// plain windows around the full-screen saver out.
#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "host/MonitorLayout.h"

namespace zorv {
void PrintTo(const ScreenRect& r, std::ostream* os) { *os << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")"; }
}  // namespace zorv

namespace {

using zorv::ScreenRect;
using Rects = std::vector<ScreenRect>;

constexpr ScreenRect kPrimary{0, 0, 1920, 1080};

struct Row {
    const char* layout;
    Rects monitors;
    Rects covers;
};

const Row kRows[] = {
    {"one monitor", {kPrimary}, {}},
    {"side by side, same size", {kPrimary, {1920, 0, 3840, 1080}}, {{1920, 0, 3840, 1080}}},
    {"left, negative, smaller, lower", {{-1280, 200, 0, 1224}, kPrimary}, {{-1280, 200, 0, 1224}}},
    {"stacked above", {kPrimary, {0, -1440, 2560, 0}}, {{0, -1440, 2560, 0}}},
    {"three, in monitor order",
     {{-1024, -768, 0, 0}, kPrimary, {1920, 300, 3200, 1324}},
     {{-1024, -768, 0, 0}, {1920, 300, 3200, 1324}}},
    {"mirrored primary and twice the same second", {kPrimary, kPrimary, {1920, 0, 3000, 900}, {1920, 0, 3000, 900}},
     {{1920, 0, 3000, 900}}},
    {"empty monitor", {kPrimary, {1920, 0, 1920, 1080}, {0, 1080, 800, 1080}}, {}},
    {"larger monitor around the primary",
     {{-100, -50, 2020, 1130}},
     {{-100, -50, 2020, 0}, {-100, 1080, 2020, 1130}, {-100, 0, 0, 1080}, {1920, 0, 2020, 1080}}},
    {"overlapping the right edge", {kPrimary, {1800, 0, 3000, 1080}}, {{1920, 0, 3000, 1080}}},
};

TEST(MonitorLayout, EveryMonitorOutsideTheSaverWindowIsCovered) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.layout);
        EXPECT_EQ(zorv::CoverRects(row.monitors, kPrimary), row.covers);
    }
}

}  // namespace
