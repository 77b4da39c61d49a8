// Decisions of the saver host: the window procedure's filter, the default
// procedure's input policy and the password check's guard.
#include "host/HostPolicy.h"

#include <cstdlib>

namespace zorv {

namespace {

constexpr HostAction Forward(HostEffect effect = HostEffect::None, bool hideCursor = false) {
    return {effect, Route::Forward, 0, hideCursor};
}
constexpr HostAction HostDefault() { return {HostEffect::None, Route::DefWindowProc, 0, false}; }
constexpr HostAction HostAnswer(long result, HostEffect effect = HostEffect::None) {
    return {effect, Route::Answer, result, false};
}

bool IsInput(unsigned message) {
    switch (message) {
        case kWmKeyDown: case kWmSysKeyDown: case kWmMouseMove:
        case kWmLButtonDown: case kWmRButtonDown: case kWmMButtonDown:
            return true;
        default:
            return false;
    }
}

constexpr SaverAction SaverDefault(SaverEffect effect = SaverEffect::None) { return {effect, Route::DefWindowProc, 0}; }
constexpr SaverAction SaverAnswer(long result, SaverEffect effect = SaverEffect::None) {
    return {effect, Route::Answer, result};
}

}  // namespace

HostAction DecideHostWindow(const HostFlags& flags, unsigned message, std::uintptr_t wParam) {
    const bool fullScreen = !flags.bPreview;
    switch (message) {
        case kWmCreate: return Forward(HostEffect::Created, fullScreen);
        case kWmDestroy: return Forward(HostEffect::Destroyed);
        case kWmSetText: return HostAnswer(0);
        case kWmPaint:
            if (flags.bCloseAccepted) return HostDefault();
            return Forward(HostEffect::None, fullScreen);
        case kWmHelp:
        case kWmContextMenu:
            if (flags.bPreview) return HostAnswer(1, HostEffect::PostToParent);
            return Forward();
        case kWmSysCommand:
            // Compared whole: a command with its low four bits set is someone else's.
            if (fullScreen && (wParam == kScNextWindow || wParam == kScPrevWindow || wParam == kScScreenSave)) {
                return HostAnswer(0);
            }
            return Forward();
        case kWmTimer:
            if (flags.bCloseAccepted) return HostAnswer(0);  // no drawing after an accepted close
            return Forward(HostEffect::Yield);
        case kWmDisplayChange:
            return Forward(fullScreen ? HostEffect::DisplayChanged : HostEffect::None);
        default:
            if (IsInput(message) && flags.bCloseAccepted) return HostDefault();
            return Forward();
    }
}

bool MoveEndsSaver(CursorPoint reference, CursorPoint cursor) {
    const long long dx = std::llabs(static_cast<long long>(cursor.x) - reference.x);
    const long long dy = std::llabs(static_cast<long long>(cursor.y) - reference.y);
    return dx + dy > kMouseMoveThreshold;
}

SaverAction DecideDefaultSaver(HostFlags& flags, unsigned message, std::uintptr_t wParam, CursorPoint cursor) {
    if (flags.bPreview || flags.bCloseAccepted) return SaverDefault();
    if (message == kWmClose) return flags.bWin9x ? SaverDefault(SaverEffect::CheckClose) : SaverDefault();
    if (message == kWmVerifyPassword) return flags.bWin9x ? SaverAnswer(1, SaverEffect::CheckPassword) : SaverDefault();
    if (flags.bVerifying) return SaverDefault();  // input during the password dialog asks nothing more

    switch (message) {
        case kWmShowWindow:
            return wParam != 0 ? SaverDefault(SaverEffect::HideCursor) : SaverDefault();
        case kWmActivateApp:
            return wParam == 0 ? SaverDefault(SaverEffect::PostClose) : SaverDefault();
        case kWmSetCursor:
            return SaverAnswer(1, SaverEffect::HideCursor);
        case kWmKeyDown: case kWmSysKeyDown:
        case kWmLButtonDown: case kWmRButtonDown: case kWmMButtonDown:
            return SaverDefault(SaverEffect::PostClose);
        case kWmMouseMove:
            if (!MoveEndsSaver(flags.ptCursorRef, cursor)) return SaverDefault();
            flags.ptCursorRef = cursor;
            return SaverDefault(SaverEffect::PostClose);
        default:
            return SaverDefault();
    }
}

void CloseRefused(HostFlags& flags, CursorPoint cursor) { flags.ptCursorRef = cursor; }

CloseCheck BeginCloseCheck(HostFlags& flags, bool passwordLoaded, std::uint32_t now) {
    if (flags.bVerifying || flags.bCloseAccepted) return CloseCheck::Refuse;
    if (!passwordLoaded) {
        flags.bCloseAccepted = true;
        return CloseCheck::Accept;
    }
    // Unsigned difference: a tick-count wrap between two checks does not block one.
    if (flags.dwLastVerifyTick != kNeverVerified && now - flags.dwLastVerifyTick < kRecheckGuardMs) {
        return CloseCheck::Refuse;
    }
    flags.bVerifying = true;
    return CloseCheck::Ask;
}

bool EndCloseCheck(HostFlags& flags, bool accepted, std::uint32_t now) {
    flags.bCloseAccepted = accepted;
    flags.bVerifying = false;
    flags.dwLastVerifyTick = now;
    return accepted;
}

}  // namespace zorv
