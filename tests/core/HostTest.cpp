// The host's portable rules: command-line scanning, the window procedure's
// decisions and input policy, and the cover windows' layout.
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "host/CommandLine.h"
#include "host/HostPolicy.h"
#include "host/MonitorLayout.h"

namespace zorv {

void PrintTo(const ScreenRect& r, std::ostream* os) { *os << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")"; }

namespace {

// Command-line scanning: the command line as the system hands it over, the
// program name first (quoted, or up to a blank or control character). (Window
// handles are read end to end by the preview and password-change hosts, and
// the fuzz target keeps every scan inside its text.)
TEST(ScanMode, CommandLineTable) {
    // rest: checked for Preview and ChangePassword
    const struct { const char* line; bool win9x; RunModeKind kind; const char* rest; } rows[] = {
        {"zorv.scr - / -//  ", false, RunModeKind::Config, nullptr},
        {"zorv.scr -S", false, RunModeKind::FullScreen, nullptr},
        {"zorv.scr\x01\x1f\t//s other words /c", false, RunModeKind::FullScreen, nullptr},
        {"\"C:\\My Savers\\zorv.scr\"/ s", false, RunModeKind::FullScreen, nullptr},
        {"  /s", false, RunModeKind::FullScreen, nullptr},
        {"\"unclosed /s", false, RunModeKind::Config, nullptr},
        {"z /\ts", false, RunModeKind::Refused, nullptr},
        {"z /p1234", false, RunModeKind::Preview, "1234"},
        {"z /P   77 x", false, RunModeKind::Preview, "77 x"},
        {"z /L\t5", false, RunModeKind::Preview, "\t5"},  // only blanks are skipped after the letter
        {"z /c:1234", false, RunModeKind::ConfigOwned, nullptr},
        {"z C", false, RunModeKind::ConfigOwned, nullptr},
        {"z -A99", true, RunModeKind::ChangePassword, "99"},
        {"z /a 1234", false, RunModeKind::Refused, nullptr},
        {"z /x", true, RunModeKind::Refused, nullptr},
        {"z \xe9s", false, RunModeKind::Refused, nullptr},
        {"z !s", false, RunModeKind::Refused, nullptr},  // only blanks and control bytes end the name
    };
    for (const auto& row : rows) {
        const ModeRequest request = ScanMode(SkipProgramName(row.line), row.win9x);
        EXPECT_EQ(request.kind, row.kind) << '"' << row.line << "\" win9x=" << row.win9x;
        if (row.rest != nullptr) EXPECT_EQ(std::string(request.rest), row.rest) << row.line;
    }
}

// The saver host's decisions: the window procedure's filter table, the input
// policy with its 4-pixel threshold, and the password check's guards.
const HostFlags kFull{}, kPreview{.bPreview = true}, kWin9x{.bWin9x = true},
    kVerifying{.bWin9x = true, .bVerifying = true}, kAccepted{.bWin9x = true, .bCloseAccepted = true};

TEST(DecideHostWindow, FilterTable) {
    const struct { HostFlags flags; unsigned message; std::uintptr_t wParam; HostEffect effect; Route route; long result; bool hideCursor; } rows[] = {
        {kFull, kWmCreate, 0, HostEffect::Created, Route::Forward, 0, true},
        {kPreview, kWmCreate, 0, HostEffect::Created, Route::Forward, 0, false},
        {kAccepted, kWmDestroy, 0, HostEffect::Destroyed, Route::Forward, 0, false},
        {kFull, kWmSetText, 0, HostEffect::None, Route::Answer, 0, false},
        {kFull, kWmPaint, 0, HostEffect::None, Route::Forward, 0, true},
        {kPreview, kWmPaint, 0, HostEffect::None, Route::Forward, 0, false},
        {kAccepted, kWmPaint, 0, HostEffect::None, Route::DefWindowProc, 0, false},
        {kPreview, kWmHelp, 0, HostEffect::PostToParent, Route::Answer, 1, false},
        {kPreview, kWmContextMenu, 7, HostEffect::PostToParent, Route::Answer, 1, false},
        {kFull, kWmContextMenu, 0, HostEffect::None, Route::Forward, 0, false},
        {kFull, kWmKeyDown, 'A', HostEffect::None, Route::Forward, 0, false},
        {kFull, kWmSysCommand, kScNextWindow, HostEffect::None, Route::Answer, 0, false},
        {kFull, kWmSysCommand, kScScreenSave, HostEffect::None, Route::Answer, 0, false},
        {kFull, kWmSysCommand, kScScreenSave | 2, HostEffect::None, Route::Forward, 0, false},
        {kPreview, kWmSysCommand, kScScreenSave, HostEffect::None, Route::Forward, 0, false},
        {kFull, kWmTimer, 1, HostEffect::Yield, Route::Forward, 0, false},
        {kAccepted, kWmTimer, 1, HostEffect::None, Route::Answer, 0, false},
        {kAccepted, kWmClose, 0, HostEffect::None, Route::Forward, 0, false},
        {kFull, kWmDisplayChange, 32, HostEffect::DisplayChanged, Route::Forward, 0, false},
        {kPreview, kWmDisplayChange, 32, HostEffect::None, Route::Forward, 0, false},
    };
    for (const auto& row : rows) {
        const HostAction action = DecideHostWindow(row.flags, row.message, row.wParam);
        const auto what = ::testing::Message() << std::hex << row.message << "/" << row.wParam;
        EXPECT_TRUE(action.effect == row.effect && action.route == row.route && action.hideCursor == row.hideCursor &&
                    (row.route != Route::Answer || action.result == row.result)) << what;
    }
    // Once the close is accepted, input goes to the system alone.
    for (unsigned message : {kWmKeyDown, kWmSysKeyDown, kWmMouseMove, kWmLButtonDown, kWmRButtonDown, kWmMButtonDown})
        EXPECT_EQ(DecideHostWindow(kAccepted, message, 0).route, Route::DefWindowProc) << std::hex << message;
}

TEST(DecideDefaultSaver, PolicyTable) {
    const struct { HostFlags flags; unsigned message; std::uintptr_t wParam; SaverEffect effect; Route route; } rows[] = {
        {kAccepted, kWmClose, 0, SaverEffect::None, Route::DefWindowProc},
        {kFull, kWmClose, 0, SaverEffect::None, Route::DefWindowProc},
        {kWin9x, kWmClose, 0, SaverEffect::CheckClose, Route::DefWindowProc},
        {kFull, kWmVerifyPassword, 0, SaverEffect::None, Route::DefWindowProc},
        {kVerifying, kWmVerifyPassword, 0, SaverEffect::CheckPassword, Route::Answer},
        {kFull, kWmShowWindow, 1, SaverEffect::HideCursor, Route::DefWindowProc},
        {kFull, kWmShowWindow, 0, SaverEffect::None, Route::DefWindowProc},
        {kFull, kWmActivateApp, 1, SaverEffect::None, Route::DefWindowProc},
        {kFull, kWmActivateApp, 0, SaverEffect::PostClose, Route::DefWindowProc},
        {kFull, kWmSetCursor, 0, SaverEffect::HideCursor, Route::Answer},
        {kFull, kWmTimer, 1, SaverEffect::None, Route::DefWindowProc},
    };
    for (const auto& row : rows) {
        HostFlags flags = row.flags;
        const SaverAction action = DecideDefaultSaver(flags, row.message, row.wParam, {0, 0});
        const auto what = ::testing::Message() << std::hex << row.message << " win9x " << flags.bWin9x;
        EXPECT_TRUE(action.effect == row.effect && action.route == row.route &&
                    (row.route != Route::Answer || action.result == 1)) << what;
    }
    // A preview, a saver during its password check and one whose close is
    // accepted leave input to the system.
    for (HostFlags flags : {kPreview, kVerifying, kAccepted})
        for (unsigned message : {kWmKeyDown, kWmLButtonDown, kWmMouseMove, kWmSetCursor, kWmActivateApp})
            EXPECT_EQ(DecideDefaultSaver(flags, message, 0, {40, 40}).effect, SaverEffect::None) << std::hex << message;
    for (HostFlags flags = kWin9x; unsigned message : {kWmKeyDown, kWmSysKeyDown, kWmLButtonDown, kWmRButtonDown, kWmMButtonDown})
        EXPECT_EQ(DecideDefaultSaver(flags, message, 0, {0, 0}).effect, SaverEffect::PostClose) << std::hex << message;
}

TEST(DecideDefaultSaver, MovesBeyondFourPixelsEndTheSaverAndBecomeTheReference) {
    const struct { CursorPoint reference, cursor; bool closes; } rows[] = {
        {{100, 100}, {104, 100}, false}, {{100, 100}, {103, 102}, true},  {{100, 100}, {102, 102}, false},
        {{100, 100}, {100, 96}, false},  {{100, 100}, {97, 98}, true},    {{0, 0}, {-5, 0}, true},
        {{INT32_MIN, 0}, {INT32_MAX, 0}, true},  // no overflow at the extremes
    };
    for (const auto& row : rows) {
        HostFlags flags{.ptCursorRef = row.reference};
        const bool closes = DecideDefaultSaver(flags, kWmMouseMove, 0, row.cursor).effect == SaverEffect::PostClose;
        const CursorPoint want = row.closes ? row.cursor : row.reference;
        EXPECT_TRUE(closes == row.closes && flags.ptCursorRef.x == want.x && flags.ptCursorRef.y == want.y)
            << row.cursor.x << "," << row.cursor.y;
    }
}

TEST(CloseCheck, NoPasswordAcceptsOnceAndForAll) {
    EXPECT_TRUE(PasswordInForce(true, 2) && !PasswordInForce(true, 0) && !PasswordInForce(false, 1));  // the stored flag
    HostFlags flags = kWin9x;
    EXPECT_EQ(BeginCloseCheck(flags, false, 1000), CloseCheck::Accept);
    EXPECT_EQ(BeginCloseCheck(flags, false, 1001), CloseCheck::Refuse);
    for (std::uint32_t now : {0u, 199u, 0xFFFFFFFFu}) {  // the first check is never guarded
        HostFlags first = kWin9x;
        EXPECT_EQ(BeginCloseCheck(first, true, now), CloseCheck::Ask) << now;
    }
}

TEST(CloseCheck, RefusalGuardsTheNext200MillisecondsFromItsEnd) {
    HostFlags flags{.bWin9x = true, .ptCursorRef = {10, 10}};
    ASSERT_EQ(BeginCloseCheck(flags, true, 5000), CloseCheck::Ask);
    EXPECT_EQ(BeginCloseCheck(flags, true, 5100), CloseCheck::Refuse) << "nested while the dialog is up";
    EXPECT_FALSE(EndCloseCheck(flags, false, 0xFFFFFFF0u));
    // 0x10 + n ms later, across the tick count's wrap.
    const struct { std::uint32_t now; CloseCheck expected; } rows[] = {{0xFFFFFFF0u, CloseCheck::Refuse}, {183, CloseCheck::Refuse}, {184, CloseCheck::Ask},
                {0xFFFFFFEFu, CloseCheck::Ask}};  // a clock that went back is far in the unsigned future
    for (const auto& row : rows) {
        HostFlags copy = flags;
        EXPECT_EQ(BeginCloseCheck(copy, true, row.now), row.expected) << row.now;
    }
    CloseRefused(flags, {200, 120});
    EXPECT_EQ(DecideDefaultSaver(flags, kWmMouseMove, 0, {202, 120}).effect, SaverEffect::None);
}

// The other monitors' windows: monitor rectangles in, the windows around the
// full-screen saver out, drawing fractals ("F") or plain black ("c"); with
// fractals turned off, the same rectangles all black.
TEST(MonitorLayout, EveryMonitorIsCoveredOnceAroundTheSaverWindow) {
    using Rects = std::vector<ScreenRect>;
    constexpr ScreenRect kPrimary{0, 0, 1920, 1080};
    const struct {
        const char* layout;
        Rects monitors;
        std::vector<MonitorWindow> windows;
    } rows[] = {
        {"left, negative, smaller, lower", {{-1280, 200, 0, 1224}, kPrimary}, {{{-1280, 200, 0, 1224}, true}}},
        {"stacked above, 4K",
         {{-960, -2160, 2880, 0}, kPrimary, {1920, 300, 3200, 1324}},
         {{{-960, -2160, 2880, 0}, true}, {{1920, 300, 3200, 1324}, true}}},
        {"mirrored primary and twice the same second", {kPrimary, kPrimary, {1920, 0, 3000, 900}, {1920, 0, 3000, 900}},
         {{{1920, 0, 3000, 900}, true}}},
        {"a second inside another", {kPrimary, {1920, 0, 3840, 1080}, {1920, 0, 2560, 480}}, {{{1920, 0, 3840, 1080}, true}}},
        {"a second across another", {kPrimary, {1920, 0, 3840, 1080}, {3000, 500, 4000, 1500}},
         {{{1920, 0, 3840, 1080}, true}, {{3000, 1080, 4000, 1500}, false}, {{3840, 500, 4000, 1080}, false}}},
        {"empty monitor", {kPrimary, {1920, 0, 1920, 1080}, {0, 1080, 800, 1080}}, {}},
        {"larger monitor around the primary",
         {{-100, -50, 2020, 1130}},
         {{{-100, -50, 2020, 0}, false}, {{-100, 1080, 2020, 1130}, false}, {{-100, 0, 0, 1080}, false},
          {{1920, 0, 2020, 1080}, false}}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(MonitorWindows(row.monitors, kPrimary, true), row.windows) << row.layout;
        std::vector<MonitorWindow> black = row.windows;
        for (MonitorWindow& w : black) w.fractal = false;
        EXPECT_EQ(MonitorWindows(row.monitors, kPrimary, false), black) << row.layout;
    }
}

}  // namespace
}  // namespace zorv
