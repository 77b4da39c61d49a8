// The drawing timer's period: the portable rule the saver window hands to
// SetTimer, kept apart so it can be checked without a window system.
#pragma once

namespace zorv {

inline constexpr int kTimerPeriodNumeratorMs = 2000;

// Milliseconds between drawing ticks: 2000 / speed, a speed below 1 counting as 1.
constexpr unsigned TimerPeriodMs(int speed) {
    return static_cast<unsigned>(kTimerPeriodNumeratorMs / (speed < 1 ? 1 : speed));
}

}  // namespace zorv
