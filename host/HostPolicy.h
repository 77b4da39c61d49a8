// The saver host's input and close policy as pure decisions: what a message
// means given the host's flags, the cursor and the tick count. The Win32 host
// carries the returned actions out.
#pragma once

#include <cstdint>

namespace zorv {

// Window messages the policy looks at (values of the Win32 API).
inline constexpr unsigned kWmCreate = 0x0001;
inline constexpr unsigned kWmDestroy = 0x0002;
inline constexpr unsigned kWmSetText = 0x000C;
inline constexpr unsigned kWmPaint = 0x000F;
inline constexpr unsigned kWmClose = 0x0010;
inline constexpr unsigned kWmShowWindow = 0x0018;
inline constexpr unsigned kWmActivateApp = 0x001C;
inline constexpr unsigned kWmSetCursor = 0x0020;
inline constexpr unsigned kWmHelp = 0x0053;
inline constexpr unsigned kWmContextMenu = 0x007B;
inline constexpr unsigned kWmDisplayChange = 0x007E;
inline constexpr unsigned kWmKeyDown = 0x0100;
inline constexpr unsigned kWmSysKeyDown = 0x0104;
inline constexpr unsigned kWmSysCommand = 0x0112;
inline constexpr unsigned kWmTimer = 0x0113;
inline constexpr unsigned kWmMouseMove = 0x0200;
inline constexpr unsigned kWmLButtonDown = 0x0201;
inline constexpr unsigned kWmRButtonDown = 0x0204;
inline constexpr unsigned kWmMButtonDown = 0x0207;
// Private message that runs the system's password check inside the default procedure.
inline constexpr unsigned kWmVerifyPassword = 0x8000;

inline constexpr std::uintptr_t kScNextWindow = 0xF040;
inline constexpr std::uintptr_t kScPrevWindow = 0xF050;
inline constexpr std::uintptr_t kScScreenSave = 0xF140;

inline constexpr int kMouseMoveThreshold = 4;
inline constexpr std::uint32_t kRecheckGuardMs = 200;
inline constexpr std::uint32_t kNeverVerified = 0xFFFFFFFFu;

struct CursorPoint {
    std::int32_t x;
    std::int32_t y;
};

// The part of the host's record that its decisions read and write.
struct HostFlags {
    bool bWin9x = false;
    bool bPreview = false;
    bool bCloseAccepted = false;
    bool bVerifying = false;
    CursorPoint ptCursorRef = {0, 0};
    std::uint32_t dwLastVerifyTick = kNeverVerified;
};

// Where a message goes once the action is done.
enum class Route {
    Forward,        // on to the saver window object
    DefWindowProc,  // the system's default procedure
    Answer,         // return `result` at once
};

enum class HostEffect {
    None,
    Created,     // detach the input method, record the cursor reference (and hide it if `hideCursor`)
    Destroyed,   // give the input method back, post the quit message
    PostToParent,  // a preview's help request goes to its parent, wParam = parent
    Yield,       // Sleep(0) before a timer tick goes on (to the other monitors' windows too)
    DisplayChanged,  // full-screen: fit the window to the primary monitor, lay the others' windows out anew
};

struct HostAction {
    HostEffect effect;
    Route route;
    long result;
    bool hideCursor;  // SetCursor(NULL) as well
};

// The class's window procedure, before the object sees the message.
HostAction DecideHostWindow(const HostFlags& flags, unsigned message, std::uintptr_t wParam);

enum class SaverEffect {
    None,
    CheckClose,      // VerifyBeforeClose; refused: CloseRefused and answer 0, else DefWindowProc
    CheckPassword,   // answer the loaded password function's result, or 1 without one
    HideCursor,
    PostClose,       // post WM_CLOSE to the window
};

struct SaverAction {
    SaverEffect effect;
    Route route;  // Forward never occurs here
    long result;
};

// Default processing of what the object left unhandled. `cursor` is the cursor
// position in screen coordinates; it is read only for WM_MOUSEMOVE, where a
// close-requesting move also becomes the new reference.
SaverAction DecideDefaultSaver(HostFlags& flags, unsigned message, std::uintptr_t wParam, CursorPoint cursor);

// abs(dx) + abs(dy) from the reference above the threshold; no overflow for any coordinates.
bool MoveEndsSaver(CursorPoint reference, CursorPoint cursor);

// After a refused close: the saver goes on, measured from where the cursor is now.
void CloseRefused(HostFlags& flags, CursorPoint cursor);

enum class CloseCheck {
    Refuse,  // answer bCloseAccepted (FALSE) without asking
    Accept,  // no password in use: bCloseAccepted has been set
    Ask,     // bVerifying has been set: purge two ticks, then run the password check
};

// The first half of VerifyBeforeClose. `passwordLoaded` says whether the
// system's check function is loaded; `now` is the tick count.
CloseCheck BeginCloseCheck(HostFlags& flags, bool passwordLoaded, std::uint32_t now);

// The second half, with the check's answer and the tick count at its end.
// Returns whether the close may proceed.
bool EndCloseCheck(HostFlags& flags, bool accepted, std::uint32_t now);

// The password setting read from the registry puts a password in force.
inline bool PasswordInForce(bool queryOk, std::uint32_t value) { return queryOk && value != 0; }

// The system's screen-saver-running state exists only on the Windows 95/98 family.
inline bool SaverRunningApplies(const HostFlags& flags) { return flags.bWin9x; }

}  // namespace zorv
