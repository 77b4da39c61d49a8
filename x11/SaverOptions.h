// The display mode's command line, read without side effects so that bad input
// can be tested and fuzzed: where to draw (XScreenSaver's conventions), the
// pacing, the generator's seed, and the settings put over the settings file's.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "settings/ConfigControls.h"
#include "settings/SaverSettings.h"

namespace zorv {

enum class DrawTarget {
    OwnWindow,  // -window: a window of its own
    Root,       // -root: the root window, or $XSCREENSAVER_WINDOW
    WindowId,   // -window-id ID
};

inline constexpr long kDefaultDelayMicroseconds = 200000;
inline constexpr long kMaxDelayMicroseconds = 10000000;

struct SaverOptions {
    bool help = false;
    std::optional<DrawTarget> target;  // none given: see ChooseWindow
    std::uint32_t windowId = 0;  // with WindowId
    long delayMicroseconds = kDefaultDelayMicroseconds;
    std::optional<std::uint32_t> seed;
    std::optional<std::int32_t> sliders[kTrackBarCount];  // in kTrackBars order
    std::optional<bool> randomSettings;
};

// The slider options in kTrackBars order, each taking 0 to that bar's range.
inline constexpr const char* kSliderOptions[kTrackBarCount] = {"-colors", "-iterations", "-constant",
                                                               "-scale",  "-view",       "-spread"};

// Fills `options` from the arguments after the program name; the last of
// -window, -root and -window-id counts. On a bad option or value returns false
// with a one-line message that names the option.
bool ParseSaverOptions(const std::vector<std::string>& args, SaverOptions& options, std::string& error);

// The options' settings over those loaded from the settings file.
void ApplySettingOptions(const SaverOptions& options, SaverSettings& settings);

// A window id as XScreenSaver writes one: decimal or 0x hex, not 0, 32 bits.
bool ParseWindowId(const std::string& text, std::uint32_t& id);

// Where to draw. $XSCREENSAVER_WINDOW (`environment`, may be null) is how
// XScreenSaver hands a mode its window: when it is set, -root and no target
// option at all mean that window; otherwise -root is the root window and no
// option means a window of its own (a run by hand). False with a one-line
// message when the variable holds no window id.
struct WindowChoice {
    DrawTarget target;
    std::uint32_t id;  // with WindowId
};
bool ChooseWindow(const SaverOptions& options, const char* environment, WindowChoice& choice, std::string& error);

const char* SaverUsage();

}  // namespace zorv
