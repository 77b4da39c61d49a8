// The cover windows on the other monitors: created after the saver window,
// topmost, never activated, without a cursor; they pass input on to the saver
// window so that one policy and one password check decide, and go with it.
#include "host/CoverWindows.h"

#include "host/SaverHost.h"

namespace {

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT pRect, LPARAM lParam) {
    reinterpret_cast<std::vector<zorv::ScreenRect>*>(lParam)->push_back(
        {pRect->left, pRect->top, pRect->right, pRect->bottom});
    return TRUE;
}

LRESULT CALLBACK CoverWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_KEYDOWN: case WM_SYSKEYDOWN: case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
            // The policy reads the cursor in screen coordinates, so the message's own don't matter.
            if (g_host.hSaverWnd != nullptr) return ::SendMessageA(g_host.hSaverWnd, message, wParam, lParam);
            return 0;
        case WM_SETCURSOR:
            ::SetCursor(nullptr);
            return TRUE;
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;  // the keyboard stays with the saver window
        case WM_CLOSE:
            return 0;  // a cover goes only with the saver, also while a password is asked
        default:
            return ::DefWindowProcA(hWnd, message, wParam, lParam);
    }
}

}  // namespace

std::vector<zorv::ScreenRect> SystemMonitorRects() {
    std::vector<zorv::ScreenRect> monitors;
    ::EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

void ShowCoverWindows(HWND hSaverWnd) {
    RECT saver{0, 0, 0, 0};
    ::GetWindowRect(hSaverWnd, &saver);
    const std::vector<zorv::ScreenRect> covers =
        zorv::CoverRects(g_host.pfnListMonitors(), {saver.left, saver.top, saver.right, saver.bottom});
    if (covers.empty()) return;
    WNDCLASSA wc{};
    wc.lpfnWndProc = CoverWindowProc;
    wc.hInstance = g_host.hInstance;
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = kCoverClassName;
    ::RegisterClassA(&wc);  // fails harmlessly when a run before this one registered it
    for (const zorv::ScreenRect& r : covers) {
        HWND hCover = ::CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kCoverClassName, "", WS_POPUP, r.left, r.top,
                                        r.right - r.left, r.bottom - r.top, nullptr, nullptr, g_host.hInstance, nullptr);
        if (hCover == nullptr) continue;
        ::ShowWindow(hCover, SW_SHOWNOACTIVATE);
        ::UpdateWindow(hCover);
        g_host.coverWnds.push_back(hCover);
    }
}

void DestroyCoverWindows() {
    for (HWND hCover : g_host.coverWnds) ::DestroyWindow(hCover);
    g_host.coverWnds.clear();
}
