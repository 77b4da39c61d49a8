// The saver's windows under Wine and Xvfb: what the full-screen window and the
// preview child hand to the system, read back from the real windows; the
// framework attaching its object; the close path around the password check;
// and no GDI object left behind by paints, captures, saves and loads.
#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

#include "fractal/FractalSaverWnd.h"
#include "fractal/RenderColumns.h"
#include "fractal/SaverObjects.h"
#include "host/SaverHost.h"
#include "image/Dib.h"
#include "image/OffscreenCanvas.h"
#include "tests/core/TempDir.h"
#include "tests/win32/WinTestSupport.h"

namespace {

// Resets the host and puts the program's saver object back after each test.
class SaverWindow : public ::testing::Test {
protected:
    void SetUp() override {
        g_host = HostState{};
        g_host.hInstance = GetModuleHandleA(nullptr);
        g_pSaverWnd = &g_saverWnd;
        g_settings = zorv::DefaultSettings();
        g_fractalState = zorv::FractalState{};  // a new image from the first paint
        ResetRenderRun();
        char dir[MAX_PATH] = {};
        GetWindowsDirectoryA(dir, MAX_PATH);
        std::filesystem::remove(std::filesystem::path(dir) / "zorvsave.ini");
        std::filesystem::remove(std::filesystem::path(dir) / "ZORV.BMP");
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {  // quit messages of earlier windows
        }
    }
    void TearDown() override {
        UnregisterClassA(kSaverClassName, g_host.hInstance);
        g_host = HostState{};
        g_pSaverWnd = &g_saverWnd;
    }
    // Runs the real saver window; `sample` runs from a timer inside its loop and must end it.
    static int Run(HWND hParent, UINT afterMs, TIMERPROC sample) {
        SetTimer(nullptr, 0, afterMs, sample);
        return RunSaverWindow(hParent);
    }
};

struct Seen {
    std::string cls, title;
    LONG style = 0, exStyle = 0, classStyle = 0;
    RECT rect{};
    bool blackBrush = false, icon = false, cursorHidden = false, drawTimer = false;
    int colours = 0;
} g_seen;

void Read(HWND hWnd, bool countColours) {
    char text[64] = {};
    GetClassNameA(hWnd, text, sizeof text);
    g_seen.cls = text;
    SetWindowTextA(hWnd, "renamed");  // the saver keeps its title
    GetWindowTextA(hWnd, text, sizeof text);
    g_seen.title = text;
    g_seen.style = GetWindowLongA(hWnd, GWL_STYLE);
    g_seen.exStyle = GetWindowLongA(hWnd, GWL_EXSTYLE);
    g_seen.classStyle = static_cast<LONG>(GetClassLongA(hWnd, GCL_STYLE));
    g_seen.blackBrush = GetClassLongA(hWnd, GCL_HBRBACKGROUND) == reinterpret_cast<LONG_PTR>(GetStockObject(BLACK_BRUSH));
    g_seen.icon = GetClassLongA(hWnd, GCL_HICON) != 0;
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    SendMessageA(hWnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    g_seen.cursorHidden = GetCursor() == nullptr;
    g_seen.drawTimer = KillTimer(hWnd, 1) != FALSE;
    GetWindowRect(hWnd, &g_seen.rect);
    if (!countColours) return;
    std::set<COLORREF> colours;
    HDC hdc = GetDC(hWnd);
    for (int x = 0; x < g_seen.rect.right - g_seen.rect.left; x += 2)
        for (int y = 0; y < g_seen.rect.bottom - g_seen.rect.top; y += 2) colours.insert(GetPixel(hdc, x, y));
    ReleaseDC(hWnd, hdc);
    g_seen.colours = static_cast<int>(colours.size());
}

void CALLBACK ReadFullScreenThenClose(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    Read(g_host.hSaverWnd, false);
    SendMessageA(g_host.hSaverWnd, WM_CLOSE, 0, 0);
}

TEST_F(SaverWindow, FullScreenWindowAsTheSystemSeesIt) {
    g_seen = Seen{};
    EXPECT_EQ(Run(nullptr, 1000, ReadFullScreenThenClose), 0);
    EXPECT_EQ(g_seen.cls, "WindowsScreenSaverClass");
    EXPECT_EQ(g_seen.title, "Screen Saver");
    EXPECT_EQ(g_seen.style, static_cast<LONG>(WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
    EXPECT_EQ(g_seen.exStyle & WS_EX_TOPMOST, WS_EX_TOPMOST);
    EXPECT_EQ(g_seen.classStyle, CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC);
    EXPECT_TRUE(g_seen.blackBrush && g_seen.icon && g_seen.cursorHidden && g_seen.drawTimer);
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    EXPECT_TRUE(EqualRect(&g_seen.rect, &screen));
    EXPECT_FALSE(IsWindow(g_host.hSaverWnd));
}

HWND g_hParent = nullptr;

void CALLBACK ReadPreviewThenEndParent(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (HWND hChild = GetWindow(g_hParent, GW_CHILD); hChild != nullptr) Read(hChild, true);
    DestroyWindow(g_hParent);
}

TEST_F(SaverWindow, PreviewChildFillsItsParentDrawsAndEndsWithIt) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = g_host.hInstance;
    wc.lpszClassName = "ZorvPreviewParent";
    RegisterClassA(&wc);
    g_hParent = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 130, 40, nullptr, nullptr, wc.hInstance, nullptr);
    g_seen = Seen{};
    // 130 columns are an image of 5 ticks: several images in 3 s.
    EXPECT_EQ(Run(g_hParent, 3000, ReadPreviewThenEndParent), 0);
    EXPECT_EQ(g_seen.cls, "WindowsScreenSaverClass");
    EXPECT_EQ(g_seen.title, "Preview");
    EXPECT_EQ(g_seen.style, static_cast<LONG>(WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN));
    EXPECT_EQ(g_seen.exStyle & WS_EX_TOPMOST, 0);
    const RECT parent{0, 0, 130, 40};
    EXPECT_TRUE(EqualRect(&g_seen.rect, &parent));
    EXPECT_GE(g_seen.colours, 8) << "no fractal in the preview";
    EXPECT_EQ(g_saverWnd.m_hWnd, nullptr);
}

HWND CreateHostWindow(int width = 100) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = HostWindowProc;
    wc.hInstance = g_host.hInstance;
    wc.lpszClassName = kSaverClassName;
    RegisterClassA(&wc);
    return CreateWindowExA(0, kSaverClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, width, 80, nullptr, nullptr, wc.hInstance, nullptr);
}

bool CanvasFree() {
    HDC hdc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(hdc, g_canvas.GetSafeHandle());
    if (previous != nullptr) SelectObject(hdc, previous);
    DeleteDC(hdc);
    return previous != nullptr;
}

struct {
    int calls = 0;
    BOOL answer = FALSE;
    bool verifying = false, tickPending = true, canvasFree = false, aliveAfterNestedClose = false;
    LRESULT nestedClose = -1;
} g_check;

BOOL WINAPI FakeVerify(HWND hWnd) {
    ++g_check.calls;
    g_check.verifying = g_host.bVerifying;
    MSG msg;
    g_check.tickPending = PeekMessageA(&msg, hWnd, WM_TIMER, WM_TIMER, PM_NOREMOVE) != 0;
    g_check.canvasFree = CanvasFree();
    if (g_check.calls == 1) {
        g_check.nestedClose = SendMessageA(hWnd, WM_CLOSE, 0, 0);
        g_check.aliveAfterNestedClose = IsWindow(hWnd) != FALSE;
        Sleep(250);  // longer than the guard: it must count from the end of the check
    }
    return g_check.answer;
}

TEST_F(SaverWindow, ClosePathFreesTheCanvasPurgesTicksAndGuardsTheCheck) {
    g_host.bWin9x = true;
    g_host.pfnVerifyPassword = FakeVerify;
    HWND hWnd = CreateHostWindow();
    KillTimer(hWnd, 1);  // only the ticks posted here
    PostMessageA(hWnd, WM_TIMER, 1, 0);
    PostMessageA(hWnd, WM_TIMER, 1, 0);
    EXPECT_EQ(SendMessageA(hWnd, WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(g_check.calls, 1);
    EXPECT_TRUE(g_check.verifying);
    EXPECT_FALSE(g_check.tickPending) << "queued ticks must go before the dialog";
    EXPECT_TRUE(g_check.canvasFree) << "the close handler still held the canvas during the check";
    EXPECT_EQ(g_check.nestedClose, 0);
    EXPECT_TRUE(g_check.aliveAfterNestedClose);
    SendMessageA(hWnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(g_check.calls, 1) << "asked again within 200 ms of the end of the check";
    EXPECT_TRUE(IsWindow(hWnd));

    Sleep(250);
    g_check.answer = TRUE;
    SendMessageA(hWnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(g_check.calls, 2);
    EXPECT_TRUE(g_host.bCloseAccepted);
    EXPECT_FALSE(IsWindow(hWnd));
}

// A failed save at a close shows a box whose loop lets paints and a second
// close request in: the canvas is free then, and nothing is captured or saved again.
struct {
    int moves = 0, boxes = 0;
    bool canvasFree = false;
    HWND hWnd = nullptr;
} g_save;

BOOL WINAPI DeniedMove(LPCSTR, LPCSTR, DWORD) {
    ++g_save.moves;
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

int CloseAgainFromTheBox(const char*, UINT, UINT) {
    ++g_save.boxes;
    g_save.canvasFree = CanvasFree();
    SendMessageA(g_save.hWnd, WM_CLOSE, 0, 0);
    return IDOK;
}

TEST_F(SaverWindow, AFailedSaveAtACloseFreesTheCanvasAndIsNotRepeated) {
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::filesystem::path dir(windows);
    zorv::WriteFileText(dir / "zorvsave.ini", "[ZorvSaver]\r\nSaveImage=1\r\n");
    SetFileMoves(DeniedMove, nullptr);
    const AppMessageBoxHook previous = SetAppMessageBoxHook(CloseAgainFromTheBox);
    g_save.hWnd = CreateHostWindow(GetSystemMetrics(SM_CXSCREEN));
    SendMessageA(g_save.hWnd, WM_CLOSE, 0, 0);
    SetAppMessageBoxHook(previous);
    SetFileMoves(nullptr, nullptr);
    EXPECT_EQ(g_save.moves, 1);
    EXPECT_EQ(g_save.boxes, 1);
    EXPECT_TRUE(g_save.canvasFree);
    EXPECT_FALSE(IsWindow(g_save.hWnd)) << "the second request closes the window";
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
    EXPECT_FALSE(std::filesystem::exists(dir / "ZORV.BMP"));
    std::filesystem::remove(dir / "zorvsave.ini");
}

// No C++ exception may unwind through the system: it ends the run with -1.
struct ThrowingSaver : CScreenSaverWnd {
    void OnDraw(CDC*) override { throw std::runtime_error("drawing failed"); }
};

void CALLBACK CloseIfStillRunning(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (IsWindow(g_host.hSaverWnd)) PostMessageA(g_host.hSaverWnd, WM_CLOSE, 0, 0);
}

TEST_F(SaverWindow, AnExceptionInAHandlerEndsTheRun) {
    ThrowingSaver saver;
    EXPECT_EQ(Run(nullptr, 3000, CloseIfStillRunning), kFaultExitCode);
    EXPECT_FALSE(IsWindow(g_host.hSaverWnd));
}

TEST_F(SaverWindow, PaintsCapturesSavesAndLoadsLeaveNoGdiObjectBehind) {
    g_host.bPreview = true;
    HWND hWnd = CreateHostWindow();
    zorv::TempDir dir;
    wintest::WriteBytes(dir / "indexed.bmp", wintest::File(wintest::Dib({8, 30, 20})));
    const auto cycle = [&] {
        CClientDC client(hWnd);
        for (int i = 0; i < 8; ++i) RenderColumns(hWnd, nullptr, &client);
        CDib dib;
        ASSERT_TRUE(dib.Load((dir / "indexed.bmp").string().c_str()));
        dib.DrawFitted(&client);
        ASSERT_TRUE(dib.Capture(&client, 0, 0, 50, 40));
        ASSERT_TRUE(dib.Save((dir / "captured.bmp").string().c_str()));
        ASSERT_TRUE(dib.Load((dir / "captured.bmp").string().c_str()));
        SendMessageA(hWnd, WM_PAINT, 0, 0);
    };
    cycle();
    const long before = wintest::GdiObjects();
    for (int i = 0; i < 5; ++i) cycle();
    EXPECT_LE(wintest::GdiObjects(), before) << "five rounds left objects behind";
    DestroyWindow(hWnd);
}

}  // namespace
