// Settings defaults and the load/save conversions.
#include "settings/SaverSettings.h"

#include <cstdio>

#include "settings/Truncate.h"

namespace zorv {

SaverSettings DefaultSettings() {
    SaverSettings settings{};
    ApplyNumericDefaults(settings);
    settings.AllMonitors = 1;
    return settings;
}

void ApplyNumericDefaults(SaverSettings& settings) {
    settings.Cycles = SaverDefaults::Cycles;
    settings.Iters = SaverDefaults::Iters;
    settings.Constant = SaverDefaults::Constant;
    settings.Scale = SaverDefaults::Scale;
    settings.View = SaverDefaults::View;
    settings.Spread = SaverDefaults::Spread;
}

namespace {

// A stored value of 2^31 or more stays a large positive real.
double LoadReal(ProfileStore& store, const char* key, double fallback) {
    return static_cast<double>(store.GetInt(kSettingsSection, key, TruncToInt(fallback)));
}

std::uint8_t LoadFlag(ProfileStore& store, const char* key, std::int32_t fallback = 0) {
    return store.GetInt(kSettingsSection, key, fallback) != 0 ? 1 : 0;
}

}  // namespace

void LoadSettings(SaverSettings& settings, ProfileStore& store) {
    settings.Cycles = LoadReal(store, "Cycles", SaverDefaults::Cycles);
    settings.Iters = static_cast<std::int32_t>(store.GetInt(kSettingsSection, "Iters", SaverDefaults::Iters));
    settings.Constant = LoadReal(store, "Constant", SaverDefaults::Constant);
    settings.Scale = LoadReal(store, "Scale", SaverDefaults::Scale);
    settings.View = LoadReal(store, "View", SaverDefaults::View);
    settings.Spread = LoadReal(store, "Spread", SaverDefaults::Spread);
    settings.RandomSettings = LoadFlag(store, "RandomSettings");
    settings.SaveImage = LoadFlag(store, "SaveImage");
    // Files from before this key meant fractals on every monitor.
    settings.AllMonitors = LoadFlag(store, "AllMonitors", 1);
}

std::string SettingText(std::int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
    return text;
}

std::string SettingText(double value) { return SettingText(TruncToInt(value)); }

void SaveSettings(const SaverSettings& settings, ProfileStore& store) {
    store.WriteString(kSettingsSection, "Cycles", SettingText(settings.Cycles).c_str());
    store.WriteString(kSettingsSection, "Iters", SettingText(settings.Iters).c_str());
    store.WriteString(kSettingsSection, "Constant", SettingText(settings.Constant).c_str());
    store.WriteString(kSettingsSection, "Scale", SettingText(settings.Scale).c_str());
    store.WriteString(kSettingsSection, "View", SettingText(settings.View).c_str());
    store.WriteString(kSettingsSection, "Spread", SettingText(settings.Spread).c_str());
    store.WriteString(kSettingsSection, "RandomSettings", SettingText(std::int32_t{settings.RandomSettings}).c_str());
    store.WriteString(kSettingsSection, "SaveImage", SettingText(std::int32_t{settings.SaveImage}).c_str());
    store.WriteString(kSettingsSection, "AllMonitors", SettingText(std::int32_t{settings.AllMonitors}).c_str());
}

}  // namespace zorv
