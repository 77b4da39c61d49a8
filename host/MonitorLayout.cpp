// The layout of the windows on the other monitors.
#include "host/MonitorLayout.h"

#include <algorithm>

namespace zorv {

namespace {

bool IsEmpty(const ScreenRect& r) { return r.left >= r.right || r.top >= r.bottom; }

ScreenRect Overlap(const ScreenRect& a, const ScreenRect& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

void AddCover(std::vector<MonitorWindow>& windows, const ScreenRect& r) {
    const MonitorWindow cover{r, false};
    if (!IsEmpty(r) && std::find(windows.begin(), windows.end(), cover) == windows.end()) windows.push_back(cover);
}

}  // namespace

std::vector<MonitorWindow> MonitorWindows(const std::vector<ScreenRect>& monitors, ScreenRect saver, bool fractals) {
    std::vector<MonitorWindow> windows;
    std::vector<ScreenRect> placed{saver};  // windows over whole monitors
    for (const ScreenRect& m : monitors) {
        if (IsEmpty(m)) continue;
        const auto over = std::find_if(placed.begin(), placed.end(), [&](const ScreenRect& p) { return !IsEmpty(Overlap(m, p)); });
        if (over == placed.end()) {
            windows.push_back({m, fractals});
            placed.push_back(m);
            continue;
        }
        // Nothing may hide part of a window already there: cover only the bands around it.
        const ScreenRect o = Overlap(m, *over);
        AddCover(windows, {m.left, m.top, m.right, o.top});
        AddCover(windows, {m.left, o.bottom, m.right, m.bottom});
        AddCover(windows, {m.left, o.top, o.left, o.bottom});
        AddCover(windows, {o.right, o.top, m.right, o.bottom});
    }
    return windows;
}

}  // namespace zorv
