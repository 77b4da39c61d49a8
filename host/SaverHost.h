// The saver window as the system sees it: the host's record, the window class
// and its procedure, the message loop, and the system's password library.
#pragma once

#include <windows.h>

#include <vector>

#include "host/MonitorWindows.h"
#include "host/HostPolicy.h"

using VerifyPasswordProc = BOOL(WINAPI*)(HWND hWnd);
using ImmAssociateContextProc = HANDLE(WINAPI*)(HWND hWnd, HANDLE hImc);

// The decision-relevant flags come from the portable record; the handles are ours.
struct HostState : zorv::HostFlags {
    HINSTANCE hInstance = nullptr;
    HWND hSaverWnd = nullptr;
    HMODULE hPasswordLib = nullptr;
    VerifyPasswordProc pfnVerifyPassword = nullptr;
    HMODULE hImm = nullptr;
    ImmAssociateContextProc pfnImmAssociateContext = nullptr;
    HANDLE hSavedImc = nullptr;
    MonitorListProc pfnListMonitors = SystemMonitorRects;
    std::vector<MonitorWnd> monitorWnds;  // full-screen only: the other monitors' windows
};

extern HostState g_host;

inline constexpr const char* kSaverClassName = "WindowsScreenSaverClass";
inline constexpr const char* kFullScreenTitle = "Screen Saver";
inline constexpr const char* kPreviewTitle = "Preview";
inline constexpr int kSaverIconId = 100;
inline constexpr int kFaultExitCode = -1;  // an exception ended the run

// Creates the full-screen window (no parent) or the preview inside `hParent`,
// runs the message loop and returns the quit message's value.
int RunSaverWindow(HWND hParent);

LRESULT CALLBACK HostWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT DefaultSaverProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL VerifyBeforeClose(HWND hWnd);

void LoadPasswordLibrary();
void UnloadPasswordLibrary();
void SetSaverRunning(BOOL bRunning);
