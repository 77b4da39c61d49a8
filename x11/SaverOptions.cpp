// Strict parsing of the display mode's options: every value consumed whole and
// in its range, the sliders' ranges taken from the settings dialog's table.
#include "x11/SaverOptions.h"

#include "settings/OptionText.h"

namespace zorv {

bool ParseWindowId(const std::string& text, std::uint32_t& id) {
    unsigned long long value = 0;
    if (!ParseUnsignedOrHex(text, 0xFFFFFFFFull, value) || value == 0) return false;
    id = static_cast<std::uint32_t>(value);
    return true;
}

bool ParseSaverOptions(const std::vector<std::string>& args, SaverOptions& options, std::string& error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& name = args[i];
        const std::string* value = i + 1 < args.size() ? &args[i + 1] : nullptr;
        auto fail = [&](const std::string& message) {
            error = PrintableOption(name) + ": " + message;
            return false;
        };
        unsigned long long number = 0;
        int slider = -1;
        for (int s = 0; s < kTrackBarCount; ++s) {
            if (name == kSliderOptions[s]) slider = s;
        }

        if (name == "-help" || name == "--help" || name == "-h") {
            options.help = true;
        } else if (name == "-window") {
            options.target = DrawTarget::OwnWindow;
        } else if (name == "-root") {
            options.target = DrawTarget::Root;
        } else if (name == "-random" || name == "-no-random") {
            options.randomSettings = name == "-random";
        } else if (name == "-window-id") {
            if (!value || !ParseWindowId(*value, options.windowId)) return fail("expects a window id, decimal or 0x hex");
            options.target = DrawTarget::WindowId;
            ++i;
        } else if (name == "-delay") {
            if (!value || !ParseUnsigned(*value, kMaxDelayMicroseconds, number))
                return fail("expects microseconds from 0 to 10000000");
            options.delayMicroseconds = static_cast<long>(number);
            ++i;
        } else if (name == "-seed") {
            if (!value || !ParseUnsigned(*value, 0xFFFFFFFFull, number))
                return fail("expects an unsigned 32-bit number");
            options.seed = static_cast<std::uint32_t>(number);
            ++i;
        } else if (slider >= 0) {
            const std::int32_t max = kTrackBars[slider].rangeMax;
            if (!value || !ParseUnsigned(*value, static_cast<unsigned long long>(max), number))
                return fail("expects a number from 0 to " + std::to_string(max));
            options.sliders[slider] = static_cast<std::int32_t>(number);
            ++i;
        } else {
            return fail("unknown option (-help lists them)");
        }
    }
    return true;
}

void ApplySettingOptions(const SaverOptions& options, SaverSettings& settings) {
    for (int s = 0; s < kTrackBarCount; ++s) {
        if (!options.sliders[s]) continue;
        // As the dialog's OK stores a track bar's position.
        const TrackBarSetting& bar = kTrackBars[s];
        if (bar.integer != nullptr) {
            settings.*bar.integer = *options.sliders[s];
        } else {
            settings.*bar.real = static_cast<double>(*options.sliders[s]);
        }
    }
    if (options.randomSettings) settings.RandomSettings = *options.randomSettings ? 1 : 0;
}

bool ChooseWindow(const SaverOptions& options, const char* environment, WindowChoice& choice, std::string& error) {
    choice = {options.target.value_or(DrawTarget::OwnWindow), options.windowId};
    if (options.target.value_or(DrawTarget::Root) != DrawTarget::Root || environment == nullptr || *environment == '\0')
        return true;
    if (!ParseWindowId(environment, choice.id)) {
        error = "XSCREENSAVER_WINDOW: " + PrintableOption(environment) + " is no window id";
        return false;
    }
    choice.target = DrawTarget::WindowId;
    return true;
}

const char* SaverUsage() {
    return "usage: zorv [-window | -root | -window-id ID] [-delay MICROSECONDS] [-seed N]\n"
           "            [-colors 0-100] [-iterations 0-100] [-constant 0-100] [-scale 0-100]\n"
           "            [-view 0-100] [-spread 0-50] [-random | -no-random]\n"
           "  -window     a window of its own (the default, unless $XSCREENSAVER_WINDOW is set)\n"
           "  -root       the window $XSCREENSAVER_WINDOW names, or else the root window\n"
           "  -window-id  the window with that id, decimal or 0x hex\n"
           "  -delay      the pause between paints of 26 columns (default 200000)\n"
           "  -seed       the generator's start, for repeatable images (default: the time)\n"
           "  The settings options override the settings file, "
           "$XDG_CONFIG_HOME/zorv/zorvsave.ini or ~/.config/zorv/zorvsave.ini.\n";
}

}  // namespace zorv
