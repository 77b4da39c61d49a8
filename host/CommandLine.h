// Reading the command line the screen-saver machinery starts us with: skipping
// the program name, finding the mode letter, and reading a window handle.
#pragma once

#include <cstdint>

namespace zorv {

// Past the program name (quoted or not) and the control characters and blanks
// after it. Never steps past the terminating NUL.
const char* SkipProgramName(const char* commandLine);

enum class RunModeKind {
    Config,          // configuration dialog with no parent (empty or separators only)
    ConfigOwned,     // configuration dialog owned by the foreground window
    FullScreen,
    Preview,         // `rest` holds the handle text
    ChangePassword,  // `rest` holds the handle text; only on the Windows 95/98 family
    Refused,         // unrecognised letter, or change-password elsewhere: exit -1
};

struct ModeRequest {
    RunModeKind kind;
    const char* rest;  // for Preview and ChangePassword: after the letter and its blanks
};

// The first byte that is not ' ', '-' or '/' decides the mode.
ModeRequest ScanMode(const char* arguments, bool win9x);

// Leading ASCII digits as an unsigned 32-bit number that wraps; 0 when there are none.
std::uint32_t ParseWindowHandle(const char* text);

}  // namespace zorv
