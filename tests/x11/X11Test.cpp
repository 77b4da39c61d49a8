// The display mode's portable rules: its options (every one its XScreenSaver
// page passes accepted at both ends), the window it draws into, and the
// visuals it draws on.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "x11/PixelFormat.h"
#include "x11/SaverOptions.h"

namespace zorv {
namespace {

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

// One row per boundary; the message must name the refused option.
TEST(SaverOptions, ArgumentTable) {
    const struct {
        const char* args;
        const char* refused;  // nullptr: accepted
    } rows[] = {
        {"-delay 0 -delay 10000000 -seed 4294967295 -random -no-random -h", nullptr},
        {"-window-id 0xfFfFfFfF -window-id 1 -spread 50 -colors 100 -iterations 0", nullptr},
        {"-window-id 0", "-window-id:"},          {"-window-id 0x", "-window-id:"},
        {"-window-id 4294967296", "-window-id:"}, {"-window-id 12abc", "-window-id:"},
        {"-window-id", "-window-id:"},            {"-seed 4294967296", "-seed:"},
        {"-delay 10000001", "-delay:"},           {"-spread 51", "-spread:"},
        {"-view 101", "-view:"},                  {"-constant -1", "-constant:"},
        {"-scale +5", "-scale:"},                 {"-colors", "-colors:"},
        {"--root", "--root:"},                    {"-fps", "-fps:"},
    };
    for (const auto& row : rows) {
        SaverOptions options;
        std::string error;
        EXPECT_EQ(ParseSaverOptions(Words(row.args), options, error), row.refused == nullptr) << row.args;
        if (row.refused != nullptr) EXPECT_EQ(error.rfind(row.refused, 0), 0u) << row.args << " gave " << error;
    }
}

TEST(SaverOptions, OptionsOverTheFilesSettings) {
    SaverOptions options;
    std::string error;
    ASSERT_TRUE(ParseSaverOptions(Words("-colors 5 -iterations 100 -spread 50 -no-random"), options, error));
    SaverSettings settings = DefaultSettings();
    settings.Scale = 77.0;  // as a file would give it
    settings.RandomSettings = 1;
    ApplySettingOptions(options, settings);
    EXPECT_EQ(settings.Cycles, 5.0);
    EXPECT_EQ(settings.Iters, 100);
    EXPECT_EQ(settings.Spread, 50.0);
    EXPECT_EQ(settings.Scale, 77.0);
    EXPECT_EQ(settings.View, SaverDefaults::View);
    EXPECT_EQ(settings.RandomSettings, 0);
}

TEST(ChooseWindow, TargetTable) {
    const struct {
        const char* args;
        const char* environment;  // $XSCREENSAVER_WINDOW
        bool ok;
        DrawTarget target;
        std::uint32_t id;
    } rows[] = {
        {"", nullptr, true, DrawTarget::OwnWindow, 0},
        {"", "0x400007", true, DrawTarget::WindowId, 0x400007},
        {"-window", "0x400007", true, DrawTarget::OwnWindow, 0},
        {"-root", "", true, DrawTarget::Root, 0},
        {"-root", "4194311", true, DrawTarget::WindowId, 4194311},
        {"-root", "0xZZ", false, DrawTarget::Root, 0},
        {"-window-id 9 -root", "0x10", true, DrawTarget::WindowId, 0x10},
        {"-root -window-id 9", "0x10", true, DrawTarget::WindowId, 9},
    };
    for (const auto& row : rows) {
        SaverOptions options;
        std::string error;
        ASSERT_TRUE(ParseSaverOptions(Words(row.args), options, error));
        WindowChoice choice{};
        ASSERT_EQ(ChooseWindow(options, row.environment, choice, error), row.ok) << row.args;
        if (!row.ok) continue;
        EXPECT_EQ(choice.target, row.target) << row.args << " / " << row.environment;
        if (row.target == DrawTarget::WindowId) EXPECT_EQ(choice.id, row.id) << row.args;
    }
}

// COLORREF 0x00332211 is red 0x11, green 0x22, blue 0x33.
TEST(ChoosePixelFormat, VisualTable) {
    const struct {
        VisualFacts visual;
        bool drawn;
        std::uint32_t pixel;
    } rows[] = {
        {{true, 24, 32, 0xFF0000, 0xFF00, 0xFF}, true, 0x00112233},
        {{true, 32, 32, 0xFF0000, 0xFF00, 0xFF}, true, 0xFF112233},  // opaque alpha
        {{true, 24, 32, 0xFF, 0xFF00, 0xFF0000}, true, 0x00332211},
        {{true, 24, 24, 0xFF0000, 0xFF00, 0xFF}, false, 0},  // packed pixels
        {{false, 24, 32, 0xFF0000, 0xFF00, 0xFF}, false, 0},
        {{true, 16, 16, 0xF800, 0x7E0, 0x1F}, false, 0},
        {{true, 30, 32, 0x3FF00000, 0xFFC00, 0x3FF}, false, 0},
        {{true, 32, 32, 0x3FF00000, 0xFFC00, 0x3FF}, false, 0},
    };
    for (const auto& row : rows) {
        std::string why;
        const std::optional<PixelFormat> format = ChoosePixelFormat(row.visual, why);
        ASSERT_EQ(format.has_value(), row.drawn) << "depth " << row.visual.depth << " red " << row.visual.redMask;
        if (format) EXPECT_EQ(ToPixel(*format, 0x00332211), row.pixel);
        if (!format) EXPECT_TRUE(!why.empty() && why.find('\n') == std::string::npos);
    }
}

// xscreensaver-settings passes each slider's value between its low and high
// ends and each toggle's argument: all at once, at either end, are accepted.
// The six sliders have the settings dialog's ranges and defaults.
TEST(SaverOptions, EveryOptionOfTheSettingsPageIsAcceptedAtBothEnds) {
    std::ifstream file(ZORV_XML);
    std::stringstream text;
    text << file.rdbuf();
    const std::string xml = text.str();
    const auto attribute = [](const std::string& element, const std::string& name) {
        std::smatch match;
        return std::regex_search(element, match, std::regex("\\s" + name + "=\"([^\"]*)\"")) ? match[1].str() : "";
    };
    std::vector<std::string> low, high;
    int sliders = 0;
    const std::regex elements("<(number|boolean)[^>]*>");
    for (std::sregex_iterator it(xml.begin(), xml.end(), elements), end; it != end; ++it) {
        const std::string element = it->str();
        for (const char* toggle : {"arg-set", "arg-unset"}) {
            if (attribute(element, toggle).empty()) continue;
            low.push_back(attribute(element, toggle));
            high.push_back(attribute(element, toggle));
        }
        const std::string arg = attribute(element, "arg");
        if (arg.empty()) continue;
        const std::string name = arg.substr(0, arg.find(' '));
        low.insert(low.end(), {name, attribute(element, "low")});
        high.insert(high.end(), {name, attribute(element, "high")});
        for (int s = 0; s < kTrackBarCount; ++s) {
            if (name != kSliderOptions[s]) continue;
            ++sliders;
            EXPECT_EQ(attribute(element, "low"), "0") << name;
            EXPECT_EQ(attribute(element, "high"), std::to_string(kTrackBars[s].rangeMax)) << name;
            EXPECT_EQ(attribute(element, "default"), std::to_string(static_cast<int>(kTrackBars[s].defaultValue)));
        }
        if (name == "-delay") EXPECT_EQ(attribute(element, "default"), std::to_string(kDefaultDelayMicroseconds));
    }
    EXPECT_EQ(sliders, kTrackBarCount);
    ASSERT_GT(low.size(), 14u);  // the page was read
    for (const auto* args : {&low, &high}) {
        SaverOptions options;
        std::string error;
        EXPECT_TRUE(ParseSaverOptions(*args, options, error)) << error;
    }
}

}  // namespace
}  // namespace zorv
