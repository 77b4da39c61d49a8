// Process entry: the argument text, the platform family, the mode dispatch and
// the exit code. Ends with ExitProcess so no global destructor ever runs.
#include <windows.h>

#include "host/CommandLine.h"
#include "host/RunModes.h"
#include "host/SaverHost.h"

namespace {

using PwdChangePasswordProc = DWORD(WINAPI*)(LPCSTR pszProvider, HWND hParent, DWORD dwReserved1, DWORD dwReserved2);

bool IsWin9xFamily() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;  // 148
    return ::GetVersionExA(&info) != 0 && info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

// A fault in a mode must not leave the system believing a saver still runs
// (on the 95/98 family that would keep the task-switch keys disabled).
LONG WINAPI FaultGuard(EXCEPTION_POINTERS*) {
    SetSaverRunning(FALSE);
    return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

int RunPreviewMode(const char* pszRest) {
    const std::uint32_t handle = zorv::ParseWindowHandle(pszRest);
    HWND hParent = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(handle));
    if (handle == 0 || !::IsWindow(hParent)) return -1;
    return RunSaverWindow(hParent);
}

void ChangeSaverPassword(HWND hParent) {
    HMODULE hMpr = ::LoadLibraryA("MPR.DLL");
    if (hMpr == nullptr) return;
    auto pfnChange = reinterpret_cast<PwdChangePasswordProc>(reinterpret_cast<void (*)()>(::GetProcAddress(hMpr, "PwdChangePasswordA")));
    if (pfnChange != nullptr) pfnChange("SCRSAVE", hParent, 0, 0);
    ::FreeLibrary(hMpr);
}

int RunChangePasswordMode(const char* pszRest) {
    HWND hParent = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(zorv::ParseWindowHandle(pszRest)));
    if (hParent == nullptr || !::IsWindow(hParent)) hParent = ::GetForegroundWindow();
    ChangeSaverPassword(hParent);
    return 0;
}

int RunMode(HINSTANCE hInstance, const char* pszArguments) {
    g_host.hInstance = hInstance;
    g_host.bWin9x = IsWin9xFamily();
    ::SetUnhandledExceptionFilter(FaultGuard);

    const zorv::ModeRequest request = zorv::ScanMode(pszArguments, g_host.bWin9x);
    switch (request.kind) {
        case zorv::RunModeKind::Config: return RunConfigDialog(nullptr);
        case zorv::RunModeKind::ConfigOwned: return RunConfigDialog(::GetForegroundWindow());
        case zorv::RunModeKind::FullScreen: return RunSaverWindow(nullptr);
        case zorv::RunModeKind::Preview: return RunPreviewMode(request.rest);
        case zorv::RunModeKind::ChangePassword: return RunChangePasswordMode(request.rest);
        case zorv::RunModeKind::Refused: break;
    }
    return -1;
}

void HostEntry() {
    const char* pszArguments = zorv::SkipProgramName(::GetCommandLineA());
    int result = kFaultExitCode;
    try {
        result = RunMode(::GetModuleHandleA(nullptr), pszArguments);
    } catch (...) {
        SetSaverRunning(FALSE);
    }
    ::ExitProcess(static_cast<UINT>(result));
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    HostEntry();
    return 0;  // not reached
}
