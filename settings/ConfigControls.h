// What the configuration dialog does to the settings and to its controls, said
// over an abstract set of controls so it runs (and is tested) without Windows.
#pragma once

#include <cstdint>

#include "settings/SaverSettings.h"

namespace zorv {

// Control ids of dialog template 2003.
enum ConfigControlId : int {
    kIdSetDefaults = 1001,
    kIdColors = 1002,
    kIdIterations = 1003,
    kIdConstant = 1004,
    kIdScale = 1005,
    kIdView = 1006,
    kIdRandomSpread = 1007,
    kIdRandomSettings = 1008,
    kIdSaveImage = 1010,
    kIdAllMonitors = 1011,
};

// One track bar and the setting it edits: exactly one of `real` and `integer` is set.
struct TrackBarSetting {
    int id;
    std::int32_t rangeMax;
    double SaverSettings::*real;
    std::int32_t SaverSettings::*integer;
    double defaultValue;
};

// The six track bars in the order they are filled, read and reset (1002 … 1007).
inline constexpr int kTrackBarCount = 6;
extern const TrackBarSetting kTrackBars[kTrackBarCount];

// The dialog's controls as the logic sees them. Ids are those above.
class ConfigControls {
public:
    virtual ~ConfigControls() = default;
    virtual bool Exists(int id) = 0;
    // Range first, without redraw; the position then goes in with redraw.
    virtual void SetRange(int id, std::int32_t min, std::int32_t max) = 0;
    virtual void SetPos(int id, std::int32_t pos) = 0;  // the track bar clamps it to its range
    virtual std::int32_t GetPos(int id) = 0;            // answers while disabled too
    virtual void SetCheck(int id, bool checked) = 0;
    virtual void Enable(int id, bool enabled) = 0;
};

// The track bar position a stored value is shown at: truncated toward zero.
// Values too large for an int (a negative file value read as unsigned is one)
// go in as INT32_MAX so the track bar shows its top end, not its bottom.
std::int32_t TrackBarPosition(double value);

// Settings → controls (the dialog opening): ranges, positions, and the marks
// and disabled track bars the two toggles call for. Nothing is unmarked or
// enabled: the template's initial state stands for 0.
void LoadControls(const SaverSettings& settings, ConfigControls& controls);

// Controls → settings (OK): the six positions become the numeric settings.
void StoreControls(SaverSettings& settings, ConfigControls& controls);

// The two-state buttons: flip the setting, the mark and (for random mode) the
// track bars. Nothing happens when the button cannot be found.
void ToggleRandomSettings(SaverSettings& settings, ConfigControls& controls);
void ToggleSaveImage(SaverSettings& settings, ConfigControls& controls);
void ToggleAllMonitors(SaverSettings& settings, ConfigControls& controls);

// "Set Defaults": random settings and saving off, every monitor on, the six
// values and thumbs back to the defaults.
void ResetToDefaults(SaverSettings& settings, ConfigControls& controls);

}  // namespace zorv
