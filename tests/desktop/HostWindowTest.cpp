// The host's thin Win32 layer under Wine: the password check with its guard,
// nested close requests and purged ticks, input turned into posted closes,
// the fixed title, and a preview's help requests passed to its parent.
#include <gtest/gtest.h>

#include <string>
#include <vector>

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

std::vector<MSG>& ParentMessages() {
    static std::vector<MSG> messages;
    return messages;
}

LRESULT CALLBACK ParentProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_HELP || message == WM_CONTEXTMENU) {
        MSG msg{};
        msg.hwnd = hWnd;
        msg.message = message;
        msg.wParam = wParam;
        msg.lParam = lParam;
        ParentMessages().push_back(msg);
        return 0;
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

class HostWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_previous = g_pSaverWnd;
        g_host = HostState{};
        g_host.hInstance = ::GetModuleHandleA(nullptr);
        g_check = CheckRecord{};
        // Earlier tests' destroyed savers left their quit messages behind.
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        WNDCLASSA wc{};
        wc.lpfnWndProc = HostWindowProc;
        wc.hInstance = g_host.hInstance;
        wc.lpszClassName = "ZorvHostTest";
        ::RegisterClassA(&wc);
        WNDCLASSA parent{};
        parent.lpfnWndProc = ParentProc;
        parent.hInstance = g_host.hInstance;
        parent.lpszClassName = "ZorvHostTestParent";
        ::RegisterClassA(&parent);
    }
    void TearDown() override {
        if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
        g_host = HostState{};
        g_pSaverWnd = m_previous;
    }
    HWND CreateSaver(HWND hParent = nullptr) {
        const DWORD style = hParent != nullptr ? WS_CHILD | WS_VISIBLE : WS_POPUP;
        m_hWnd = ::CreateWindowExA(0, "ZorvHostTest", "Screen Saver", style, 0, 0, 60, 40, hParent, nullptr,
                                   g_host.hInstance, nullptr);
        return m_hWnd;
    }
    static bool ClosePosted(HWND hWnd) {
        MSG msg;
        // WM_QUIT comes out whatever the filter; only a real WM_CLOSE counts.
        return ::PeekMessageA(&msg, hWnd, WM_CLOSE, WM_CLOSE, PM_REMOVE) != 0 && msg.message == WM_CLOSE;
    }
    CScreenSaverWnd* m_previous = nullptr;
    HWND m_hWnd = nullptr;
};

TEST_F(HostWindowTest, RefusedPasswordKeepsTheSaverAndGuardsTheNextCheck) {
    CTickCountingWnd wnd;
    g_host.bWin9x = true;
    g_host.pfnVerifyPassword = FakeVerify;
    HWND hWnd = CreateSaver();
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

TEST_F(HostWindowTest, AfterAnAcceptedCloseTicksAreDroppedAndInputIsIgnored) {
    CTickCountingWnd wnd;
    HWND hWnd = CreateSaver();
    ASSERT_NE(hWnd, nullptr);
    g_host.bCloseAccepted = true;
    EXPECT_EQ(::SendMessageA(hWnd, WM_TIMER, 1, 0), 0);
    EXPECT_EQ(wnd.m_nTicks, 0);
    ::SendMessageA(hWnd, WM_KEYDOWN, 'A', 0);
    EXPECT_FALSE(ClosePosted(hWnd));
}

TEST_F(HostWindowTest, NoPasswordOnWin9xAcceptsTheFirstClose) {
    CTickCountingWnd wnd;
    g_host.bWin9x = true;
    HWND hWnd = CreateSaver();
    ASSERT_NE(hWnd, nullptr);
    ::SendMessageA(hWnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(g_host.bCloseAccepted);
    EXPECT_FALSE(::IsWindow(hWnd));
}

TEST_F(HostWindowTest, InputPostsACloseRequest) {
    CTickCountingWnd wnd;
    HWND hWnd = CreateSaver();
    ASSERT_NE(hWnd, nullptr);
    for (UINT message : {WM_KEYDOWN, WM_SYSKEYDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN}) {
        ::SendMessageA(hWnd, message, 0, 0);
        EXPECT_TRUE(ClosePosted(hWnd)) << message;
    }
    ::SendMessageA(hWnd, WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_FALSE(ClosePosted(hWnd));
    ::SendMessageA(hWnd, WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_TRUE(ClosePosted(hWnd));
    // The cursor has not moved since creation: a move message alone closes nothing.
    ::SendMessageA(hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(30, 30));
    EXPECT_FALSE(ClosePosted(hWnd));
    EXPECT_EQ(::SendMessageA(hWnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hWnd), 0), 1);
    EXPECT_TRUE(::IsWindow(hWnd));
}

TEST_F(HostWindowTest, TheTitleNeverChanges) {
    CTickCountingWnd wnd;
    HWND hWnd = CreateSaver();
    ASSERT_NE(hWnd, nullptr);
    EXPECT_EQ(::SendMessageA(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Other")), 0);
    char title[32] = "";
    ::GetWindowTextA(hWnd, title, sizeof title);
    EXPECT_STREQ(title, "Screen Saver");
}

TEST_F(HostWindowTest, PreviewPassesHelpToItsParentAndIgnoresInput) {
    CTickCountingWnd wnd;
    HWND hParent = ::CreateWindowExA(0, "ZorvHostTestParent", "parent", WS_POPUP, 0, 0, 80, 60, nullptr, nullptr,
                                     g_host.hInstance, nullptr);
    ASSERT_NE(hParent, nullptr);
    g_host.bPreview = true;
    HWND hWnd = CreateSaver(hParent);
    ASSERT_NE(hWnd, nullptr);
    ParentMessages().clear();
    EXPECT_EQ(::SendMessageA(hWnd, WM_HELP, 0, 1234), 1);
    EXPECT_EQ(::SendMessageA(hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hWnd), 99), 1);
    MSG msg;
    while (::PeekMessageA(&msg, hParent, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    // WM_HELP carries a pointer, which the system refuses to post; the
    // context-menu request arrives, with the parent's own handle as wParam.
    ASSERT_EQ(ParentMessages().size(), 1u);
    EXPECT_EQ(ParentMessages()[0].message, static_cast<UINT>(WM_CONTEXTMENU));
    EXPECT_EQ(ParentMessages()[0].wParam, reinterpret_cast<WPARAM>(hParent));
    EXPECT_EQ(ParentMessages()[0].lParam, 99);

    ::SendMessageA(hWnd, WM_KEYDOWN, 'A', 0);
    ::SendMessageA(hWnd, WM_LBUTTONDOWN, 0, 0);
    ::SendMessageA(hWnd, WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_FALSE(ClosePosted(hWnd));
    // WM_CLOSE from outside ends a preview at once.
    ::SendMessageA(hWnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(hWnd));
    ::DestroyWindow(hParent);
}

}  // namespace
