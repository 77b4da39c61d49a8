// Command-line scanning: the program name, the argument table, and window
// handles with their 32-bit wrap.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "host/CommandLine.h"

namespace zorv {
namespace {

TEST(SkipProgramName, QuotedPlainAndControlCharacters) {
    const struct {
        const char *commandLine, *arguments;
    } rows[] = {
        {"\"C:\\Program Files\\zorv.scr\" /p 12", "/p 12"},
        {"\"C:\\Program Files\\zorv.scr\"/s", "/s"},  // no blank after the closing quote
        {"\"C:\\never closed /s", ""},
        {"zorv.scr\t\x01 \x1f/c", "/c"},  // every byte 1..0x20 is skipped
        {"zorv\xe9.scr /a 5", "/a 5"},    // high bytes belong to the name
        {"  /s", "/s"},
        {"zorv.scr \x7f", "\x7f"},  // DEL is no blank
        {"", ""},
    };
    for (const auto& row : rows) EXPECT_EQ(std::string(SkipProgramName(row.commandLine)), row.arguments) << row.commandLine;
}

TEST(ScanMode, ArgumentTable) {
    const struct {
        const char* arguments;
        bool win9x;
        RunModeKind kind;
        const char* rest;  // checked for Preview and ChangePassword
    } rows[] = {
        {"- / -//  ", false, RunModeKind::Config, nullptr},
        {"-S", false, RunModeKind::FullScreen, nullptr},
        {"//s other words /c", false, RunModeKind::FullScreen, nullptr},
        {"/ s", false, RunModeKind::FullScreen, nullptr},
        {"/\ts", false, RunModeKind::Refused, nullptr},
        {"/p1234", false, RunModeKind::Preview, "1234"},
        {"/P   77 x", false, RunModeKind::Preview, "77 x"},
        {"/L\t5", false, RunModeKind::Preview, "\t5"},  // only blanks are skipped after the letter
        {"-l", false, RunModeKind::Preview, ""},
        {"/p:1234", false, RunModeKind::Preview, ":1234"},
        {"/c:1234", false, RunModeKind::ConfigOwned, nullptr},
        {"C", false, RunModeKind::ConfigOwned, nullptr},
        {"-A99", true, RunModeKind::ChangePassword, "99"},
        {"/a 1234", false, RunModeKind::Refused, nullptr},
        {"/x", true, RunModeKind::Refused, nullptr},
        {":s", false, RunModeKind::Refused, nullptr},
        {"\xe9s", false, RunModeKind::Refused, nullptr},
    };
    for (const auto& row : rows) {
        const ModeRequest request = ScanMode(row.arguments, row.win9x);
        EXPECT_EQ(request.kind, row.kind) << '"' << row.arguments << "\" win9x=" << row.win9x;
        if (row.rest != nullptr) EXPECT_EQ(std::string(request.rest), row.rest) << row.arguments;
    }
}

TEST(ParseWindowHandle, DigitsOnlyWrappingAt32Bits) {
    const struct {
        const char* text;
        std::uint32_t value;
    } rows[] = {
        {"1234", 1234u}, {" 12", 0u}, {"-12", 0u}, {"12ab34", 12u}, {"4294967297", 1u},
        {"99999999999999999999", 1661992959u},  // (10^20 - 1) mod 2^32
    };
    for (const auto& row : rows) EXPECT_EQ(ParseWindowHandle(row.text), row.value) << row.text;
}

}  // namespace
}  // namespace zorv
