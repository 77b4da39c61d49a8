// The user settings, their defaults, and their load and save through a
// private-profile store ("zorvsave.ini", section "ZorvSaver").
#pragma once

#include <cstdint>
#include <string>

#include "settings/ProfileStore.h"

namespace zorv {

struct SaverSettings {
    double Cycles;
    std::int32_t Iters;
    double Constant;
    double Scale;
    double View;
    double Spread;
    std::uint8_t RandomSettings;  // 0 or 1; readers test for equality with 1
    std::uint8_t SaveImage;       // 0 or 1
    std::uint8_t AllMonitors;     // 0 or 1: fractals on every monitor (1), or on the primary only
};

struct SaverDefaults {
    static constexpr double Cycles = 37.0;
    static constexpr std::int32_t Iters = 30;
    static constexpr double Constant = 20.0;
    static constexpr double Scale = 16.0;
    static constexpr double View = 30.0;
    static constexpr double Spread = 10.0;
};

inline constexpr const char* kSettingsFile = "zorvsave.ini";
inline constexpr const char* kSettingsSection = "ZorvSaver";

// Settings at program start: numeric defaults, random settings and saving off,
// fractals on every monitor.
SaverSettings DefaultSettings();

// Puts the six numeric defaults in place; the toggles are left as they are.
void ApplyNumericDefaults(SaverSettings& settings);

// Overwrites every field from the store; absent keys give the defaults.
void LoadSettings(SaverSettings& settings, ProfileStore& store);

// Writes every key, one call each, in the order Cycles … SaveImage, AllMonitors.
void SaveSettings(const SaverSettings& settings, ProfileStore& store);

// The text a real-valued setting is saved as: truncated toward zero, "%d".
std::string SettingText(double value);
std::string SettingText(std::int32_t value);

}  // namespace zorv
