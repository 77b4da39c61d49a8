// The eight settings: loaded over the portable INI store as the Windows profile
// API reads them, and the configuration dialog's logic.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <map>
#include <string>
#include <tuple>

#include "settings/ConfigControls.h"
#include "settings/IniFileStore.h"
#include "settings/SaverSettings.h"
#include "settings/Truncate.h"
#include "tests/core/TempDir.h"

namespace zorv {
namespace {

// Value texts and the integers the Windows profile API makes of them, which the
// portable store must match so both read a settings file alike. One row per
// rule of the reading.
struct ProfileValueCase {
    const char* text;        // what follows "Iters=" in the file
    std::uint32_t expected;  // GetInt's result with a fallback of 30
};

constexpr ProfileValueCase kProfileValueCases[] = {
    {"-5", 0xFFFFFFFBu},         {"  7 ", 7u},   {"+3", 3u},       {"0x10", 16u},
    {"12abc", 12u},              {"", 30u},      {"abc", 0u},      {"99999999999", 1215752191u},
    {"-2147483649", 2147483647u}, {"\"42\"", 42u}, {"0X10", 0u},   {"0b101", 5u},
    {"0o17", 15u},               {"\t9", 9u},  {"\"\"", 30u},    {"0xaF", 175u},
    {"123456789012345678901234567890123", 1849262357u},  // only the first 29 characters count
};

// Settings loaded over the portable INI store: the conversions, and value texts
// read as the Windows profile API reads them.
std::string Text(const SaverSettings& s) {
    return "Cycles=" + std::to_string(s.Cycles) + " Iters=" + std::to_string(s.Iters) + " Constant=" +
           std::to_string(s.Constant) + " Scale=" + std::to_string(s.Scale) + " View=" + std::to_string(s.View) +
           " Spread=" + std::to_string(s.Spread) + " Random=" + std::to_string(s.RandomSettings) +
           " Save=" + std::to_string(s.SaveImage) + " AllMonitors=" + std::to_string(s.AllMonitors);
}

// The exact text of a save, and defaults for missing keys, are checked end to
// end through the settings dialog; the writer's in-place edits by the fuzz target.
TEST(SettingsStore, StoredValuesLoadUnclampedNegativesAsUnsignedTogglesAsNotZero) {
    TempDir dir;
    IniFileStore store(dir / "zorvsave.ini");
    WriteFileText(store.Path(), "[ZorvSaver]\nCycles=-1\nIters=500\nView=250\nSpread=-5\nRandomSettings=7\nSaveImage=-1");  // no line end
    SaverSettings loaded{-1, -1, -1, -1, -1, -1, 0, 0, 0};
    LoadSettings(loaded, store);  // a file from before AllMonitors: fractals on every monitor
    EXPECT_EQ(Text(loaded), Text({4294967295.0, 500, 20, 16, 250, 4294967291.0, 1, 1, 1}));
    const SaverSettings custom{12, 34, 56, 78, 90, 11, 1, 1, 0};
    SaveSettings(custom, store);  // the native store writes what it reads back
    LoadSettings(loaded, store);
    EXPECT_EQ(Text(loaded), Text(custom));
#ifndef _WIN32
    // A write that fails (a full disk) keeps the stored value and leaves no partial copy.
    const std::filesystem::path partial = store.Path().string() + ".new";
    std::filesystem::create_symlink("/dev/full", partial);
    store.WriteString("ZorvSaver", "Iters", "99");
    EXPECT_TRUE(store.GetInt("ZorvSaver", "Iters", 0) == 34u && !std::filesystem::is_symlink(partial));
#endif
}

TEST(SettingsStore, ValueTextsGiveTheSameIntegersAsTheWindowsApi) {
    TempDir dir;
    IniFileStore store(dir / "values.ini");
    for (const ProfileValueCase& c : kProfileValueCases) {
        // Names match whatever their case, as the Windows API matches them.
        WriteFileText(store.Path(), std::string("[Other]\r\nIters=1\r\n[zorvSAVER]\r\niTERS=") + c.text + "\r\n");
        EXPECT_EQ(store.GetInt("ZorvSaver", "Iters", 30), c.expected) << "value text \"" << c.text << "\"";
    }
    // A section written twice: only the first is read.
    WriteFileText(store.Path(), "[ZorvSaver]\r\nView=3\r\n[ZorvSaver]\r\nView=9\r\nIters=9\r\n");
    EXPECT_TRUE(store.GetInt("ZorvSaver", "View", 30) == 3u && store.GetInt("ZorvSaver", "Iters", 30) == 30u);
}

// The configuration dialog's logic against a model of its controls: the position
// a stored value shows at, the toggles and Set Defaults. Which setting each bar
// edits, and its range, show in the file the real dialog writes end to end.
struct FakeControls : ConfigControls {
    std::map<int, std::int32_t> max, pos;
    std::map<int, bool> checked, disabled;
    bool Exists(int) override { return true; }
    void SetRange(int id, std::int32_t, std::int32_t top) override { max[id] = top; }
    void SetPos(int id, std::int32_t p) override { pos[id] = p; }
    std::int32_t GetPos(int id) override { return pos[id]; }
    void SetCheck(int id, bool on) override { checked[id] = on; }
    void Enable(int id, bool on) override { disabled[id] = !on; }
    int Disabled() {
        int n = 0;
        for (int id = kIdColors; id <= kIdRandomSpread; ++id) n += disabled[id];
        return n;
    }
};

TEST(ConfigControls, TrackBarPositionTruncatesAndKeepsHugeValuesAtTheTop) {
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    const struct { double value; std::int32_t pos; } rows[] = {
        {37.9, 37}, {-2.5, -2}, {2147483647.0, INT32_MAX}, {2147483648.0, INT32_MAX}, {4294967291.0, INT32_MAX},
        {inf, INT32_MAX}, {-2147483648.0, INT32_MIN}, {-inf, INT32_MIN}, {nan, INT32_MIN}};
    for (const auto& row : rows) EXPECT_EQ(TrackBarPosition(row.value), row.pos) << row.value;
    // The conversion itself: just outside the range is no undefined conversion (the sanitizer watches).
    for (double edge : {2147483648.0, -2147483649.0}) EXPECT_EQ(TruncToInt(edge), INT32_MIN) << edge;
}

TEST(ConfigControls, TogglesFlipSettingMarkAndTrackBarsAndSetDefaultsUndoesThem) {
    SaverSettings settings{12, 99, 1, 100, 0, 50, 0, 0, 1};
    FakeControls controls;
    LoadControls(settings, controls);
    ToggleRandomSettings(settings, controls);
    ToggleSaveImage(settings, controls);
    ToggleAllMonitors(settings, controls);
    const auto marks = [&] {
        return std::tuple(settings.RandomSettings, settings.SaveImage, settings.AllMonitors,
                          controls.checked[kIdRandomSettings], controls.checked[kIdSaveImage],
                          controls.checked[kIdAllMonitors], controls.Disabled());
    };
    EXPECT_EQ(marks(), std::tuple(1, 1, 0, true, true, false, 6)) << "random settings leave the track bars nothing to do";
    ResetToDefaults(settings, controls);
    EXPECT_EQ(marks(), std::tuple(0, 0, 1, false, false, true, 0));
    EXPECT_EQ(Text(settings), Text(DefaultSettings()));
    FakeControls stored;  // a file with every toggle on opens marked, the track bars off
    LoadControls({12, 99, 1, 100, 0, 50, 1, 1, 1}, stored);
    EXPECT_EQ(std::tuple(stored.checked[kIdRandomSettings], stored.checked[kIdSaveImage], stored.checked[kIdAllMonitors],
                         stored.Disabled()),
              std::tuple(true, true, true, 6));
    const std::int32_t thumbs[] = {37, 30, 20, 16, 30, 10};
    for (int id = kIdColors; id <= kIdRandomSpread; ++id) EXPECT_EQ(controls.pos[id], thumbs[id - kIdColors]) << id;
}

}  // namespace
}  // namespace zorv
