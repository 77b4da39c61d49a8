// The configuration dialog's logic against a model of its controls: the position
// a stored value shows at, the toggles and Set Defaults. Which setting each bar
// edits, and its range, show in the file the real dialog writes end to end.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <map>

#include "settings/ConfigControls.h"

namespace zorv {
namespace {

struct FakeControls : ConfigControls {
    std::map<int, std::int32_t> max, pos;
    std::map<int, bool> checked, disabled;
    bool exists = true;
    int calls = 0;
    bool Exists(int) override { return exists; }
    void SetRange(int id, std::int32_t, std::int32_t top) override { ++calls, max[id] = top; }
    void SetPos(int id, std::int32_t p) override { ++calls, pos[id] = p; }
    std::int32_t GetPos(int id) override { return pos[id]; }
    void SetCheck(int id, bool on) override { ++calls, checked[id] = on; }
    void Enable(int id, bool on) override { ++calls, disabled[id] = !on; }
    int Disabled() {
        int n = 0;
        for (int id = kIdColors; id <= kIdRandomSpread; ++id) n += disabled[id];
        return n;
    }
};

TEST(ConfigControls, TrackBarPositionTruncatesAndKeepsHugeValuesAtTheTop) {
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    const struct {
        double value;
        std::int32_t pos;
    } rows[] = {{37.9, 37},         {-2.5, -2},           {2147483647.0, INT32_MAX}, {2147483648.0, INT32_MAX},
                {4294967291.0, INT32_MAX}, {inf, INT32_MAX}, {-2147483648.0, INT32_MIN}, {-inf, INT32_MIN},
                {nan, INT32_MIN}};
    for (const auto& row : rows) EXPECT_EQ(TrackBarPosition(row.value), row.pos) << row.value;
}

TEST(ConfigControls, TogglesFlipSettingMarkAndTrackBarsAndSetDefaultsUndoesThem) {
    SaverSettings settings{12, 99, 1, 100, 0, 50, 0, 0};
    FakeControls controls;
    LoadControls(settings, controls);
    ToggleRandomSettings(settings, controls);
    ToggleSaveImage(settings, controls);
    EXPECT_EQ(settings.RandomSettings, 1);
    EXPECT_EQ(settings.SaveImage, 1);
    EXPECT_TRUE(controls.checked[kIdRandomSettings]);
    EXPECT_TRUE(controls.checked[kIdSaveImage]);
    EXPECT_EQ(controls.Disabled(), 6) << "random settings leave the track bars nothing to do";
    ResetToDefaults(settings, controls);
    EXPECT_EQ(settings.RandomSettings, 0);
    EXPECT_EQ(settings.SaveImage, 0);
    EXPECT_FALSE(controls.checked[kIdRandomSettings]);
    EXPECT_FALSE(controls.checked[kIdSaveImage]);
    EXPECT_EQ(controls.Disabled(), 0);
    const SaverSettings defaults = DefaultSettings();
    EXPECT_EQ(settings.Cycles, defaults.Cycles);
    EXPECT_EQ(settings.Iters, defaults.Iters);
    EXPECT_EQ(settings.Spread, defaults.Spread);
    const std::int32_t thumbs[] = {37, 30, 20, 16, 30, 10};
    for (int id = kIdColors; id <= kIdRandomSpread; ++id) EXPECT_EQ(controls.pos[id], thumbs[id - kIdColors]) << id;
}

TEST(ConfigControls, TogglesWithoutTheirButtonChangeNothing) {
    SaverSettings settings = DefaultSettings();
    FakeControls controls;
    controls.exists = false;
    ToggleRandomSettings(settings, controls);
    ToggleSaveImage(settings, controls);
    EXPECT_EQ(settings.RandomSettings, 0);
    EXPECT_EQ(settings.SaveImage, 0);
    EXPECT_EQ(controls.calls, 0);
}

}  // namespace
}  // namespace zorv
