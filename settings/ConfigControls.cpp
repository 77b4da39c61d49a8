// The configuration dialog's effects on the settings and its controls.
#include "settings/ConfigControls.h"

#include "settings/Truncate.h"

namespace zorv {

const TrackBarSetting kTrackBars[kTrackBarCount] = {
    {kIdColors, 100, &SaverSettings::Cycles, nullptr, SaverDefaults::Cycles},
    {kIdIterations, 100, nullptr, &SaverSettings::Iters, SaverDefaults::Iters},
    {kIdConstant, 100, &SaverSettings::Constant, nullptr, SaverDefaults::Constant},
    {kIdScale, 100, &SaverSettings::Scale, nullptr, SaverDefaults::Scale},
    {kIdView, 100, &SaverSettings::View, nullptr, SaverDefaults::View},
    {kIdRandomSpread, 50, &SaverSettings::Spread, nullptr, SaverDefaults::Spread},
};

namespace {

std::int32_t PositionOf(const SaverSettings& settings, const TrackBarSetting& bar) {
    return bar.integer != nullptr ? settings.*bar.integer : TrackBarPosition(settings.*bar.real);
}

void EnableTrackBars(ConfigControls& controls, bool enabled) {
    for (const TrackBarSetting& bar : kTrackBars) controls.Enable(bar.id, enabled);
}

}  // namespace

std::int32_t TrackBarPosition(double value) {
    if (value >= 2147483648.0) return INT32_MAX;
    return TruncToInt(value);
}

void LoadControls(const SaverSettings& settings, ConfigControls& controls) {
    for (const TrackBarSetting& bar : kTrackBars) {
        controls.SetRange(bar.id, 0, bar.rangeMax);
        controls.SetPos(bar.id, PositionOf(settings, bar));
    }
    if (settings.RandomSettings == 1) {
        controls.SetCheck(kIdRandomSettings, true);
        EnableTrackBars(controls, false);
    }
    if (settings.SaveImage == 1) controls.SetCheck(kIdSaveImage, true);
    if (settings.AllMonitors == 1) controls.SetCheck(kIdAllMonitors, true);
}

void StoreControls(SaverSettings& settings, ConfigControls& controls) {
    for (const TrackBarSetting& bar : kTrackBars) {
        const std::int32_t pos = controls.GetPos(bar.id);
        if (bar.integer != nullptr) {
            settings.*bar.integer = pos;
        } else {
            settings.*bar.real = static_cast<double>(pos);
        }
    }
}

void ToggleRandomSettings(SaverSettings& settings, ConfigControls& controls) {
    if (!controls.Exists(kIdRandomSettings)) return;
    const bool turnOn = settings.RandomSettings != 1;
    settings.RandomSettings = turnOn ? 1 : 0;
    controls.SetCheck(kIdRandomSettings, turnOn);
    // Random mode draws its own values for every image: the thumbs would only mislead.
    EnableTrackBars(controls, !turnOn);
}

namespace {

void ToggleFlag(std::uint8_t& flag, int id, ConfigControls& controls) {
    if (!controls.Exists(id)) return;
    const bool turnOn = flag != 1;
    flag = turnOn ? 1 : 0;
    controls.SetCheck(id, turnOn);
}

}  // namespace

void ToggleSaveImage(SaverSettings& settings, ConfigControls& controls) {
    ToggleFlag(settings.SaveImage, kIdSaveImage, controls);
}

void ToggleAllMonitors(SaverSettings& settings, ConfigControls& controls) {
    ToggleFlag(settings.AllMonitors, kIdAllMonitors, controls);
}

void ResetToDefaults(SaverSettings& settings, ConfigControls& controls) {
    if (settings.RandomSettings == 1) ToggleRandomSettings(settings, controls);
    if (settings.SaveImage == 1) ToggleSaveImage(settings, controls);
    if (settings.AllMonitors != 1) ToggleAllMonitors(settings, controls);
    for (const TrackBarSetting& bar : kTrackBars) {
        if (bar.integer != nullptr) {
            settings.*bar.integer = TruncToInt(bar.defaultValue);
        } else {
            settings.*bar.real = bar.defaultValue;
        }
        controls.SetRange(bar.id, 0, bar.rangeMax);
        controls.SetPos(bar.id, TruncToInt(bar.defaultValue));
    }
}

}  // namespace zorv
