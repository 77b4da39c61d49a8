// Command-line scanning: the program name, every row of the argument table,
// and window handles with their 32-bit wrap.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "host/CommandLine.h"

namespace zorv {
namespace {

struct NameCase {
    const char* commandLine;
    const char* arguments;  // what must remain
};

TEST(SkipProgramName, QuotedPlainAndControlCharacters) {
    const NameCase cases[] = {
        {"zorv.scr /s", "/s"},
        {"\"C:\\Program Files\\zorv.scr\" /p 12", "/p 12"},
        {"\"C:\\Program Files\\zorv.scr\"/s", "/s"},          // no blank after the closing quote
        {"\"C:\\never closed /s", ""},                        // an unclosed quote takes everything
        {"zorv.scr\t\x01 \x1f/c", "/c"},                      // every byte 1..0x20 is skipped
        {"zorv\xe9\xff.scr /a 5", "/a 5"},                    // high bytes are part of the name
        {"zorv.scr", ""},
        {"", ""},
        {"  /s", "/s"},                                       // no name: only the blanks go
        {"\"\" s", "s"},
        {"zorv.scr \x7f", "\x7f"},                            // DEL is not a blank
    };
    for (const NameCase& c : cases) {
        EXPECT_EQ(std::string(SkipProgramName(c.commandLine)), c.arguments) << c.commandLine;
    }
}

struct ModeCase {
    const char* arguments;
    bool win9x;
    RunModeKind kind;
    const char* rest;  // checked for Preview and ChangePassword
};

TEST(ScanMode, ArgumentTable) {
    const ModeCase cases[] = {
        {"", false, RunModeKind::Config, nullptr},
        {"- / -//  ", false, RunModeKind::Config, nullptr},
        {"/s", false, RunModeKind::FullScreen, nullptr},
        {"-S", false, RunModeKind::FullScreen, nullptr},
        {"s", false, RunModeKind::FullScreen, nullptr},
        {"//s other words /c", false, RunModeKind::FullScreen, nullptr},
        {"/ s", false, RunModeKind::FullScreen, nullptr},
        {"/\ts", false, RunModeKind::Refused, nullptr},
        {"/p 1234", false, RunModeKind::Preview, "1234"},
        {"/p1234", false, RunModeKind::Preview, "1234"},
        {"/l 1234", false, RunModeKind::Preview, "1234"},
        {"/P   77 x", false, RunModeKind::Preview, "77 x"},
        {"/L\t5", false, RunModeKind::Preview, "\t5"},       // only 0x20 is skipped after the letter
        {"/p:1234", false, RunModeKind::Preview, ":1234"},
        {"/p", false, RunModeKind::Preview, ""},
        {"/p abc", false, RunModeKind::Preview, "abc"},
        {"/c:1234", false, RunModeKind::ConfigOwned, nullptr},
        {"/c 1234", false, RunModeKind::ConfigOwned, nullptr},
        {"C", false, RunModeKind::ConfigOwned, nullptr},
        {"/a 1234", true, RunModeKind::ChangePassword, "1234"},
        {"-A99", true, RunModeKind::ChangePassword, "99"},
        {"/a 1234", false, RunModeKind::Refused, nullptr},
        {"/x", false, RunModeKind::Refused, nullptr},
        {"/?", false, RunModeKind::Refused, nullptr},
        {"1", false, RunModeKind::Refused, nullptr},
        {":s", false, RunModeKind::Refused, nullptr},
        {"\xe9s", false, RunModeKind::Refused, nullptr},
        {"\x01s", false, RunModeKind::Refused, nullptr},
        {"/x", true, RunModeKind::Refused, nullptr},
    };
    for (const ModeCase& c : cases) {
        const ModeRequest request = ScanMode(c.arguments, c.win9x);
        EXPECT_EQ(request.kind, c.kind) << '"' << c.arguments << "\" win9x=" << c.win9x;
        if (c.rest != nullptr) {
            EXPECT_EQ(std::string(request.rest), c.rest) << c.arguments;
        }
    }
}

struct HandleCase {
    const char* text;
    std::uint32_t value;
};

TEST(ParseWindowHandle, DigitsSignsAndWrap) {
    const HandleCase cases[] = {
        {"1234", 1234u},
        {"0", 0u},
        {"", 0u},
        {"abc", 0u},
        {":1234", 0u},
        {" 12", 0u},             // no leading blanks
        {"-12", 0u},             // no sign
        {"+12", 0u},
        {"0x1F", 0u},            // no hexadecimal: stops at 'x'
        {"12ab34", 12u},
        {"4294967295", 4294967295u},
        {"4294967296", 0u},      // 2^32 wraps to 0
        {"4294967297", 1u},
        {"12884901890", 2u},     // 3 * 2^32 + 2: eleven digits
        {"000000000000042", 42u},
        {"99999999999999999999", 1661992959u},  // (10^20 - 1) mod 2^32
    };
    for (const HandleCase& c : cases) EXPECT_EQ(ParseWindowHandle(c.text), c.value) << c.text;
}

}  // namespace
}  // namespace zorv
