// The cover windows of a full-screen run, in-process with an injected list of
// three monitors: topmost, black, cursorless windows on the two others; input
// on them goes through the saver's one policy and password check; they go
// with the saver.
#include <gtest/gtest.h>

#include <vector>

#include "framework/ScreenSaverWnd.h"
#include "host/SaverHost.h"

namespace {

struct Run {
    int ticks = 0;
    std::vector<HWND> covers;
    std::vector<RECT> rects;
    int checks = 0;
    HWND checked = nullptr;
    BOOL answer = FALSE;
    bool plain = true;  // topmost, visible, black, hiding the cursor
    bool allAliveAfterRefusal = false;
} g_run;

std::vector<zorv::ScreenRect> ThreeMonitors() {
    return {{-200, -100, 0, 140}, {0, 0, 320, 240}, {320, 0, 700, 300}};  // the primary fills Xvfb's 320x240
}

BOOL WINAPI CountingCheck(HWND hWnd) {
    ++g_run.checks;
    g_run.checked = hWnd;
    return g_run.answer;
}

// Runs inside the saver's message loop: a click on one cover is refused by the
// password check, then keys on the other until one passes the 200 ms guard and
// is accepted.
void CALLBACK Step(HWND, UINT, UINT_PTR, DWORD) {
    if (++g_run.ticks > 25) {  // stuck: end the run, the checks below then fail
        g_host.bCloseAccepted = true;
        ::DestroyWindow(g_host.hSaverWnd);
    } else if (g_run.covers.empty()) {
        g_run.covers = g_host.coverWnds;
        for (HWND hCover : g_run.covers) {
            RECT r;
            ::GetWindowRect(hCover, &r);
            g_run.rects.push_back(r);
            ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
            ::SendMessageA(hCover, WM_SETCURSOR, reinterpret_cast<WPARAM>(hCover), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            g_run.plain = g_run.plain && (::GetWindowLongA(hCover, GWL_EXSTYLE) & WS_EX_TOPMOST) &&
                          ::IsWindowVisible(hCover) && ::GetCursor() == nullptr &&
                          ::GetClassLongA(hCover, GCL_HBRBACKGROUND) == DWORD(UINT_PTR(::GetStockObject(BLACK_BRUSH)));
        }
        if (g_run.covers.size() == 2) ::PostMessageA(g_run.covers[0], WM_LBUTTONDOWN, MK_LBUTTON, 0);
    } else if (g_run.covers.size() == 2) {
        if (!g_run.answer) {
            g_run.allAliveAfterRefusal = g_run.checks == 1 && ::IsWindow(g_host.hSaverWnd) &&
                                         ::IsWindow(g_run.covers[0]) && ::IsWindow(g_run.covers[1]);
        }
        g_run.answer = TRUE;
        ::PostMessageA(g_run.covers[1], WM_KEYDOWN, VK_SPACE, 0);
    }
}

TEST(CoverWindows, OtherMonitorsAreCoveredUntilTheSaverEnds) {
    struct Restore {
        CScreenSaverWnd* previous = g_pSaverWnd;
        ~Restore() {
            g_host = HostState{};
            g_pSaverWnd = previous;
        }
    } restore;
    CScreenSaverWnd wnd;
    g_host = HostState{};
    g_host.hInstance = ::GetModuleHandleA(nullptr);
    g_host.bWin9x = true;  // the family with the password check
    g_host.pfnVerifyPassword = CountingCheck;
    g_host.pfnListMonitors = ThreeMonitors;
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {  // of earlier tests' savers
    }
    ::UnregisterClassA(kSaverClassName, g_host.hInstance);  // registered by an earlier run in this process
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 300, Step);
    EXPECT_EQ(RunSaverWindow(nullptr), 0);
    ::KillTimer(nullptr, timer);
    ASSERT_EQ(g_run.rects.size(), 2u);
    const RECT want[] = {{-200, -100, 0, 140}, {320, 0, 700, 300}};
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(::EqualRect(&g_run.rects[i], &want[i])) << "cover " << i;
        EXPECT_FALSE(::IsWindow(g_run.covers[i])) << "cover " << i << " outlived the saver";
    }
    EXPECT_TRUE(g_run.plain);
    EXPECT_TRUE(g_run.allAliveAfterRefusal) << "a refused password must keep the saver and its covers";
    EXPECT_EQ(g_run.checks, 2);
    EXPECT_EQ(g_run.checked, g_host.hSaverWnd) << "the check belongs to the saver window";
    EXPECT_TRUE(g_host.coverWnds.empty());
}

}  // namespace
