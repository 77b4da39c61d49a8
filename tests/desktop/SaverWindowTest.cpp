// The saver's windows under Wine and Xvfb: what the full-screen window, its
// covers on the other monitors and the preview child hand to the system, read
// back from the real windows; input on a cover going through the one password
// check; the framework letting go of its object; the close path around the
// password check and the save; no GDI object left behind by paints, captures,
// saves and loads; and the renderer's GDI canvas: the pixels SetPixelV would
// give, whatever way the pixels arrive, and nothing on the window until a
// finished image is presented.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <stdexcept>
#include <vector>

#include "framework/AppMessageBox.h"
#include "fractal/FractalSaverWnd.h"
#include "fractal/GdiCanvas.h"
#include "fractal/Renderer.h"
#include "fractal/RenderColumns.h"
#include "fractal/SaverObjects.h"
#include "host/SaverHost.h"
#include "image/Dib.h"
#include "image/OffscreenCanvas.h"
#include "tests/win32/WinTestSupport.h"

#include <versionhelpers.h>

namespace {

const std::filesystem::path kWindowsDir = std::filesystem::path(kSavedPicturePath).parent_path();

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
        std::filesystem::remove(kWindowsDir / zorv::kSettingsFile);  // also what other tests in this prefix left
        std::filesystem::remove(kSavedPicturePath);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) continue;  // quit messages of earlier windows
    }
    void TearDown() override { UnregisterClassA(kSaverClassName, g_host.hInstance); }
    // Runs the real saver window; `step` runs from a timer inside its loop and must end it.
    static int Run(HWND hParent, UINT everyMs, TIMERPROC step) {
        const UINT_PTR timer = SetTimer(nullptr, 0, everyMs, step);
        const int result = RunSaverWindow(hParent);
        KillTimer(nullptr, timer);  // else it fires in a later test's loop
        return result;
    }
};

HWND CreatePopup(const char* cls, WNDPROC proc, int width, int height) {
    const WNDCLASSA wc{0, proc, 0, 0, g_host.hInstance, nullptr, nullptr, nullptr, nullptr, cls};
    RegisterClassA(&wc);
    return CreateWindowExA(0, cls, "", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr, wc.hInstance, nullptr);
}

// Three monitors, the primary filling Xvfb's 320x240: the two others get windows
// of their own; after a display change only the right one, larger.
std::vector<zorv::ScreenRect> ThreeMonitors() { return {{-200, -100, 0, 140}, {0, 0, 320, 240}, {320, 0, 700, 300}}; }
std::vector<zorv::ScreenRect> TwoMonitors() { return {{0, 0, 320, 240}, {320, 0, 800, 360}}; }

// Topmost, visible, black and hiding the cursor: the full-screen window and its covers alike.
bool TopmostBlackCursorless(HWND hWnd) {
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    SendMessageA(hWnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return (GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST) && IsWindowVisible(hWnd) && GetCursor() == nullptr &&
           GetClassLongPtrA(hWnd, GCLP_HBRBACKGROUND) == reinterpret_cast<ULONG_PTR>(GetStockObject(BLACK_BRUSH));
}

struct {
    int ticks = 0, checks = 0, column = -1;
    HWND checked = nullptr;
    std::vector<HWND> others;
} g_run;

BOOL WINAPI RefuseTheFirstCheck(HWND hWnd) {
    g_run.checked = hWnd;
    return ++g_run.checks > 1;
}

// Inside the full-screen loop: the windows read back, each other monitor's
// drawing on the saver's ticks; a display change, and one that keeps every
// size and so erases nothing; then a click on one other
// window is refused by the password check and a key on the other, past the
// 200 ms guard, is accepted.
void CALLBACK FullScreenStep(HWND, UINT, UINT_PTR, DWORD) {
    HWND hWnd = g_host.hSaverWnd;
    const auto others = [] {
        std::vector<HWND> h;
        for (const MonitorWnd& m : g_host.monitorWnds) h.push_back(m.hWnd);
        return h;
    };
    const auto stream = [](std::size_t i) { return g_host.monitorWnds.at(i).stream.get(); };
    if (++g_run.ticks > 25) {  // stuck: end the run, the checks below then fail
        g_host.bCloseAccepted = true;
        DestroyWindow(hWnd);
    } else if (g_run.ticks == 1) {
        EXPECT_EQ(GetWindowLongA(hWnd, GWL_STYLE), static_cast<LONG>(WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
        EXPECT_EQ(GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0) << "the saver window is the one in Alt+Tab";
        EXPECT_EQ(GetClassLongA(hWnd, GCL_STYLE), static_cast<DWORD>(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC));
        EXPECT_NE(GetClassLongPtrA(hWnd, GCLP_HICON), 0u);
        EXPECT_TRUE(TopmostBlackCursorless(hWnd));
        ASSERT_EQ(others().size(), 2u);
        const RECT want[] = {{-200, -100, 0, 140}, {320, 0, 700, 300}};
        for (int i = 0; i < 2; ++i) {
            RECT r;
            GetWindowRect(others()[i], &r);
            EXPECT_TRUE(EqualRect(&r, &want[i]) && TopmostBlackCursorless(others()[i])) << "window " << i;
            EXPECT_TRUE(GetWindowLongA(others()[i], GWL_EXSTYLE) & WS_EX_TOOLWINDOW) << "window " << i << " in Alt+Tab";
            EXPECT_EQ(GetWindowLongPtrA(others()[i], GWLP_HINSTANCE), reinterpret_cast<LONG_PTR>(g_host.hInstance));
        }
        if (stream(1) != nullptr) g_run.column = stream(1)->State().column;
    } else if (g_run.ticks == 2) {
        if (stream(1) != nullptr) {
            EXPECT_FALSE(zorv::AwaitingFirstPicture(stream(1)->State())) << "no picture on the other monitor";
            EXPECT_NE(stream(1)->State().column, g_run.column) << "the saver's ticks do not reach the other monitor";
        }
        const CFractalStream* kept = stream(1);
        g_host.pfnListMonitors = TwoMonitors;
        RECT r;
        SetWindowPos(hWnd, nullptr, 0, 0, 10, 10, SWP_NOZORDER | SWP_NOACTIVATE);  // the change gives the screen back
        SendMessageA(hWnd, WM_DISPLAYCHANGE, 24, MAKELPARAM(320, 240));
        GetWindowRect(hWnd, &r);
        EXPECT_TRUE(r.right == GetSystemMetrics(SM_CXSCREEN) && r.bottom == GetSystemMetrics(SM_CYSCREEN)) << "the primary";
        ASSERT_EQ(others().size(), 1u);
        GetWindowRect(others()[0], &r);
        EXPECT_TRUE(r.left == 320 && r.top == 0 && r.right == 800 && r.bottom == 360) << "after the display change";
        EXPECT_EQ(stream(0), kept) << "the right monitor's window was not kept";
        if (kept != nullptr) {
            UpdateWindow(others()[0]);
            EXPECT_EQ(kept->State().clientRect.right, 480) << "no image at the new size";
        }
        ValidateRect(hWnd, nullptr), ValidateRect(others()[0], nullptr);
        SendMessageA(hWnd, WM_DISPLAYCHANGE, 24, MAKELPARAM(320, 240));
        EXPECT_FALSE(GetUpdateRect(hWnd, nullptr, FALSE) || GetUpdateRect(others()[0], nullptr, FALSE)) << "erased at the same size";
        g_run.others = others();
        PostMessageA(g_run.others[0], WM_LBUTTONDOWN, MK_LBUTTON, 0);
    } else if (g_run.others.size() == 1) {
        EXPECT_TRUE(g_run.ticks != 3 || g_run.checks == 1) << "the click on the other window did not reach the saver";
        PostMessageA(g_run.others[0], WM_KEYDOWN, VK_SPACE, 0);
    }
}

// A refused check that ended the saver or its other windows leaves no second check.
TEST_F(SaverWindow, FullScreenWindowAndTheOtherMonitorsAsTheSystemSeesThemUntilAPasswordIsAccepted) {
    g_run = {};
    g_host.bWin9x = true;  // the family with the password check
    g_host.pfnVerifyPassword = RefuseTheFirstCheck;
    g_host.pfnListMonitors = ThreeMonitors;
    EXPECT_EQ(Run(nullptr, 300, FullScreenStep), 0);
    for (HWND h : g_run.others) EXPECT_FALSE(IsWindow(h)) << "a window outlived the saver";
    EXPECT_EQ(g_run.checks, 2);
    EXPECT_EQ(g_run.checked, g_host.hSaverWnd) << "the check belongs to the saver window";
    EXPECT_TRUE(g_host.monitorWnds.empty());
}

// Class, title, size and the exit with the parent are read by the e2e preview
// scenario; only here is the preview's drawing seen.
HWND g_hParent = nullptr;
int g_previewLooks = 0;

void CALLBACK CheckPreviewThenEndParent(HWND, UINT, UINT_PTR, DWORD) {
    HWND hWnd = GetWindow(g_hParent, GW_CHILD);
    std::set<COLORREF> colours;
    {
        CClientDC client(hWnd);
        for (int x = 0; x < 130; x += 2)
            for (int y = 0; y < 40; y += 2) colours.insert(client.GetPixel(x, y));
    }
    if (colours.size() < 8 && ++g_previewLooks < 60) return;  // the first images may all be dropped
    EXPECT_GE(colours.size(), 8u) << "no fractal in the preview";
    EXPECT_EQ(GetWindowLongA(hWnd, GWL_STYLE), static_cast<LONG>(WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN));
    EXPECT_EQ(GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    DestroyWindow(g_hParent);
}

TEST_F(SaverWindow, PreviewChildDrawsAndLetsGoOfTheSaverObject) {
    // 130 columns are an image of 5 ticks; looked at every half second.
    g_hParent = CreatePopup("ZorvPreviewParent", DefWindowProcA, 130, 40);
    EXPECT_EQ(Run(g_hParent, 500, CheckPreviewThenEndParent), 0);
    EXPECT_EQ(g_saverWnd.m_hWnd, nullptr);
}

// Whether no DC holds the canvas.
bool CanvasFree() {
    CDC memory;
    memory.CreateCompatibleDC(nullptr);
    HGDIOBJ previous = memory.SelectObject(&g_canvas);
    if (previous != nullptr) memory.SelectObject(previous);
    return previous != nullptr;
}

// Refuses the first check, during which a second close request comes, and accepts the next.
int g_checks = 0;

BOOL WINAPI FakeVerify(HWND hWnd) {
    EXPECT_TRUE(g_host.bVerifying);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, hWnd, WM_TIMER, WM_TIMER, PM_NOREMOVE)) << "queued ticks must go before the dialog";
    EXPECT_TRUE(CanvasFree()) << "the close handler still held the canvas during the check";
    if (++g_checks == 1) {
        SendMessageA(hWnd, WM_CLOSE, 0, 0);
        EXPECT_TRUE(IsWindow(hWnd)) << "a close request during the check";
        Sleep(250);  // longer than the guard: it must count from the end of the check
    }
    return g_checks > 1;
}

TEST_F(SaverWindow, ClosePathFreesTheCanvasPurgesTicksAndGuardsTheCheck) {
    g_host.bWin9x = true;
    g_host.pfnVerifyPassword = FakeVerify;
    HWND hWnd = CreatePopup(kSaverClassName, HostWindowProc, 100, 80);
    KillTimer(hWnd, 1);  // only the ticks posted here
    PostMessageA(hWnd, WM_TIMER, 1, 0);
    PostMessageA(hWnd, WM_TIMER, 1, 0);
    SendMessageA(hWnd, WM_CLOSE, 0, 0);
    SendMessageA(hWnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(g_checks, 1) << "asked again within 200 ms of the end of the check";
    Sleep(250);
    SendMessageA(hWnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(g_checks, 2);
    EXPECT_FALSE(IsWindow(hWnd));
}

// A failed save at a close shows a box whose loop lets paints and a second
// close request in: the canvas is free then, and nothing is captured or saved again.
int g_moves = 0, g_boxes = 0;
HWND g_hClosing = nullptr;

BOOL WINAPI DeniedMove(LPCSTR, LPCSTR, DWORD) {
    ++g_moves;
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

int CloseAgainFromTheBox(const char*, UINT, UINT) {
    ++g_boxes;
    EXPECT_TRUE(CanvasFree());
    SendMessageA(g_hClosing, WM_CLOSE, 0, 0);
    return IDOK;
}

TEST_F(SaverWindow, AFailedSaveAtACloseFreesTheCanvasAndIsNotRepeated) {
    zorv::WriteFileText(kWindowsDir / zorv::kSettingsFile, "[ZorvSaver]\r\nSaveImage=1\r\n");
    SetFileMoves(DeniedMove, nullptr);
    const AppMessageBoxHook previous = SetAppMessageBoxHook(CloseAgainFromTheBox);
    g_hClosing = CreatePopup(kSaverClassName, HostWindowProc, GetSystemMetrics(SM_CXSCREEN), 80);
    SendMessageA(g_hClosing, WM_CLOSE, 0, 0);
    SetAppMessageBoxHook(previous);
    SetFileMoves(nullptr, nullptr);
    EXPECT_EQ(g_moves, 1);
    EXPECT_EQ(g_boxes, 1);
    EXPECT_FALSE(IsWindow(g_hClosing)) << "the second request closes the window";
}

// No C++ exception may unwind through the system: it ends the run with -1.
struct ThrowingSaver : CScreenSaverWnd {
    void OnDraw(CDC*) override { throw std::runtime_error("drawing failed"); }
};

TEST_F(SaverWindow, AnExceptionInAHandlerEndsTheRun) {
    ThrowingSaver saver;
    g_run.ticks = 25;  // a run the exception does not end is ended by the next step
    EXPECT_EQ(Run(nullptr, 1000, FullScreenStep), -1);  // all bits set, as for a run that could not start
    EXPECT_FALSE(IsWindow(g_host.hSaverWnd));
}

// Only the 95/98 family is told a saver runs (the password check's end-to-end
// test reads it there), and only for the session: a flag saved to the user's
// profile would outlive a crash. The end of a run frees the password library and
// forgets its check, and a close then needs none.
TEST_F(SaverWindow, TheWin9xFamilysRunningFlagAndPasswordLibrary) {
    SetSaverRunning(TRUE);
    BOOL running = FALSE;
    SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
    EXPECT_FALSE(running) << "told on NT";
    g_host.bWin9x = true;
    const char *desktop = "Control Panel\\Desktop", *saved = "WINE_ScreenSaverRunning";  // Wine's name for a saved flag
    RegDeleteKeyValueA(HKEY_CURRENT_USER, desktop, saved);  // what an earlier run may have left
    SetSaverRunning(TRUE), SetSaverRunning(FALSE);
    EXPECT_EQ(RegGetValueA(HKEY_CURRENT_USER, desktop, saved, RRF_RT_ANY, nullptr, nullptr, nullptr), ERROR_FILE_NOT_FOUND);
    g_host.hPasswordLib = LoadLibraryA("mpr.dll");  // one nothing else here loads
    g_host.pfnVerifyPassword = RefuseTheFirstCheck;
    ASSERT_NE(GetModuleHandleA("mpr.dll"), nullptr);
    UnloadPasswordLibrary();
    EXPECT_EQ(GetModuleHandleA("mpr.dll"), nullptr);
    EXPECT_EQ(g_host.pfnVerifyPassword, nullptr);
    HWND hWnd = CreatePopup(kSaverClassName, HostWindowProc, 100, 80);  // without a password a close ends it
    SendMessageA(hWnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(hWnd));
}

// A close with SaveImage saves what the window shows, and a close the password
// check refuses leaves the image being drawn as it was.
TEST_F(SaverWindow, AtACloseTheWindowsPictureIsSavedAndTheCanvasLeftAlone) {
    zorv::WriteFileText(kWindowsDir / "zorvsave.ini", "[ZorvSaver]\r\nSaveImage=1\r\n");
    g_host.bWin9x = true;
    g_run = {};
    g_host.pfnVerifyPassword = RefuseTheFirstCheck;
    const int width = GetSystemMetrics(SM_CXSCREEN);
    HWND hWnd = CreatePopup(kSaverClassName, HostWindowProc, width, 80);
    std::fill_n(g_canvas.m_pBits, width * 80, 0xFF0000u);  // red: the columns drawn so far
    {
        CClientDC client(hWnd);
        client.FillSolidRect(1, 1, width - 1, 79, RGB(0, 255, 0));  // all but the top row and the left column
    }
    SendMessageA(hWnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(std::count(g_canvas.m_pBits, g_canvas.m_pBits + width * 80, 0xFF0000u), width * 80) << "the canvas was drawn over";
    CDib saved;
    ASSERT_TRUE(saved.Load(kSavedPicturePath));
    wintest::Surface shown(2, 2);
    saved.DrawFitted(&shown.dc);
    const COLORREF green = RGB(0, 255, 0);
    EXPECT_TRUE(shown.At(1, 0) != green && shown.At(0, 1) != green && shown.At(1, 1) == green) << "the picture from its corner on";
    g_host.bCloseAccepted = true;
    DestroyWindow(hWnd);
}

// The drawing timer and the display-state registration (looked up by name) as
// the saver window hands them to the system.
decltype(&SetTimer) g_setTimer;  // the system's, kept by the routes
decltype(&GetProcAddress) g_getProcAddress;
UINT g_drawingPeriod = 0;
HANDLE g_displayStateFor = nullptr;
GUID g_registeredSetting{};  // which of the two depends on the Windows version
UINT_PTR WINAPI RecordTimer(HWND hWnd, UINT_PTR id, UINT period, TIMERPROC proc) {
    if (id == CFractalSaverWnd::kTimerId) g_drawingPeriod = period;
    return g_setTimer(hWnd, id, period, proc);
}
HANDLE WINAPI RecordRegistration(HANDLE recipient, const GUID* setting, DWORD flags) {
    g_displayStateFor = flags == DEVICE_NOTIFY_WINDOW_HANDLE ? recipient : nullptr;
    g_registeredSetting = *setting;
    return nullptr;  // not registered: nothing to unregister
}
FARPROC WINAPI FindRecorders(HMODULE module, LPCSTR name) {
    const bool power = HIWORD(name) != 0 && std::string(name) == "RegisterPowerSettingNotification";
    return power ? reinterpret_cast<FARPROC>(RecordRegistration) : g_getProcAddress(module, name);
}

// The window sets its timer to 200 ms and registers for the display's state,
// by the setting its Windows version reports it with.
// While the display is off, paints compute nothing and the timer stops; on
// again, the image goes on where it stopped. A key ends the saver either way.
void SendDisplayState(HWND hWnd, DWORD state, const GUID& setting = GUID_CONSOLE_DISPLAY_STATE) {
    const struct {
        GUID guid;
        DWORD length, data;
    } change{setting, 4, state};
    EXPECT_EQ(SendMessageA(hWnd, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(&change)), TRUE);
}

TEST_F(SaverWindow, TheTimerRunsEvery200MillisecondsButNothingIsDrawnWhileTheDisplayIsOff) {
    g_setTimer = wintest::Route(&SetTimer, RecordTimer);
    g_getProcAddress = wintest::Route(&GetProcAddress, FindRecorders);
    HWND hWnd = CreatePopup(kSaverClassName, HostWindowProc, GetSystemMetrics(SM_CXSCREEN), 80);
    wintest::Route(RecordTimer, g_setTimer);
    wintest::Route(FindRecorders, g_getProcAddress);
    EXPECT_TRUE(g_drawingPeriod == 200u && g_displayStateFor == hWnd);
    EXPECT_EQ(g_registeredSetting, IsWindows8OrGreater() ? GUID_CONSOLE_DISPLAY_STATE : GUID_MONITOR_POWER_ON);
    const auto paint = [&] {
        InvalidateRect(hWnd, nullptr, FALSE);
        UpdateWindow(hWnd);
        return g_fractalState.column;
    };
    const HBITMAP canvas = g_canvas.GetSafeHandle();  // screen-sized already: kept through every paint
    for (int i = 0; i < 100 && zorv::AwaitingFirstPicture(g_fractalState); ++i) paint();
    const int column = paint();  // an image just begun: 26 more columns stay inside it
    EXPECT_EQ(g_canvas.GetSafeHandle(), canvas);
    SendDisplayState(hWnd, 0, g_registeredSetting);
    EXPECT_FALSE(KillTimer(hWnd, CFractalSaverWnd::kTimerId)) << "the timer ticks on";
    EXPECT_EQ(paint(), column) << "columns computed while the display is off";
    SendDisplayState(hWnd, 2);  // dimmed: on
    EXPECT_TRUE(KillTimer(hWnd, CFractalSaverWnd::kTimerId)) << "the timer stays off";
    EXPECT_EQ(paint(), column + 26);
    SendDisplayState(hWnd, 0);
    SendMessageA(hWnd, WM_KEYDOWN, VK_SPACE, 0);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    EXPECT_FALSE(IsWindow(hWnd)) << "a key while the display is off";
    g_bDisplayOff = false;
}

// Until the first picture, each paint asks for the next without an erase: what
// the window shows stays. (Wider than one hurried paint's columns reach.)
TEST_F(SaverWindow, PaintsBeforeTheFirstPictureEraseNothing) {
    HWND hWnd = CreatePopup(kSaverClassName, HostWindowProc, 30000, 80);
    const HDC dc = GetDC(hWnd);  // white where the window shows nothing yet: paints until the first picture keep it
    ValidateRect(hWnd, nullptr);
    PatBlt(dc, 0, 0, 8, 8, WHITENESS);
    RenderColumns(hWnd, nullptr, nullptr);
    RedrawWindow(hWnd, nullptr, nullptr, RDW_ERASENOW);
    EXPECT_TRUE(zorv::AwaitingFirstPicture(g_fractalState) && GetPixel(dc, 4, 4) == RGB(255, 255, 255)) << "erased";
    ReleaseDC(hWnd, dc);
    DestroyWindow(hWnd);
}

// The saved picture is looked for and read while another program reads it too;
// the background is erased to black, whatever the DC held.
TEST_F(SaverWindow, TheSavedPictureIsReadWhileAnotherProgramReadsItAndTheBackgroundErasedToBlack) {
    zorv::WriteFileText(kSavedPicturePath, wintest::File(wintest::Dib({24, 4, 4})));
    HANDLE reader = CreateFileA(kSavedPicturePath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    g_host.bPreview = true;  // no input policy
    HWND hWnd = CreatePopup(kSaverClassName, HostWindowProc, GetSystemMetrics(SM_CXSCREEN), 80);
    CDib dib;
    {
        CClientDC client(hWnd);
        RenderColumns(hWnd, &dib, &client);
    }
    CloseHandle(reader);
    EXPECT_NE(dib.m_hImage, nullptr);
    wintest::Surface surface(10, 10);
    SendMessageA(hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(surface.dc.GetSafeHdc()), 0);
    EXPECT_EQ(surface.At(5, 5), RGB(0, 0, 0));
    DestroyWindow(hWnd);
}

TEST_F(SaverWindow, PaintsCapturesSavesAndLoadsLeaveNoGdiObjectBehind) {
    g_host.bPreview = true;
    HWND hWnd = CreatePopup(kSaverClassName, HostWindowProc, 100, 80);
    zorv::TempDir dir;
    zorv::WriteFileText(dir / "indexed.bmp", wintest::File(wintest::Dib({8, 30, 20})));
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
    const long before = ::GdiObjects();
    const HGDIOBJ held = CreateRectRgn(0, 0, 1, 1);
    EXPECT_EQ(::GdiObjects(), before + 1) << "the count misses a region";
    DeleteObject(held);
    for (int i = 0; i < 5; ++i) cycle();
    EXPECT_LE(::GdiObjects(), before) << "five rounds left objects behind";
    DestroyWindow(hWnd);
}

// Where the system keeps no count, the window count agrees with a walk of the
// whole window tree: every window of the process once, a grandchild too.
TEST(ObjectCounts, WindowCountTakesEachWindowOfTheProcessOnce) {
    if (GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS) != 0) GTEST_SKIP() << "the system keeps the count";
    const auto walk = [](const auto& self, HWND h) -> long {  // h, its later siblings and all their descendants
        if (h == nullptr) return 0;
        DWORD pid = 0;
        GetWindowThreadProcessId(h, &pid);
        return (pid == GetCurrentProcessId() ? 1 : 0) + self(self, GetWindow(h, GW_CHILD)) + self(self, GetWindow(h, GW_HWNDNEXT));
    };
    HWND top = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
    CreateWindowA("STATIC", "", WS_CHILD, 0, 0, 2, 2, CreateWindowA("STATIC", "", WS_CHILD, 0, 0, 5, 5, top, nullptr, nullptr, nullptr), nullptr, nullptr, nullptr);
    EXPECT_EQ(UserObjects(), walk(walk, GetWindow(GetDesktopWindow(), GW_CHILD)));
    DestroyWindow(top);
}

COLORREF ColorAt(int x, int y) { return (static_cast<unsigned>(x) * 0x9E3779B1u + static_cast<unsigned>(y) * 0x85EBCA6Bu) >> 8; }  // every bit of each channel varies on its own

TEST(GdiCanvas, GivesTheSamePixelsAsSetPixelVAndPresentsOnlyItsRectangle) {
    constexpr int kW = 40, kH = 30;
    OffscreenCanvas viaCanvas(kW, kH), viaSetPixel(kW, kH);
    wintest::Surface window(kW, kH);
    CGdiCanvas canvas(viaCanvas, &window.dc);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    HGDIOBJ previous = dc.SelectObject(&viaSetPixel);
    // Whole columns running past both ends, lone pixels, and pixels off the canvas at either side.
    std::uint32_t colors[kH + 8];
    for (int x = 0; x < 20; ++x) {
        for (int i = 0; i < kH + 8; ++i) dc.SetPixelV(x, i - 4, colors[i] = ColorAt(x, i - 4));
        canvas.SetColumn(x, -4, colors, kH + 8);
    }
    for (const POINT p : {POINT{33, 7}, POINT{25, 29}, POINT{-1, 3}, POINT{kW, 0}}) {
        dc.SetPixelV(p.x, p.y, ColorAt(p.x, p.y));
        canvas.SetPixel(p.x, p.y, ColorAt(p.x, p.y));
    }
    dc.SelectObject(previous);
    GdiFlush();  // before reading the bits GDI wrote
    canvas.Present(kW - 1, 15);
    int differences = 0;  // on the canvas, and on the window inside the presented rectangle and outside it
    for (int x = 0; x < kW; ++x)
        for (int y = 0; y < kH; ++y) {
            const std::uint32_t want = viaSetPixel.m_pBits[y * kW + x];
            const COLORREF shown = x < kW - 1 && y < 15 ? RGB(want >> 16, want >> 8 & 0xFF, want & 0xFF) : wintest::Surface::kSentinel;
            differences += (viaCanvas.m_pBits[y * kW + x] != want) + (window.At(x, y) != shown);
        }
    EXPECT_EQ(differences, 0);
}

}  // namespace
