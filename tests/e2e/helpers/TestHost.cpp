// Test host for the end-to-end tests: plays the part of the system's display
// settings. "preview" starts the saver with /p inside its own window, checks the
// child fills it and ends it by destroying the window; "password" starts /a with
// its window; "boxes" lists the saver's message boxes with their owner and
// topmost flag; "dialog" what the settings dialog's controls hold.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

FILE* g_log = nullptr;

template <class... Args>
void Log(const char* format, Args... args) {
    std::fprintf(g_log, format, args...);
    std::fputc('\n', g_log);
    std::fflush(g_log);
}

LRESULT CALLBACK HostProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CONTEXTMENU) Log("parent got WM_CONTEXTMENU wParam=%lu", static_cast<unsigned long>(wParam));
    return message == WM_CONTEXTMENU ? 0 : DefWindowProcA(hWnd, message, wParam, lParam);
}

// Keeps the host's window answering while waiting, as a real host would.
void Pump(DWORD milliseconds) {
    for (const DWORD start = GetTickCount(); GetTickCount() - start < milliseconds; Sleep(10)) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
}

DWORD WaitExit(HANDLE process, DWORD timeout) {
    for (const DWORD start = GetTickCount(); WaitForSingleObject(process, 0) == WAIT_TIMEOUT; Pump(50))
        if (GetTickCount() - start > timeout) return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process, &code);
    return code;
}

BOOL CALLBACK ListBox(HWND hWnd, LPARAM) {
    char cls[32] = {}, title[64] = {}, owner[64] = {}, text[128] = {};
    GetClassNameA(hWnd, cls, sizeof cls);
    GetWindowTextA(hWnd, title, sizeof title);
    if (std::strcmp(cls, "#32770") != 0 || std::strcmp(title, "Zorv Screen Saver") != 0 || !IsWindowVisible(hWnd)) return TRUE;
    GetWindowTextA(GetWindow(hWnd, GW_OWNER), owner, sizeof owner);
    GetDlgItemTextA(hWnd, 0xFFFF, text, sizeof text);  // the message box's text
    Log("box owner=[%s] topmost=%d text=[%s]", owner, (GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, text);
    return TRUE;
}

// What the settings dialog's controls hold in the running program: its owner,
// each track bar's range, position and place on screen, and each check box.
BOOL CALLBACK ListDialog(HWND hWnd, LPARAM) {
    char cls[32] = {}, title[64] = {}, owner[64] = {};
    GetClassNameA(hWnd, cls, sizeof cls);
    GetWindowTextA(hWnd, title, sizeof title);
    if (std::strcmp(cls, "#32770") != 0 || std::strcmp(title, "ZorvSaver") != 0 || !IsWindowVisible(hWnd)) return TRUE;
    HWND hOwner = GetWindow(hWnd, GW_OWNER);
    GetClassNameA(hOwner, owner, sizeof owner);
    Log("dialog owner=[%s]", owner);  // the owner's class
    for (int id = 1002; id <= 1007; ++id) {
        HWND hBar = GetDlgItem(hWnd, id);
        RECT r{};
        GetWindowRect(hBar, &r);
        Log("bar %d %ld-%ld at %ld enabled=%d rect=%ldx%ld+%ld+%ld", id, static_cast<long>(SendMessageA(hBar, TBM_GETRANGEMIN, 0, 0)),
            static_cast<long>(SendMessageA(hBar, TBM_GETRANGEMAX, 0, 0)), static_cast<long>(SendMessageA(hBar, TBM_GETPOS, 0, 0)),
            IsWindowEnabled(hBar) != 0, r.right - r.left, r.bottom - r.top, r.left, r.top);
    }
    for (int id : {1008, 1010, 1011}) Log("check %d %u", id, IsDlgButtonChecked(hWnd, id));
    return TRUE;
}

}  // namespace

// Usage: zorv_test_host preview|password|boxes|dialog <saver> <log file> [seconds to run]
int main(int argc, char** argv) {
    if (argc < 4 || (g_log = std::fopen(argv[3], "w")) == nullptr) return 2;
    const std::string mode = argv[1];
    if (mode == "boxes") return EnumWindows(ListBox, 0) ? 0 : 1;
    if (mode == "dialog") return EnumWindows(ListDialog, 0) ? 0 : 1;

    const WNDCLASSA wc{0, HostProc, 0, 0, GetModuleHandleA(nullptr), nullptr, nullptr,
                       static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)), nullptr, "ZorvTestHost"};
    RegisterClassA(&wc);
    // A popup at the screen's corner, so that the test can find the preview on
    // screen; hidden for /a, so that the saver's parent is not the foreground window.
    HWND hHost = CreateWindowExA(0, "ZorvTestHost", "Zorv Test Host", WS_POPUP | (mode == "password" ? 0 : WS_VISIBLE), 0, 0,
                                 152, 112, nullptr, nullptr, wc.hInstance, nullptr);
    if (hHost == nullptr) return 2;
    Pump(200);
    const unsigned long handle = static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(hHost));
    Log("host %lu", handle);

    std::string commandLine = "\"" + std::string(argv[2]) + "\" " + (mode == "password" ? "/a " : "/p ") + std::to_string(handle);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        Log("cannot start the saver");
        return 2;
    }
    if (mode == "password") {
        const DWORD code = WaitExit(process.hProcess, 20000);
        Log("exit %ld", static_cast<long>(code));
        return code == 0 ? 0 : 1;
    }

    HWND hChild = nullptr;
    for (int i = 0; i < 400 && hChild == nullptr; ++i, Pump(50))
        hChild = FindWindowExA(hHost, nullptr, "WindowsScreenSaverClass", "Preview");
    if (hChild == nullptr) {
        Log("no preview child");
        TerminateProcess(process.hProcess, 3);
        return 1;
    }
    RECT host{}, child{};
    GetClientRect(hHost, &host);
    GetWindowRect(hChild, &child);
    MapWindowPoints(nullptr, hHost, reinterpret_cast<POINT*>(&child), 2);
    int failures = !EqualRect(&host, &child);
    if (failures) Log("child %ld,%ld-%ld,%ld does not fill the host", child.left, child.top, child.right, child.bottom);
    Log("ready");
    // The test draws and sends input meanwhile; the preview must stay.
    Pump(argc > 4 ? static_cast<DWORD>(std::atoi(argv[4]) * 1000) : 6000);
    if (WaitForSingleObject(process.hProcess, 0) != WAIT_TIMEOUT || !IsWindow(hChild)) {
        Log("preview ended early");
        ++failures;
    }
    // A help request in the preview goes to its parent.
    SendMessageA(hChild, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hChild), 0);
    Pump(300);

    DestroyWindow(hHost);
    const DWORD code = WaitExit(process.hProcess, 10000);
    Log("exit %ld", static_cast<long>(code));
    failures += code != 0;
    Log(failures == 0 ? "pass" : "fail");
    return failures == 0 ? 0 : 1;
}
