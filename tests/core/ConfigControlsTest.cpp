// The configuration dialog's logic against a model of its controls: which setting
// each track bar edits, what it shows for any stored value, what OK takes back,
// and what the real dialog (tested under Wine) cannot produce: missing buttons.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "settings/ConfigControls.h"

namespace zorv {
namespace {

// Track bars keep their position inside their range (also when the range
// changes), buttons keep a mark, windows an enabled state. Every call is logged.
class FakeControls : public ConfigControls {
public:
    struct Bar {
        std::int32_t min = 0, max = 100, pos = 0;
    };

    bool Exists(int id) override { return missing.count(id) == 0; }
    void SetRange(int id, std::int32_t min, std::int32_t max) override {
        Log("range", id);
        Bar& bar = bars[id];
        bar.min = min;
        bar.max = max;
        bar.pos = Clamp(bar, bar.pos);
    }
    void SetPos(int id, std::int32_t pos) override {
        Log("pos", id);
        bars[id].pos = Clamp(bars[id], pos);
    }
    std::int32_t GetPos(int id) override { return bars[id].pos; }
    void SetCheck(int id, bool on) override {
        Log(on ? "check" : "uncheck", id);
        checked[id] = on;
    }
    void Enable(int id, bool on) override {
        Log(on ? "enable" : "disable", id);
        disabled[id] = !on;
    }

    bool Checked(int id) { return checked[id]; }
    bool Disabled(int id) { return disabled[id]; }
    std::vector<std::int32_t> Positions() {
        std::vector<std::int32_t> out;
        for (int id = kIdColors; id <= kIdRandomSpread; ++id) out.push_back(bars[id].pos);
        return out;
    }
    int DisabledCount() {
        int n = 0;
        for (int id = kIdColors; id <= kIdRandomSpread; ++id) n += Disabled(id) ? 1 : 0;
        return n;
    }
    // The logged calls of one kind, as control ids in call order.
    std::vector<int> Calls(const std::string& kind) const {
        std::vector<int> ids;
        for (const auto& [k, id] : log)
            if (k == kind) ids.push_back(id);
        return ids;
    }

    std::map<int, Bar> bars;
    std::map<int, bool> checked, disabled;
    std::set<int> missing;
    std::vector<std::pair<std::string, int>> log;

private:
    static std::int32_t Clamp(const Bar& bar, std::int32_t pos) { return pos < bar.min ? bar.min : pos > bar.max ? bar.max : pos; }
    void Log(const std::string& kind, int id) { log.emplace_back(kind, id); }
};

const std::vector<int> kBarIds = {1002, 1003, 1004, 1005, 1006, 1007};
const std::vector<std::int32_t> kDefaultPositions = {37, 30, 20, 16, 30, 10};

// Which setting each track bar edits and its range, written out independently
// of the logic's own table so a swapped field or range shows up.
struct BarRule {
    int id;
    std::int32_t max;
    double (*get)(const SaverSettings&);
    void (*set)(SaverSettings&, double);
};
const BarRule kRules[] = {
    {1002, 100, [](const SaverSettings& s) { return s.Cycles; }, [](SaverSettings& s, double v) { s.Cycles = v; }},
    {1003, 100, [](const SaverSettings& s) { return double(s.Iters); },
     [](SaverSettings& s, double v) { s.Iters = static_cast<std::int32_t>(v); }},
    {1004, 100, [](const SaverSettings& s) { return s.Constant; }, [](SaverSettings& s, double v) { s.Constant = v; }},
    {1005, 100, [](const SaverSettings& s) { return s.Scale; }, [](SaverSettings& s, double v) { s.Scale = v; }},
    {1006, 100, [](const SaverSettings& s) { return s.View; }, [](SaverSettings& s, double v) { s.View = v; }},
    {1007, 50, [](const SaverSettings& s) { return s.Spread; }, [](SaverSettings& s, double v) { s.Spread = v; }},
};

TEST(ConfigControls, EachTrackBarShowsAndStoresItsOwnSettingWithinItsRange) {
    for (const BarRule& rule : kRules) {
        SCOPED_TRACE(rule.id);
        SaverSettings settings = DefaultSettings();
        rule.set(settings, 7);  // unlike every default
        FakeControls controls;
        LoadControls(settings, controls);
        EXPECT_EQ(controls.bars[rule.id].min, 0);
        EXPECT_EQ(controls.bars[rule.id].max, rule.max);
        EXPECT_EQ(controls.bars[rule.id].pos, 7);

        // OK takes back the thumb of this bar into this field, and no other.
        controls.bars[rule.id].pos = 3;
        SaverSettings stored = DefaultSettings();
        StoreControls(stored, controls);
        EXPECT_EQ(rule.get(stored), 3.0);
        for (const BarRule& other : kRules)
            if (other.id != rule.id) {
                EXPECT_EQ(other.get(stored), other.get(DefaultSettings())) << other.id;
            }
    }
}

TEST(ConfigControls, OpeningWithDefaultsTouchesNoMarkAndNoEnabledState) {
    FakeControls controls;
    LoadControls(DefaultSettings(), controls);
    EXPECT_EQ(controls.Positions(), kDefaultPositions);
    EXPECT_EQ(controls.Calls("range"), kBarIds);
    EXPECT_EQ(controls.Calls("pos"), kBarIds);
    // Each bar gets its range before its position: a position sent first would
    // be clamped by the control's old range.
    for (std::size_t i = 0; i + 1 < controls.log.size(); i += 2) {
        EXPECT_EQ(controls.log[i].first, "range");
        EXPECT_EQ(controls.log[i + 1].first, "pos");
        EXPECT_EQ(controls.log[i].second, controls.log[i + 1].second);
    }
    EXPECT_EQ(controls.log.size(), 12u);
}

TEST(ConfigControls, OutOfRangeStoredValuesShowClampedAndAreStoredClamped) {
    SaverSettings settings = DefaultSettings();
    settings.Iters = 500;
    settings.Spread = 80;
    settings.Cycles = 12.75;
    settings.Constant = -0.5;
    settings.Scale = -40;
    settings.View = 4294967291.0;  // "-5" in the file, read as unsigned
    FakeControls controls;
    LoadControls(settings, controls);
    EXPECT_EQ(controls.Positions(), (std::vector<std::int32_t>{12, 100, 0, 0, 100, 50}));

    StoreControls(settings, controls);
    EXPECT_EQ(settings.Cycles, 12.0);
    EXPECT_EQ(settings.Iters, 100);
    EXPECT_EQ(settings.Constant, 0.0);
    EXPECT_EQ(settings.Scale, 0.0);
    EXPECT_EQ(settings.View, 100.0);
    EXPECT_EQ(settings.Spread, 50.0);
}

TEST(ConfigControls, TrackBarPositionTruncatesAndKeepsHugeValuesAtTheTop) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double value;
        std::int32_t pos;
    } cases[] = {
        {37.0, 37},        {37.9, 37},          {-2.5, -2},          {-0.5, 0},           {2147483647.0, INT32_MAX},
        {2147483648.0, INT32_MAX}, {4294967295.0, INT32_MAX}, {1e300, INT32_MAX}, {inf, INT32_MAX},
        {-2147483648.0, INT32_MIN}, {-1e300, INT32_MIN}, {-inf, INT32_MIN}, {nan, INT32_MIN},
    };
    for (const auto& c : cases) EXPECT_EQ(TrackBarPosition(c.value), c.pos) << c.value;
}

TEST(ConfigControls, TogglesWithoutTheirButtonChangeNothing) {
    SaverSettings settings = DefaultSettings();
    FakeControls controls;
    controls.missing = {kIdRandomSettings, kIdSaveImage};
    ToggleRandomSettings(settings, controls);
    ToggleSaveImage(settings, controls);
    EXPECT_EQ(settings.RandomSettings, 0);
    EXPECT_EQ(settings.SaveImage, 0);
    EXPECT_TRUE(controls.log.empty());
}

TEST(ConfigControls, SetDefaultsTurnsBothTogglesOffAndResetsValuesAndThumbs) {
    SaverSettings settings{12.5, 99, 1.25, 100, 0, 50, 1, 1};
    FakeControls controls;
    LoadControls(settings, controls);
    controls.bars[kIdScale].pos = 77;  // a thumb the user moved

    ResetToDefaults(settings, controls);
    EXPECT_EQ(settings.RandomSettings, 0);
    EXPECT_EQ(settings.SaveImage, 0);
    EXPECT_FALSE(controls.Checked(kIdRandomSettings));
    EXPECT_FALSE(controls.Checked(kIdSaveImage));
    EXPECT_EQ(controls.DisabledCount(), 0);
    EXPECT_EQ(controls.Positions(), kDefaultPositions);
    for (const BarRule& rule : kRules) EXPECT_EQ(rule.get(settings), rule.get(DefaultSettings())) << rule.id;
    EXPECT_EQ(controls.bars[kIdRandomSpread].max, 50);
}

}  // namespace
}  // namespace zorv
