// Which windows the full-screen saver puts on the monitors besides its own:
// a window of its own on every other monitor, drawing fractals or plain black.
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

struct MonitorWindow {
    ScreenRect rect;
    bool fractal;  // draws fractals of its own; otherwise a plain black cover
    bool operator==(const MonitorWindow&) const = default;
};

// The windows besides `saver` (the full-screen window on the primary monitor),
// in monitor order. A monitor that overlaps no window placed so far gets one
// window over all of it: a fractal window when `fractals`, else a cover. A
// monitor overlapping a placed window (a mirrored or cloned display, or one
// larger than the primary) gets covers for the bands around the overlap only,
// so that nothing is covered twice; empty and repeated monitors get nothing.
std::vector<MonitorWindow> MonitorWindows(const std::vector<ScreenRect>& monitors, ScreenRect saver, bool fractals);

}  // namespace zorv
