// Which parts of the desktop the saver covers besides its own window: every
// monitor outside the full-screen window gets a plain cover window.
#pragma once

#include <cstdint>
#include <vector>

namespace zorv {

// A rectangle in virtual-screen pixels; right and bottom are exclusive.
// Monitors left of or above the primary have negative coordinates.
struct ScreenRect {
    std::int32_t left, top, right, bottom;
    bool operator==(const ScreenRect&) const = default;
};

// The rectangles of the cover windows, in monitor order: each monitor's area
// outside `saver` (the primary monitor, which the fractal window fills). A
// monitor overlapping the saver window is covered by up to four bands around
// it; empty and repeated (mirrored) monitors are skipped.
std::vector<ScreenRect> CoverRects(const std::vector<ScreenRect>& monitors, ScreenRect saver);

}  // namespace zorv
