// While the saver runs full-screen, every monitor besides the primary one gets
// a window of its own: fractals of its own, or plain black. Input on them is
// the saver window's input.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "fractal/FractalStream.h"
#include "host/MonitorLayout.h"

using MonitorListProc = std::vector<zorv::ScreenRect> (*)();

// The rectangles of the system's monitors, in physical pixels.
std::vector<zorv::ScreenRect> SystemMonitorRects();

inline constexpr const char* kMonitorClassName = "ZorvMonitorWindow";

// One window on another monitor; a plain black cover has no stream.
struct MonitorWnd {
    HWND hWnd;
    std::unique_ptr<CFractalStream> stream;
};

// Lays the windows out for the monitors of `g_host.pfnListMonitors` around
// `hSaverWnd`: at the start of a run and after every display change. Fractal
// windows are kept where they still fit (moved or resized, a resized one
// starting a new image at its new size); the rest go or come.
void LayOutMonitorWindows(HWND hSaverWnd);
// The saver window's timer tick reaches every fractal window.
void TickMonitorWindows();
void DestroyMonitorWindows();
