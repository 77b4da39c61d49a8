// The display mode's portable rules: its options and the window it draws into,
// every option its XScreenSaver page passes at both ends, and the visuals.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
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
    return {std::istream_iterator<std::string>(in), {}};
}

// One row per boundary. A refusal (by the options or by $XSCREENSAVER_WINDOW)
// is one line that starts with what it refuses.
TEST(SaverOptions, OptionAndWindowTable) {
    constexpr auto Own = DrawTarget::OwnWindow, Root = DrawTarget::Root, Id = DrawTarget::WindowId;
    const struct {
        const char* args;
        const char* environment;  // $XSCREENSAVER_WINDOW
        const char* refused;      // nullptr: accepted
        DrawTarget target;
        std::uint32_t id;
    } rows[] = {
        {"-delay 10000000 -seed 4294967295 -random -no-random -spread 50", nullptr, nullptr, Own, 0},
        {"", "0x400007", nullptr, Id, 0x400007},           {"-window", "0x400007", nullptr, Own, 0},
        {"-root", "", nullptr, Root, 0},                   {"-root", "4194311", nullptr, Id, 4194311},
        {"-root", "0xZZ", "XSCREENSAVER_WINDOW:", Root, 0}, {"-window-id 9 -root", "0x10", nullptr, Id, 0x10},
        {"-root -window-id 0xfFfFfFfF", "0x10", nullptr, Id, 0xFFFFFFFF},
        {"-window-id 0", nullptr, "-window-id:", Id, 0},   {"-window-id 0x", nullptr, "-window-id:", Id, 0},
        {"-window-id 4294967296", nullptr, "-window-id:", Id, 0},
        {"-seed 000000000000000000007", nullptr, "-seed:", Own, 0},  // 21 digits
        {"-window-id 12abc", nullptr, "-window-id:", Id, 0}, {"-window-id", nullptr, "-window-id:", Id, 0},
        {"-seed 4294967296", nullptr, "-seed:", Own, 0},   {"-delay 10000001", nullptr, "-delay:", Own, 0},
        {"-spread 51", nullptr, "-spread:", Own, 0},       {"-view 101", nullptr, "-view:", Own, 0},
        {"-constant -1", nullptr, "-constant:", Own, 0},   {"-scale +5", nullptr, "-scale:", Own, 0},
        {"--root", nullptr, "--root:", Own, 0},            {"-seed 00000000000000000007", nullptr, nullptr, Own, 0},
    };
    for (const auto& row : rows) {
        SaverOptions options;
        WindowChoice choice{};
        std::string error;
        const bool ok = ParseSaverOptions(Words(row.args), options, error) &&
                        ChooseWindow(options, row.environment, choice, error);
        ASSERT_EQ(ok, row.refused == nullptr) << row.args << " / " << row.environment << ": " << error;
        if (!ok) EXPECT_EQ(error.rfind(row.refused, 0), 0u) << row.args << " gave " << error;
        if (ok) EXPECT_TRUE(choice.target == row.target && (row.target != Id || choice.id == row.id)) << row.args;
    }
}

// xscreensaver-settings passes each slider's value between its low and high
// ends and each toggle's argument: all at once, at either end, are accepted.
// The six sliders have the settings dialog's ranges and defaults.
TEST(SaverOptions, EveryOptionOfTheSettingsPageIsAcceptedAtBothEnds) {
    std::stringstream text;
    text << std::ifstream(ZORV_XML).rdbuf();
    const std::string xml = text.str();
    const auto attribute = [](const std::string& element, const std::string& name) {
        std::smatch match;
        return std::regex_search(element, match, std::regex("\\s" + name + "=\"([^\"]*)\"")) ? match[1].str() : "";
    };
    std::vector<std::string> ends[2];
    int sliders = 0;
    const std::regex elements("<(number|boolean)[^>]*>");
    for (std::sregex_iterator it(xml.begin(), xml.end(), elements), end; it != end; ++it) {
        const std::string element = it->str(), toggle = attribute(element, "arg-set") + attribute(element, "arg-unset");
        const std::string name = attribute(element, "arg").substr(0, attribute(element, "arg").find(' '));
        for (int e = 0; e < 2; ++e) {
            if (!toggle.empty()) ends[e].push_back(toggle);
            if (!name.empty()) ends[e].insert(ends[e].end(), {name, attribute(element, e == 0 ? "low" : "high")});
        }
        for (int s = 0; s < kTrackBarCount; ++s) {
            if (name != kSliderOptions[s]) continue;
            ++sliders;
            EXPECT_EQ(attribute(element, "low") + " " + attribute(element, "high") + " " + attribute(element, "default"),
                      "0 " + std::to_string(kTrackBars[s].rangeMax) + " " +
                          std::to_string(static_cast<int>(kTrackBars[s].defaultValue)))
                << name;
        }
        if (name == "-delay") EXPECT_EQ(attribute(element, "default"), std::to_string(kDefaultDelayMicroseconds));
    }
    EXPECT_EQ(sliders, kTrackBarCount);
    for (const auto& args : ends) {
        SaverOptions options;
        std::string error;
        EXPECT_GT(args.size(), 14u);
        EXPECT_TRUE(ParseSaverOptions(args, options, error)) << error;
    }
}

// COLORREF 0x00332211 is red 0x11, green 0x22, blue 0x33.
TEST(ChoosePixelFormat, VisualTable) {
    const struct { VisualFacts visual; bool drawn; std::uint32_t pixel; } rows[] = {
        {{true, 24, 32, 0xFF0000, 0xFF00, 0xFF}, true, 0x00112233},
        {{true, 32, 32, 0xFF0000, 0xFF00, 0xFF}, true, 0xFF112233},  // opaque alpha
        {{true, 24, 32, 0xFF, 0xFF00, 0xFF0000}, true, 0x00332211},
        {{true, 24, 32, 0xFF00, 0xFF, 0xFF0000}, true, 0x00331122},  // green in the low byte
        {{true, 24, 24, 0xFF0000, 0xFF00, 0xFF}, false, 0},  // packed pixels
        {{false, 24, 32, 0xFF0000, 0xFF00, 0xFF}, false, 0},
        {{true, 16, 16, 0xF800, 0x7E0, 0x1F}, false, 0},
        {{true, 32, 32, 0x3FF00000, 0xFFC00, 0x3FF}, false, 0},
        {{true, 24, 32, 0, 0xFF00, 0xFF}, false, 0},  // no red at all
    };
    for (const auto& row : rows) {
        std::string why;
        const std::optional<PixelFormat> format = ChoosePixelFormat(row.visual, why);
        ASSERT_EQ(format.has_value(), row.drawn) << "depth " << row.visual.depth << " red " << row.visual.redMask;
        if (format) EXPECT_EQ(ToPixel(*format, 0x00332211), row.pixel);
        if (!format) EXPECT_TRUE(!why.empty() && why.find('\n') == std::string::npos);
    }
}

}  // namespace
}  // namespace zorv
