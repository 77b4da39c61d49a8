// The host's thin Win32 layer under Wine: the password check with its guard,
// nested close requests and purged ticks. Input, preview and the password
// paths as the user meets them are checked end to end.
#include <gtest/gtest.h>

#include "framework/ScreenSaverWnd.h"
#include "host/SaverHost.h"

namespace {

struct CheckRecord {
    int calls = 0;
    BOOL answer = FALSE;
    bool verifyingDuringCheck = false;
    bool tickPendingDuringCheck = false;
    LRESULT nestedCloseResult = -5;
    bool nestedWindowAlive = false;
} g_check;

BOOL WINAPI FakeVerify(HWND hWnd) {
    ++g_check.calls;
    g_check.verifyingDuringCheck = g_host.bVerifying;
    MSG msg;
    g_check.tickPendingDuringCheck = ::PeekMessageA(&msg, hWnd, WM_TIMER, WM_TIMER, PM_NOREMOVE) != 0;
    if (g_check.calls == 1) {
        // A close request while the dialog is up is refused and asks nothing.
        g_check.nestedCloseResult = ::SendMessageA(hWnd, WM_CLOSE, 0, 0);
        g_check.nestedWindowAlive = ::IsWindow(hWnd) != 0;
    }
    return g_check.answer;
}

class CTickCountingWnd : public CScreenSaverWnd {
public:
    int m_nTicks = 0;
    void OnTimer(UINT_PTR) { ++m_nTicks; }
    DECLARE_MESSAGE_MAP(CTickCountingWnd)
};

BEGIN_MESSAGE_MAP(CTickCountingWnd, CScreenSaverWnd)
    ON_WM_TIMER()
END_MESSAGE_MAP()

TEST(HostWindow, RefusedPasswordKeepsTheSaverAndGuardsTheNextCheck) {
    struct Restore {  // after the window object's end, which clears the pointer
        CScreenSaverWnd* previous = g_pSaverWnd;
        ~Restore() {
            g_host = HostState{};
            g_pSaverWnd = previous;
        }
    } restore;
    CTickCountingWnd wnd;
    g_host = HostState{};
    g_host.hInstance = ::GetModuleHandleA(nullptr);
    g_host.bWin9x = true;
    g_host.pfnVerifyPassword = FakeVerify;
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {  // quit messages of earlier tests' savers
    }
    WNDCLASSA wc{};
    wc.lpfnWndProc = HostWindowProc;
    wc.hInstance = g_host.hInstance;
    wc.lpszClassName = "ZorvHostTest";
    ::RegisterClassA(&wc);
    HWND hWnd = ::CreateWindowExA(0, "ZorvHostTest", "Screen Saver", WS_POPUP, 0, 0, 60, 40, nullptr, nullptr,
                                  g_host.hInstance, nullptr);
    ASSERT_NE(hWnd, nullptr);

    ::PostMessageA(hWnd, WM_TIMER, 1, 0);
    ::PostMessageA(hWnd, WM_TIMER, 1, 0);
    EXPECT_EQ(::SendMessageA(hWnd, WM_CLOSE, 0, 0), 0);
    EXPECT_TRUE(::IsWindow(hWnd));
    EXPECT_EQ(g_check.calls, 1);
    EXPECT_TRUE(g_check.verifyingDuringCheck);
    EXPECT_FALSE(g_check.tickPendingDuringCheck) << "queued ticks must be purged before the dialog";
    EXPECT_EQ(g_check.nestedCloseResult, 0);
    EXPECT_TRUE(g_check.nestedWindowAlive);
    EXPECT_FALSE(g_host.bVerifying);
    EXPECT_FALSE(g_host.bCloseAccepted);

    // Within 200 ms of the end of the check: refused without asking.
    EXPECT_EQ(::SendMessageA(hWnd, WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(g_check.calls, 1);

    ::Sleep(250);
    EXPECT_EQ(::SendMessageA(hWnd, WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(g_check.calls, 2);
    EXPECT_TRUE(::IsWindow(hWnd));

    // Ticks still reach the object while the saver runs.
    ::SendMessageA(hWnd, WM_TIMER, 1, 0);
    EXPECT_EQ(wnd.m_nTicks, 1);

    g_check.answer = TRUE;
    ::Sleep(250);
    ::SendMessageA(hWnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(g_check.calls, 3);
    EXPECT_TRUE(g_host.bCloseAccepted);
    EXPECT_FALSE(::IsWindow(hWnd));
}

}  // namespace
