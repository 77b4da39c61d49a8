// The saver host's decisions: the window procedure's filter table, the input
// policy with its 4-pixel threshold, and the password check's guards.
#include <gtest/gtest.h>

#include <cstdint>

#include "host/HostPolicy.h"

namespace zorv {
namespace {

HostFlags FullScreen() { return HostFlags{}; }
HostFlags Preview() {
    HostFlags flags;
    flags.bPreview = true;
    return flags;
}
HostFlags Accepted() {
    HostFlags flags;
    flags.bWin9x = true;
    flags.bCloseAccepted = true;
    return flags;
}

struct HostRow {
    const char* what;
    HostFlags flags;
    unsigned message;
    std::uintptr_t wParam;
    HostEffect effect;
    Route route;
    long result;
    bool hideCursor;
};

TEST(DecideHostWindow, FilterTable) {
    const HostRow rows[] = {
        {"create full-screen", FullScreen(), kWmCreate, 0, HostEffect::Created, Route::Forward, 0, true},
        {"create preview", Preview(), kWmCreate, 0, HostEffect::Created, Route::Forward, 0, false},
        {"destroy", FullScreen(), kWmDestroy, 0, HostEffect::Destroyed, Route::Forward, 0, false},
        {"destroy after accept", Accepted(), kWmDestroy, 0, HostEffect::Destroyed, Route::Forward, 0, false},
        {"settext", FullScreen(), kWmSetText, 0, HostEffect::None, Route::Answer, 0, false},
        {"settext preview", Preview(), kWmSetText, 0, HostEffect::None, Route::Answer, 0, false},
        {"paint", FullScreen(), kWmPaint, 0, HostEffect::None, Route::Forward, 0, true},
        {"paint preview", Preview(), kWmPaint, 0, HostEffect::None, Route::Forward, 0, false},
        {"paint accepted", Accepted(), kWmPaint, 0, HostEffect::None, Route::DefWindowProc, 0, false},
        {"help preview", Preview(), kWmHelp, 0, HostEffect::PostToParent, Route::Answer, 1, false},
        {"menu preview", Preview(), kWmContextMenu, 7, HostEffect::PostToParent, Route::Answer, 1, false},
        {"help full", FullScreen(), kWmHelp, 0, HostEffect::None, Route::Forward, 0, false},
        {"menu full", FullScreen(), kWmContextMenu, 0, HostEffect::None, Route::Forward, 0, false},
        {"key", FullScreen(), kWmKeyDown, 'A', HostEffect::None, Route::Forward, 0, false},
        {"key accepted", Accepted(), kWmKeyDown, 'A', HostEffect::None, Route::DefWindowProc, 0, false},
        {"syskey accepted", Accepted(), kWmSysKeyDown, 0, HostEffect::None, Route::DefWindowProc, 0, false},
        {"move accepted", Accepted(), kWmMouseMove, 0, HostEffect::None, Route::DefWindowProc, 0, false},
        {"lbutton accepted", Accepted(), kWmLButtonDown, 0, HostEffect::None, Route::DefWindowProc, 0, false},
        {"rbutton accepted", Accepted(), kWmRButtonDown, 0, HostEffect::None, Route::DefWindowProc, 0, false},
        {"mbutton accepted", Accepted(), kWmMButtonDown, 0, HostEffect::None, Route::DefWindowProc, 0, false},
        {"mbutton", FullScreen(), kWmMButtonDown, 0, HostEffect::None, Route::Forward, 0, false},
        {"next window", FullScreen(), kWmSysCommand, kScNextWindow, HostEffect::None, Route::Answer, 0, false},
        {"prev window", FullScreen(), kWmSysCommand, kScPrevWindow, HostEffect::None, Route::Answer, 0, false},
        {"screen save", FullScreen(), kWmSysCommand, kScScreenSave, HostEffect::None, Route::Answer, 0, false},
        {"screen save low bits", FullScreen(), kWmSysCommand, kScScreenSave | 2, HostEffect::None, Route::Forward, 0, false},
        {"next window low bits", FullScreen(), kWmSysCommand, kScNextWindow | 0xF, HostEffect::None, Route::Forward, 0, false},
        {"close command", FullScreen(), kWmSysCommand, 0xF060, HostEffect::None, Route::Forward, 0, false},
        {"screen save preview", Preview(), kWmSysCommand, kScScreenSave, HostEffect::None, Route::Forward, 0, false},
        {"timer", FullScreen(), kWmTimer, 1, HostEffect::Yield, Route::Forward, 0, false},
        {"timer accepted", Accepted(), kWmTimer, 1, HostEffect::None, Route::Answer, 0, false},
        {"close", FullScreen(), kWmClose, 0, HostEffect::None, Route::Forward, 0, false},
        {"close accepted", Accepted(), kWmClose, 0, HostEffect::None, Route::Forward, 0, false},
        {"verify", FullScreen(), kWmVerifyPassword, 0, HostEffect::None, Route::Forward, 0, false},
        {"setcursor", FullScreen(), kWmSetCursor, 0, HostEffect::None, Route::Forward, 0, false},
    };
    for (const HostRow& row : rows) {
        const HostAction action = DecideHostWindow(row.flags, row.message, row.wParam);
        EXPECT_EQ(action.effect, row.effect) << row.what;
        EXPECT_EQ(action.route, row.route) << row.what;
        if (row.route == Route::Answer) {
            EXPECT_EQ(action.result, row.result) << row.what;
        }
        EXPECT_EQ(action.hideCursor, row.hideCursor) << row.what;
    }
}

struct SaverRow {
    const char* what;
    HostFlags flags;
    unsigned message;
    std::uintptr_t wParam;
    SaverEffect effect;
    Route route;
    long result;
};

HostFlags Win9x() {
    HostFlags flags;
    flags.bWin9x = true;
    return flags;
}
HostFlags Verifying() {
    HostFlags flags = Win9x();
    flags.bVerifying = true;
    return flags;
}

TEST(DecideDefaultSaver, PolicyTable) {
    const SaverRow rows[] = {
        {"preview key", Preview(), kWmKeyDown, 0, SaverEffect::None, Route::DefWindowProc, 0},
        {"preview button", Preview(), kWmLButtonDown, 0, SaverEffect::None, Route::DefWindowProc, 0},
        {"preview setcursor", Preview(), kWmSetCursor, 0, SaverEffect::None, Route::DefWindowProc, 0},
        {"preview close", Preview(), kWmClose, 0, SaverEffect::None, Route::DefWindowProc, 0},
        {"preview deactivate", Preview(), kWmActivateApp, 0, SaverEffect::None, Route::DefWindowProc, 0},
        {"accepted key", Accepted(), kWmKeyDown, 0, SaverEffect::None, Route::DefWindowProc, 0},
        {"accepted close", Accepted(), kWmClose, 0, SaverEffect::None, Route::DefWindowProc, 0},
        {"accepted verify", Accepted(), kWmVerifyPassword, 0, SaverEffect::None, Route::DefWindowProc, 0},
        {"close NT", FullScreen(), kWmClose, 0, SaverEffect::None, Route::DefWindowProc, 0},
        {"close 9x", Win9x(), kWmClose, 0, SaverEffect::CheckClose, Route::DefWindowProc, 0},
        {"close while verifying", Verifying(), kWmClose, 0, SaverEffect::CheckClose, Route::DefWindowProc, 0},
        {"verify NT", FullScreen(), kWmVerifyPassword, 0, SaverEffect::None, Route::DefWindowProc, 0},
        {"verify 9x", Win9x(), kWmVerifyPassword, 0, SaverEffect::CheckPassword, Route::Answer, 1},
        {"verify while verifying", Verifying(), kWmVerifyPassword, 0, SaverEffect::CheckPassword, Route::Answer, 1},
        {"key while verifying", Verifying(), kWmKeyDown, 0, SaverEffect::None, Route::DefWindowProc, 0},
        {"button while verifying", Verifying(), kWmRButtonDown, 0, SaverEffect::None, Route::DefWindowProc, 0},
        {"deactivate while verifying", Verifying(), kWmActivateApp, 0, SaverEffect::None, Route::DefWindowProc, 0},
        {"setcursor while verifying", Verifying(), kWmSetCursor, 0, SaverEffect::None, Route::DefWindowProc, 0},
        {"shown", FullScreen(), kWmShowWindow, 1, SaverEffect::HideCursor, Route::DefWindowProc, 0},
        {"hidden", FullScreen(), kWmShowWindow, 0, SaverEffect::None, Route::DefWindowProc, 0},
        {"activated", FullScreen(), kWmActivateApp, 1, SaverEffect::None, Route::DefWindowProc, 0},
        {"deactivated", FullScreen(), kWmActivateApp, 0, SaverEffect::PostClose, Route::DefWindowProc, 0},
        {"setcursor", FullScreen(), kWmSetCursor, 0, SaverEffect::HideCursor, Route::Answer, 1},
        {"key", FullScreen(), kWmKeyDown, 'Q', SaverEffect::PostClose, Route::DefWindowProc, 0},
        {"syskey", FullScreen(), kWmSysKeyDown, 0, SaverEffect::PostClose, Route::DefWindowProc, 0},
        {"lbutton", FullScreen(), kWmLButtonDown, 0, SaverEffect::PostClose, Route::DefWindowProc, 0},
        {"rbutton", Win9x(), kWmRButtonDown, 0, SaverEffect::PostClose, Route::DefWindowProc, 0},
        {"mbutton", FullScreen(), kWmMButtonDown, 0, SaverEffect::PostClose, Route::DefWindowProc, 0},
        {"timer", FullScreen(), kWmTimer, 1, SaverEffect::None, Route::DefWindowProc, 0},
        {"paint", FullScreen(), kWmPaint, 0, SaverEffect::None, Route::DefWindowProc, 0},
    };
    for (const SaverRow& row : rows) {
        HostFlags flags = row.flags;
        const SaverAction action = DecideDefaultSaver(flags, row.message, row.wParam, {0, 0});
        EXPECT_EQ(action.effect, row.effect) << row.what;
        EXPECT_EQ(action.route, row.route) << row.what;
        if (row.route == Route::Answer) {
            EXPECT_EQ(action.result, row.result) << row.what;
        }
    }
}

struct MoveRow {
    CursorPoint reference;
    CursorPoint cursor;
    bool closes;
};

TEST(DecideDefaultSaver, MouseMoveThresholdAndReference) {
    const MoveRow rows[] = {
        {{100, 100}, {103, 102}, true},    // (3, 2): sum 5
        {{100, 100}, {104, 100}, false},   // (4, 0): sum 4, not above
        {{100, 100}, {102, 102}, false},   // (2, 2)
        {{100, 100}, {97, 98}, true},      // (-3, -2)
        {{100, 100}, {100, 96}, false},    // (0, -4)
        {{100, 100}, {100, 95}, true},     // (0, -5)
        {{100, 100}, {100, 100}, false},
        {{0, 0}, {-5, 0}, true},
        {{INT32_MIN, 0}, {INT32_MAX, 0}, true},  // no overflow at the extremes
        {{INT32_MAX, INT32_MAX}, {INT32_MAX, INT32_MAX}, false},
    };
    for (const MoveRow& row : rows) {
        HostFlags flags;
        flags.ptCursorRef = row.reference;
        const SaverAction action = DecideDefaultSaver(flags, kWmMouseMove, 0, row.cursor);
        const auto where = ::testing::Message() << "(" << row.reference.x << "," << row.reference.y << ") -> ("
                                                << row.cursor.x << "," << row.cursor.y << ")";
        EXPECT_EQ(action.effect == SaverEffect::PostClose, row.closes) << where;
        const CursorPoint expected = row.closes ? row.cursor : row.reference;
        EXPECT_EQ(flags.ptCursorRef.x, expected.x) << where;
        EXPECT_EQ(flags.ptCursorRef.y, expected.y) << where;
    }
}

TEST(DecideDefaultSaver, SmallMovesAddUpAgainstTheUnchangedReference) {
    HostFlags flags;
    flags.ptCursorRef = {50, 50};
    // Each step is small, but the reference stays put, so the drift adds up.
    EXPECT_EQ(DecideDefaultSaver(flags, kWmMouseMove, 0, {52, 50}).effect, SaverEffect::None);
    EXPECT_EQ(DecideDefaultSaver(flags, kWmMouseMove, 0, {54, 50}).effect, SaverEffect::None);
    EXPECT_EQ(DecideDefaultSaver(flags, kWmMouseMove, 0, {55, 50}).effect, SaverEffect::PostClose);
    // The close-requesting position is the new reference: a further 2 pixels do nothing.
    EXPECT_EQ(DecideDefaultSaver(flags, kWmMouseMove, 0, {57, 50}).effect, SaverEffect::None);
    EXPECT_EQ(flags.ptCursorRef.x, 55);
}

TEST(DecideDefaultSaver, MovesDoNothingInPreviewOrWhileVerifying) {
    for (HostFlags flags : {Preview(), Verifying(), Accepted()}) {
        flags.ptCursorRef = {0, 0};
        const SaverAction action = DecideDefaultSaver(flags, kWmMouseMove, 0, {40, 40});
        EXPECT_EQ(action.effect, SaverEffect::None);
        EXPECT_EQ(flags.ptCursorRef.x, 0);
        EXPECT_EQ(flags.ptCursorRef.y, 0);
    }
}

TEST(CloseCheck, NoPasswordAcceptsAtOnce) {
    HostFlags flags = Win9x();
    EXPECT_EQ(BeginCloseCheck(flags, false, 1000), CloseCheck::Accept);
    EXPECT_TRUE(flags.bCloseAccepted);
    EXPECT_FALSE(flags.bVerifying);
    // A second request after acceptance is not asked again.
    EXPECT_EQ(BeginCloseCheck(flags, false, 1001), CloseCheck::Refuse);
}

TEST(CloseCheck, RefusalGuardsTheNext200Milliseconds) {
    HostFlags flags = Win9x();
    ASSERT_EQ(BeginCloseCheck(flags, true, 5000), CloseCheck::Ask);
    EXPECT_TRUE(flags.bVerifying);
    // The dialog is up: a nested close request is refused without asking.
    EXPECT_EQ(BeginCloseCheck(flags, true, 5100), CloseCheck::Refuse);
    EXPECT_FALSE(EndCloseCheck(flags, false, 9000));  // the guard counts from the end of the check
    EXPECT_FALSE(flags.bVerifying);
    EXPECT_FALSE(flags.bCloseAccepted);
    EXPECT_EQ(flags.dwLastVerifyTick, 9000u);

    const struct {
        std::uint32_t now;
        CloseCheck expected;
    } rows[] = {
        {9000, CloseCheck::Refuse},
        {9150, CloseCheck::Refuse},
        {9199, CloseCheck::Refuse},
        {9200, CloseCheck::Ask},
        {9250, CloseCheck::Ask},
        {8999, CloseCheck::Ask},  // a clock that went backwards is far in the unsigned future
    };
    for (const auto& row : rows) {
        HostFlags copy = flags;
        EXPECT_EQ(BeginCloseCheck(copy, true, row.now), row.expected) << row.now;
        EXPECT_EQ(copy.bVerifying, row.expected == CloseCheck::Ask) << row.now;
    }
}

TEST(CloseCheck, TickCountWrapDoesNotBlockACheck) {
    HostFlags flags = Win9x();
    ASSERT_EQ(BeginCloseCheck(flags, true, 0xFFFFFF00u), CloseCheck::Ask);
    EndCloseCheck(flags, false, 0xFFFFFFF0u);
    // 0x10 + 100 = 116 ms later, across the wrap: still guarded.
    HostFlags soon = flags;
    EXPECT_EQ(BeginCloseCheck(soon, true, 100), CloseCheck::Refuse);
    // 0x10 + 300 = 316 ms later, across the wrap: asked again.
    HostFlags later = flags;
    EXPECT_EQ(BeginCloseCheck(later, true, 300), CloseCheck::Ask);
}

TEST(CloseCheck, FirstCheckIsNeverGuarded) {
    // No check yet: even a tick count just past the "never" marker asks.
    for (std::uint32_t now : {0u, 50u, 199u, 0xFFFFFFFEu, 0xFFFFFFFFu}) {
        HostFlags flags = Win9x();
        EXPECT_EQ(BeginCloseCheck(flags, true, now), CloseCheck::Ask) << now;
    }
}

TEST(CloseCheck, AcceptedPasswordClosesAndStopsFurtherChecks) {
    HostFlags flags = Win9x();
    ASSERT_EQ(BeginCloseCheck(flags, true, 100), CloseCheck::Ask);
    EXPECT_TRUE(EndCloseCheck(flags, true, 400));
    EXPECT_TRUE(flags.bCloseAccepted);
    EXPECT_FALSE(flags.bVerifying);
    EXPECT_EQ(BeginCloseCheck(flags, true, 10000), CloseCheck::Refuse);
}

TEST(CloseCheck, RefusedCloseRefreshesTheReferenceOnly) {
    HostFlags flags = Win9x();
    flags.ptCursorRef = {10, 10};
    ASSERT_EQ(BeginCloseCheck(flags, true, 0), CloseCheck::Ask);
    EndCloseCheck(flags, false, 10);
    CloseRefused(flags, {200, 120});
    EXPECT_EQ(flags.ptCursorRef.x, 200);
    EXPECT_EQ(flags.ptCursorRef.y, 120);
    // A 2-pixel nudge from the new spot keeps the saver; 5 pixels from it ends it.
    EXPECT_EQ(DecideDefaultSaver(flags, kWmMouseMove, 0, {202, 120}).effect, SaverEffect::None);
    EXPECT_EQ(DecideDefaultSaver(flags, kWmMouseMove, 0, {205, 120}).effect, SaverEffect::PostClose);
}

}  // namespace
}  // namespace zorv
