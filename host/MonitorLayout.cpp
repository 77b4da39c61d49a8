// The cover windows' layout around the saver window.
#include "host/MonitorLayout.h"

#include <algorithm>

namespace zorv {

namespace {

bool IsEmpty(const ScreenRect& r) { return r.left >= r.right || r.top >= r.bottom; }

void AddOnce(std::vector<ScreenRect>& covers, const ScreenRect& r) {
    if (!IsEmpty(r) && std::find(covers.begin(), covers.end(), r) == covers.end()) covers.push_back(r);
}

}  // namespace

std::vector<ScreenRect> CoverRects(const std::vector<ScreenRect>& monitors, ScreenRect saver) {
    std::vector<ScreenRect> covers;
    for (const ScreenRect& m : monitors) {
        if (IsEmpty(m)) continue;
        const ScreenRect overlap{std::max(m.left, saver.left), std::max(m.top, saver.top),
                                 std::min(m.right, saver.right), std::min(m.bottom, saver.bottom)};
        if (IsEmpty(overlap)) {
            AddOnce(covers, m);
            continue;
        }
        // Nothing may hide part of the fractal window: cover only the bands around it.
        AddOnce(covers, {m.left, m.top, m.right, overlap.top});
        AddOnce(covers, {m.left, overlap.bottom, m.right, m.bottom});
        AddOnce(covers, {m.left, overlap.top, overlap.left, overlap.bottom});
        AddOnce(covers, {overlap.right, overlap.top, m.right, overlap.bottom});
    }
    return covers;
}

}  // namespace zorv
