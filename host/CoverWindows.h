// While the saver runs full-screen, plain black windows cover every monitor
// besides the primary one, which the fractal window fills. Input on them is
// the saver window's input.
#pragma once

#include <windows.h>

#include <vector>

#include "host/MonitorLayout.h"

using MonitorListProc = std::vector<zorv::ScreenRect> (*)();

// The rectangles of the system's monitors, in physical pixels.
std::vector<zorv::ScreenRect> SystemMonitorRects();

inline constexpr const char* kCoverClassName = "ZorvCoverWindow";

// Covers what the monitors from `g_host.pfnListMonitors` show outside `hSaverWnd`.
void ShowCoverWindows(HWND hSaverWnd);
void DestroyCoverWindows();
