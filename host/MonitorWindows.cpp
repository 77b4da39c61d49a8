// The windows on the other monitors: created after the saver window, topmost,
// kept out of the taskbar and Alt+Tab, never activated, without a cursor; they
// pass input on to the saver window so that one policy and one password check
// decide, and they go with it.
#include "host/MonitorWindows.h"

#include "fractal/FractalSaverWnd.h"
#include "fractal/FractalStream.h"
#include "fractal/SaverObjects.h"
#include "framework/PaintDC.h"
#include "host/SaverHost.h"

namespace {

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT pRect, LPARAM lParam) {
    reinterpret_cast<std::vector<zorv::ScreenRect>*>(lParam)->push_back(
        {pRect->left, pRect->top, pRect->right, pRect->bottom});
    return TRUE;
}

CFractalStream* StreamOf(HWND hWnd) {
    for (MonitorWnd& m : g_host.monitorWnds)
        if (m.hWnd == hWnd) return m.stream.get();
    return nullptr;
}

LRESULT CALLBACK MonitorWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
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
            return 0;  // goes only with the saver, also while a password is asked
        case WM_PAINT:
            // After an accepted close nothing is drawn, as on the saver window.
            if (CFractalStream* stream = StreamOf(hWnd); stream != nullptr && !g_host.bCloseAccepted) {
                CPaintDC dc(hWnd);
                stream->Paint(hWnd, &dc);
                return 0;
            }
            break;
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

HWND CreateMonitorWindow(const zorv::ScreenRect& r) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = MonitorWindowProc;
    wc.hInstance = g_host.hInstance;
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = kMonitorClassName;
    ::RegisterClassA(&wc);  // fails harmlessly when registered before
    return ::CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kMonitorClassName, "", WS_POPUP, r.left, r.top,
                             r.right - r.left, r.bottom - r.top, nullptr, nullptr, g_host.hInstance, nullptr);
}

}  // namespace

std::vector<zorv::ScreenRect> SystemMonitorRects() {
    std::vector<zorv::ScreenRect> monitors;
    ::EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

void LayOutMonitorWindows(HWND hSaverWnd) {
    RECT saver{0, 0, 0, 0};
    ::GetWindowRect(hSaverWnd, &saver);
    const std::vector<zorv::MonitorWindow> layout = zorv::MonitorWindows(
        g_host.pfnListMonitors(), {saver.left, saver.top, saver.right, saver.bottom}, g_settings.AllMonitors == 1);

    // Covers hold nothing: they go and come. Fractal windows keep their streams in order.
    std::vector<MonitorWnd> kept;
    for (MonitorWnd& m : g_host.monitorWnds) {
        if (m.stream != nullptr) {
            kept.push_back(std::move(m));
        } else {
            ::DestroyWindow(m.hWnd);
        }
    }
    g_host.monitorWnds.clear();
    // A monitor that keeps its corner is the same monitor, perhaps resized: its
    // window goes on there. The other kept windows take the rest in order.
    const auto reuse = [&](const zorv::ScreenRect& r) -> MonitorWnd* {
        MonitorWnd* first = nullptr;
        for (MonitorWnd& m : kept) {
            if (m.hWnd == nullptr) continue;
            RECT now{0, 0, 0, 0};
            ::GetWindowRect(m.hWnd, &now);
            if (now.left == r.left && now.top == r.top) return &m;
            if (first == nullptr) first = &m;
        }
        return first;
    };
    for (const zorv::MonitorWindow& w : layout) {
        const zorv::ScreenRect& r = w.rect;
        const int width = r.right - r.left;
        const int height = r.bottom - r.top;
        if (MonitorWnd* m = w.fractal ? reuse(r) : nullptr; m != nullptr) {
            RECT now{0, 0, 0, 0};
            ::GetWindowRect(m->hWnd, &now);
            ::SetWindowPos(m->hWnd, HWND_TOPMOST, r.left, r.top, width, height, SWP_NOACTIVATE);
            // A new size shows black until its first image: nothing of the old one stays.
            if (now.right - now.left != width || now.bottom - now.top != height) ::InvalidateRect(m->hWnd, nullptr, TRUE);
            g_host.monitorWnds.push_back(std::move(*m));
            m->hWnd = nullptr;
            continue;
        }
        HWND hWnd = CreateMonitorWindow(r);
        if (hWnd == nullptr) continue;
        std::unique_ptr<CFractalStream> stream;
        if (w.fractal) stream = std::make_unique<CFractalStream>(width, height, g_settings, g_saverWnd.NextStreamSeed());
        g_host.monitorWnds.push_back({hWnd, std::move(stream)});
        ::ShowWindow(hWnd, SW_SHOWNOACTIVATE);
        ::UpdateWindow(hWnd);
    }
    for (const MonitorWnd& m : kept)
        if (m.hWnd != nullptr) ::DestroyWindow(m.hWnd);
}

void TickMonitorWindows() {
    for (const MonitorWnd& m : g_host.monitorWnds)
        if (m.stream != nullptr) ::InvalidateRect(m.hWnd, nullptr, FALSE);
}

void DestroyMonitorWindows() {
    for (const MonitorWnd& m : g_host.monitorWnds) ::DestroyWindow(m.hWnd);
    g_host.monitorWnds.clear();
}
