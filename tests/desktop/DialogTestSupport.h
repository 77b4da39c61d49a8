// Test helpers for the settings dialog run in-process from the real template
// 2003: a script that drives it from inside its own modal loop, a snapshot of
// its controls, and the settings file in the Windows directory.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <array>
#include <filesystem>
#include <functional>
#include <string>

#include "framework/ScreenSaverDlg.h"
#include "tests/core/TempDir.h"

namespace zorv::test {

inline constexpr int kBarIds[6] = {1002, 1003, 1004, 1005, 1006, 1007};

struct DialogState {
    std::array<int, 6> pos{};
    std::array<bool, 6> enabled{};
    bool random = false;  // 1008 marked
    bool save = false;    // 1010 marked
};

inline DialogState ReadState(HWND hDlg) {
    DialogState state;
    for (int i = 0; i < 6; ++i) {
        HWND bar = GetDlgItem(hDlg, kBarIds[i]);
        state.pos[i] = static_cast<int>(SendMessageA(bar, TBM_GETPOS, 0, 0));
        state.enabled[i] = IsWindowEnabled(bar) != FALSE;
    }
    state.random = SendDlgItemMessageA(hDlg, 1008, BM_GETCHECK, 0, 0) == BST_CHECKED;
    state.save = SendDlgItemMessageA(hDlg, 1010, BM_GETCHECK, 0, 0) == BST_CHECKED;
    return state;
}

inline void Click(HWND hDlg, int id) { SendMessageA(GetDlgItem(hDlg, id), BM_CLICK, 0, 0); }

// What the dialog ended with when the script left it open too long.
inline constexpr INT_PTR kTimedOut = 0x7E57;

namespace detail {
inline std::function<void(HWND)>* g_script = nullptr;
inline DLGPROC g_proc = nullptr;
inline constexpr UINT kRunScript = WM_APP + 0x51;
inline constexpr UINT_PTR kWatchdog = 0x7E57;

// Watches the real dialog procedure without changing what it answers.
inline INT_PTR CALLBACK Observer(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kRunScript) {
        (*g_script)(hDlg);
        return TRUE;
    }
    if (message == WM_TIMER && wParam == kWatchdog) {
        EndDialog(hDlg, kTimedOut);
        return TRUE;
    }
    const INT_PTR result = g_proc(hDlg, message, wParam, lParam);
    if (message == WM_INITDIALOG) {
        SetTimer(hDlg, kWatchdog, 15000, nullptr);
        PostMessageA(hDlg, kRunScript, 0, 0);
    }
    return result;
}
}  // namespace detail

// Runs the modal dialog from the test program's own resources; `script` runs
// once the dialog is up and must end it (or post what ends it).
inline INT_PTR RunDialog(const std::function<void(HWND)>& script, DLGPROC proc = ConfigDialogProc) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    std::function<void(HWND)> copy = script;
    detail::g_script = &copy;
    detail::g_proc = proc;
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(2003), nullptr, detail::Observer, 0);
    detail::g_script = nullptr;
    return result;
}

inline std::filesystem::path SettingsFile() {
    char dir[MAX_PATH] = {};
    GetWindowsDirectoryA(dir, MAX_PATH);
    return std::filesystem::path(dir) / "zorvsave.ini";
}

// The profile API keeps a cached copy of the file; this drops it so reads and
// writes of the file's text here and through the API agree.
inline void FlushProfileCache() { WritePrivateProfileStringA(nullptr, nullptr, nullptr, "zorvsave.ini"); }

inline void SetSettingsText(const std::string& text) {
    FlushProfileCache();
    WriteFileText(SettingsFile(), text);
    FlushProfileCache();
}

inline void RemoveSettingsFile() {
    FlushProfileCache();
    std::filesystem::remove(SettingsFile());
}

inline std::string SettingsText() {
    FlushProfileCache();
    return std::filesystem::exists(SettingsFile()) ? ReadFileText(SettingsFile()) : std::string("<none>");
}

}  // namespace zorv::test
