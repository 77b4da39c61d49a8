// Carries out the host's decisions with the Win32 API: the window class and
// window, the message loop, the input method, the cursor and the password check.
#include "host/SaverHost.h"

#include "framework/AppMessageBox.h"
#include "framework/ScreenSaverWnd.h"

HostState g_host;

namespace {

constexpr UINT kClassStyle = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;  // 0x2B
constexpr DWORD kFullScreenStyle = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr DWORD kPreviewStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;

zorv::CursorPoint CursorNow() {
    POINT pt{0, 0};
    ::GetCursorPos(&pt);
    return {pt.x, pt.y};
}

LRESULT FollowRoute(zorv::Route route, long result, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (route) {
        case zorv::Route::Forward: return ForwardToSaverObject(hWnd, message, wParam, lParam);
        case zorv::Route::Answer: return result;
        case zorv::Route::DefWindowProc: break;
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

void OnHostCreated(HWND hWnd) {
    // What the saver object leaves unhandled comes back to the policy here, and
    // failure boxes show above this topmost window.
    SetSaverDefaultProc(DefaultSaverProc);
    SetAppMessageBoxOwner(hWnd);
    HMODULE hImm = ::GetModuleHandleA("IMM32.DLL");  // only if already loaded; never loaded here
    if (hImm != nullptr) {
        g_host.hImm = hImm;
        g_host.pfnImmAssociateContext =
            reinterpret_cast<ImmAssociateContextProc>(reinterpret_cast<void (*)()>(::GetProcAddress(hImm, "ImmAssociateContext")));
        if (g_host.pfnImmAssociateContext != nullptr) g_host.hSavedImc = g_host.pfnImmAssociateContext(hWnd, nullptr);
    }
    g_host.ptCursorRef = CursorNow();
}

void OnHostDestroyed(HWND hWnd) {
    if (g_host.hImm != nullptr && g_host.pfnImmAssociateContext != nullptr && g_host.hSavedImc != nullptr) {
        g_host.pfnImmAssociateContext(hWnd, g_host.hSavedImc);
    }
    DestroyMonitorWindows();
    SetAppMessageBoxOwner(nullptr);
    ::PostQuitMessage(0);
}

LRESULT HostWindowProcBody(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const zorv::HostAction action = zorv::DecideHostWindow(g_host, message, wParam);
    switch (action.effect) {
        case zorv::HostEffect::Created: OnHostCreated(hWnd); break;
        case zorv::HostEffect::Destroyed: OnHostDestroyed(hWnd); break;
        case zorv::HostEffect::PostToParent: {
            HWND hParent = ::GetParent(hWnd);
            if (hParent != nullptr && ::IsWindow(hParent)) {
                ::PostMessageA(hParent, message, reinterpret_cast<WPARAM>(hParent), lParam);
            }
            break;
        }
        case zorv::HostEffect::Yield:
            ::Sleep(0);
            TickMonitorWindows();
            break;
        case zorv::HostEffect::DisplayChanged: {
            // The primary monitor's new size, and the other monitors' windows laid out anew.
            RECT was{0, 0, 0, 0};
            ::GetWindowRect(hWnd, &was);
            const int width = ::GetSystemMetrics(SM_CXSCREEN);
            const int height = ::GetSystemMetrics(SM_CYSCREEN);
            ::SetWindowPos(hWnd, HWND_TOPMOST, 0, 0, width, height, SWP_NOACTIVATE);
            // A new size shows black until its first image: nothing of the old one stays.
            if (was.right - was.left != width || was.bottom - was.top != height) ::InvalidateRect(hWnd, nullptr, TRUE);
            LayOutMonitorWindows(hWnd);
            break;
        }
        case zorv::HostEffect::None: break;
    }
    if (action.hideCursor) ::SetCursor(nullptr);
    return FollowRoute(action.route, action.result, hWnd, message, wParam, lParam);
}

}  // namespace

// A C++ exception must never unwind through the system's frames: it ends the
// run instead, through the message loop, which restores what the run changed.
LRESULT CALLBACK HostWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return HostWindowProcBody(hWnd, message, wParam, lParam);
    } catch (...) {
        ::PostQuitMessage(kFaultExitCode);
        return 0;
    }
}

LRESULT DefaultSaverProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const zorv::CursorPoint cursor = message == WM_MOUSEMOVE ? CursorNow() : zorv::CursorPoint{0, 0};
    const zorv::SaverAction action = zorv::DecideDefaultSaver(g_host, message, wParam, cursor);
    switch (action.effect) {
        case zorv::SaverEffect::CheckClose:
            if (!VerifyBeforeClose(hWnd)) {
                zorv::CloseRefused(g_host, CursorNow());
                return 0;
            }
            break;
        case zorv::SaverEffect::CheckPassword:
            if (g_host.pfnVerifyPassword != nullptr) return g_host.pfnVerifyPassword(hWnd);
            break;
        case zorv::SaverEffect::HideCursor: ::SetCursor(nullptr); break;
        case zorv::SaverEffect::PostClose: ::PostMessageA(hWnd, WM_CLOSE, 0, 0); break;
        case zorv::SaverEffect::None: break;
    }
    return FollowRoute(action.route, action.result, hWnd, message, wParam, lParam);
}

BOOL VerifyBeforeClose(HWND hWnd) {
    switch (zorv::BeginCloseCheck(g_host, g_host.pfnVerifyPassword != nullptr, ::GetTickCount())) {
        case zorv::CloseCheck::Refuse: return g_host.bCloseAccepted;
        case zorv::CloseCheck::Accept: return TRUE;
        case zorv::CloseCheck::Ask: break;
    }
    // Queued drawing must not run just before the dialog shows.
    MSG msg;
    ::PeekMessageA(&msg, hWnd, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
    ::PeekMessageA(&msg, hWnd, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
    const bool accepted = ::SendMessageA(hWnd, zorv::kWmVerifyPassword, 0, 0) != 0;
    if (!accepted) ::SetCursor(nullptr);
    // The guard counts from the end of the check, not its start.
    return zorv::EndCloseCheck(g_host, accepted, ::GetTickCount()) ? TRUE : FALSE;
}

void SetSaverRunning(BOOL bRunning) {
    if (!zorv::SaverRunningApplies(g_host)) return;
    UINT previous = 0;
    ::SystemParametersInfoA(SPI_SCREENSAVERRUNNING, bRunning, &previous, 0);
}

void LoadPasswordLibrary() {
    if (!g_host.bWin9x) return;
    if (g_host.hPasswordLib != nullptr) UnloadPasswordLibrary();
    HKEY hKey = nullptr;
    if (::RegOpenKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &hKey) != ERROR_SUCCESS) return;
    DWORD value = 0;
    DWORD size = sizeof value;
    const bool queryOk =
        ::RegQueryValueExA(hKey, "ScreenSaveUsePassword", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) ==
        ERROR_SUCCESS;
    if (zorv::PasswordInForce(queryOk, value)) {
        g_host.hPasswordLib = ::LoadLibraryA("PASSWORD.CPL");
        if (g_host.hPasswordLib != nullptr) {
            g_host.pfnVerifyPassword =
                reinterpret_cast<VerifyPasswordProc>(reinterpret_cast<void (*)()>(::GetProcAddress(g_host.hPasswordLib, "VerifyScreenSavePwd")));
            if (g_host.pfnVerifyPassword != nullptr) {
                SetSaverRunning(TRUE);
            } else {
                UnloadPasswordLibrary();
            }
        }
    }
    ::RegCloseKey(hKey);
}

void UnloadPasswordLibrary() {
    if (!g_host.bWin9x || g_host.hPasswordLib == nullptr) return;
    ::FreeLibrary(g_host.hPasswordLib);
    g_host.hPasswordLib = nullptr;
    if (g_host.pfnVerifyPassword != nullptr) {
        g_host.pfnVerifyPassword = nullptr;
        SetSaverRunning(FALSE);
    }
}

int RunSaverWindow(HWND hParent) {
    WNDCLASSA wc{};
    wc.style = kClassStyle;
    wc.lpfnWndProc = HostWindowProc;
    wc.hInstance = g_host.hInstance;
    wc.hIcon = ::LoadIconA(g_host.hInstance, MAKEINTRESOURCEA(kSaverIconId));
    wc.hCursor = nullptr;
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = kSaverClassName;

    int width = 0;
    int height = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    const char* title = nullptr;
    if (hParent != nullptr) {
        RECT rect{0, 0, 0, 0};
        ::GetClientRect(hParent, &rect);
        width = rect.right;
        height = rect.bottom;
        title = kPreviewTitle;
        style = kPreviewStyle;
        g_host.bPreview = true;
    } else {
        width = ::GetSystemMetrics(SM_CXSCREEN);
        height = ::GetSystemMetrics(SM_CYSCREEN);
        style = kFullScreenStyle;
        exStyle = WS_EX_TOPMOST;
        title = kFullScreenTitle;
        HWND hRunning = ::FindWindowA(kSaverClassName, kFullScreenTitle);
        if (hRunning != nullptr && ::IsWindow(hRunning)) {
            ::SetForegroundWindow(hRunning);
            return 0;
        }
        LoadPasswordLibrary();
    }

    if (::RegisterClassA(&wc) != 0) {
        g_host.hSaverWnd = ::CreateWindowExA(exStyle, kSaverClassName, title, style, 0, 0, width, height, hParent,
                                             nullptr, g_host.hInstance, nullptr);
    }
    int result = -1;  // no class or no window: nothing ran
    if (g_host.hSaverWnd != nullptr) {
        if (hParent == nullptr) {
            LayOutMonitorWindows(g_host.hSaverWnd);
            ::SetForegroundWindow(g_host.hSaverWnd);
        }
        MSG msg;
        while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        result = static_cast<int>(msg.wParam);
        // Still there only when a fault ended the loop.
        if (::IsWindow(g_host.hSaverWnd)) ::DestroyWindow(g_host.hSaverWnd);
    }
    UnloadPasswordLibrary();
    return result;
}
