// The saver host's decisions: the window procedure's filter table, the input
// policy with its 4-pixel threshold, and the password check's guards.
#include <gtest/gtest.h>

#include <cstdint>

#include "host/HostPolicy.h"

namespace zorv {
namespace {

HostFlags Flags(bool win9x, bool preview = false, bool verifying = false, bool accepted = false) {
    HostFlags flags;
    flags.bWin9x = win9x;
    flags.bPreview = preview;
    flags.bVerifying = verifying;
    flags.bCloseAccepted = accepted;
    return flags;
}
const HostFlags kFull = Flags(false), kPreview = Flags(false, true), kWin9x = Flags(true),
                kVerifying = Flags(true, false, true), kAccepted = Flags(true, false, false, true);

TEST(DecideHostWindow, FilterTable) {
    const struct {
        HostFlags flags;
        unsigned message;
        std::uintptr_t wParam;
        HostEffect effect;
        Route route;
        long result;
        bool hideCursor;
    } rows[] = {
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
        {kAccepted, kWmKeyDown, 'A', HostEffect::None, Route::DefWindowProc, 0, false},
        {kAccepted, kWmSysKeyDown, 0, HostEffect::None, Route::DefWindowProc, 0, false},
        {kAccepted, kWmMouseMove, 0, HostEffect::None, Route::DefWindowProc, 0, false},
        {kAccepted, kWmLButtonDown, 0, HostEffect::None, Route::DefWindowProc, 0, false},
        {kAccepted, kWmRButtonDown, 0, HostEffect::None, Route::DefWindowProc, 0, false},
        {kAccepted, kWmMButtonDown, 0, HostEffect::None, Route::DefWindowProc, 0, false},
        {kFull, kWmSysCommand, kScNextWindow, HostEffect::None, Route::Answer, 0, false},
        {kFull, kWmSysCommand, kScPrevWindow, HostEffect::None, Route::Answer, 0, false},
        {kFull, kWmSysCommand, kScScreenSave, HostEffect::None, Route::Answer, 0, false},
        {kFull, kWmSysCommand, kScScreenSave | 2, HostEffect::None, Route::Forward, 0, false},
        {kPreview, kWmSysCommand, kScScreenSave, HostEffect::None, Route::Forward, 0, false},
        {kFull, kWmTimer, 1, HostEffect::Yield, Route::Forward, 0, false},
        {kAccepted, kWmTimer, 1, HostEffect::None, Route::Answer, 0, false},
        {kAccepted, kWmClose, 0, HostEffect::None, Route::Forward, 0, false},
    };
    for (const auto& row : rows) {
        const HostAction action = DecideHostWindow(row.flags, row.message, row.wParam);
        const auto what = ::testing::Message() << std::hex << row.message << "/" << row.wParam;
        EXPECT_EQ(action.effect, row.effect) << what;
        EXPECT_EQ(action.route, row.route) << what;
        if (row.route == Route::Answer) EXPECT_EQ(action.result, row.result) << what;
        EXPECT_EQ(action.hideCursor, row.hideCursor) << what;
    }
}

TEST(DecideDefaultSaver, PolicyTable) {
    const struct {
        HostFlags flags;
        unsigned message;
        std::uintptr_t wParam;
        SaverEffect effect;
        Route route;
    } rows[] = {
        {kPreview, kWmKeyDown, 0, SaverEffect::None, Route::DefWindowProc},
        {kPreview, kWmLButtonDown, 0, SaverEffect::None, Route::DefWindowProc},
        {kPreview, kWmSetCursor, 0, SaverEffect::None, Route::DefWindowProc},
        {kPreview, kWmActivateApp, 0, SaverEffect::None, Route::DefWindowProc},
        {kAccepted, kWmKeyDown, 0, SaverEffect::None, Route::DefWindowProc},
        {kAccepted, kWmClose, 0, SaverEffect::None, Route::DefWindowProc},
        {kAccepted, kWmVerifyPassword, 0, SaverEffect::None, Route::DefWindowProc},
        {kFull, kWmClose, 0, SaverEffect::None, Route::DefWindowProc},
        {kWin9x, kWmClose, 0, SaverEffect::CheckClose, Route::DefWindowProc},
        {kFull, kWmVerifyPassword, 0, SaverEffect::None, Route::DefWindowProc},
        {kVerifying, kWmVerifyPassword, 0, SaverEffect::CheckPassword, Route::Answer},
        {kVerifying, kWmKeyDown, 0, SaverEffect::None, Route::DefWindowProc},
        {kVerifying, kWmActivateApp, 0, SaverEffect::None, Route::DefWindowProc},
        {kVerifying, kWmSetCursor, 0, SaverEffect::None, Route::DefWindowProc},
        {kFull, kWmShowWindow, 1, SaverEffect::HideCursor, Route::DefWindowProc},
        {kFull, kWmShowWindow, 0, SaverEffect::None, Route::DefWindowProc},
        {kFull, kWmActivateApp, 1, SaverEffect::None, Route::DefWindowProc},
        {kFull, kWmActivateApp, 0, SaverEffect::PostClose, Route::DefWindowProc},
        {kFull, kWmSetCursor, 0, SaverEffect::HideCursor, Route::Answer},
        {kFull, kWmKeyDown, 'Q', SaverEffect::PostClose, Route::DefWindowProc},
        {kFull, kWmSysKeyDown, 0, SaverEffect::PostClose, Route::DefWindowProc},
        {kFull, kWmLButtonDown, 0, SaverEffect::PostClose, Route::DefWindowProc},
        {kWin9x, kWmRButtonDown, 0, SaverEffect::PostClose, Route::DefWindowProc},
        {kFull, kWmMButtonDown, 0, SaverEffect::PostClose, Route::DefWindowProc},
        {kFull, kWmTimer, 1, SaverEffect::None, Route::DefWindowProc},
    };
    for (const auto& row : rows) {
        HostFlags flags = row.flags;
        const SaverAction action = DecideDefaultSaver(flags, row.message, row.wParam, {0, 0});
        const auto what = ::testing::Message() << std::hex << row.message << " win9x " << flags.bWin9x;
        EXPECT_EQ(action.effect, row.effect) << what;
        EXPECT_EQ(action.route, row.route) << what;
        if (row.route == Route::Answer) EXPECT_EQ(action.result, 1) << what;
    }
}

TEST(DecideDefaultSaver, MovesBeyondFourPixelsEndTheSaverAndBecomeTheReference) {
    const struct {
        CursorPoint reference, cursor;
        bool closes;
    } rows[] = {
        {{100, 100}, {104, 100}, false}, {{100, 100}, {103, 102}, true},  {{100, 100}, {102, 102}, false},
        {{100, 100}, {100, 96}, false},  {{100, 100}, {97, 98}, true},    {{0, 0}, {-5, 0}, true},
        {{INT32_MIN, 0}, {INT32_MAX, 0}, true},  // no overflow at the extremes
    };
    for (const auto& row : rows) {
        HostFlags flags;
        flags.ptCursorRef = row.reference;
        const auto what = ::testing::Message() << row.cursor.x << "," << row.cursor.y;
        EXPECT_EQ(DecideDefaultSaver(flags, kWmMouseMove, 0, row.cursor).effect == SaverEffect::PostClose, row.closes)
            << what;
        EXPECT_EQ(flags.ptCursorRef.x, (row.closes ? row.cursor : row.reference).x) << what;
        EXPECT_EQ(flags.ptCursorRef.y, (row.closes ? row.cursor : row.reference).y) << what;
    }
    for (HostFlags flags : {kPreview, kVerifying, kAccepted}) {
        EXPECT_EQ(DecideDefaultSaver(flags, kWmMouseMove, 0, {40, 40}).effect, SaverEffect::None);
        EXPECT_EQ(flags.ptCursorRef.x, 0);
    }
}

TEST(CloseCheck, NoPasswordAcceptsOnceAndForAll) {
    HostFlags flags = kWin9x;
    EXPECT_EQ(BeginCloseCheck(flags, false, 1000), CloseCheck::Accept);
    EXPECT_TRUE(flags.bCloseAccepted);
    EXPECT_EQ(BeginCloseCheck(flags, false, 1001), CloseCheck::Refuse);
    HostFlags asked = kWin9x;
    ASSERT_EQ(BeginCloseCheck(asked, true, 100), CloseCheck::Ask);
    EXPECT_TRUE(EndCloseCheck(asked, true, 400));
    EXPECT_TRUE(asked.bCloseAccepted);
    EXPECT_FALSE(asked.bVerifying);
    EXPECT_EQ(BeginCloseCheck(asked, true, 10000), CloseCheck::Refuse);
    for (std::uint32_t now : {0u, 199u, 0xFFFFFFFFu}) {  // the first check is never guarded
        HostFlags first = kWin9x;
        EXPECT_EQ(BeginCloseCheck(first, true, now), CloseCheck::Ask) << now;
    }
}

TEST(CloseCheck, RefusalGuardsTheNext200MillisecondsFromItsEnd) {
    HostFlags flags = kWin9x;
    flags.ptCursorRef = {10, 10};
    ASSERT_EQ(BeginCloseCheck(flags, true, 5000), CloseCheck::Ask);
    EXPECT_TRUE(flags.bVerifying);
    EXPECT_EQ(BeginCloseCheck(flags, true, 5100), CloseCheck::Refuse) << "nested while the dialog is up";
    EXPECT_FALSE(EndCloseCheck(flags, false, 0xFFFFFFF0u));
    EXPECT_FALSE(flags.bVerifying);
    EXPECT_FALSE(flags.bCloseAccepted);
    // 0x10 + n ms later, across the tick count's wrap.
    const struct {
        std::uint32_t now;
        CloseCheck expected;
    } rows[] = {{0xFFFFFFF0u, CloseCheck::Refuse}, {183, CloseCheck::Refuse}, {184, CloseCheck::Ask},
                {0xFFFFFFEFu, CloseCheck::Ask}};  // a clock that went back is far in the unsigned future
    for (const auto& row : rows) {
        HostFlags copy = flags;
        EXPECT_EQ(BeginCloseCheck(copy, true, row.now), row.expected) << row.now;
    }
    CloseRefused(flags, {200, 120});
    EXPECT_EQ(DecideDefaultSaver(flags, kWmMouseMove, 0, {202, 120}).effect, SaverEffect::None);
    EXPECT_EQ(DecideDefaultSaver(flags, kWmMouseMove, 0, {205, 120}).effect, SaverEffect::PostClose);
}

}  // namespace
}  // namespace zorv
