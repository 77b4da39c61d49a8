// Object counts: the system's own where it has one, else measured.
#include "framework/ObjectCounts.h"

#include <windows.h>

namespace {

BOOL CALLBACK CountWindow(HWND hWnd, LPARAM lParam) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    if (pid == ::GetCurrentProcessId()) ++*reinterpret_cast<long*>(lParam);
    return TRUE;
}

// EnumChildWindows already walks every generation below a window, so each window
// is counted once; and under every top-level window, as a preview window of
// ours is the child of another program's.
BOOL CALLBACK CountTopWindow(HWND hWnd, LPARAM lParam) {
    CountWindow(hWnd, lParam);
    ::EnumChildWindows(hWnd, CountWindow, lParam);
    return TRUE;
}

}  // namespace

// Wine answers 0 to GetGuiResources. Then N fresh objects fill every free slot
// and go above the highest one in use, so the highest index they get is live + N - 1.
long GdiObjects() {
    const DWORD counted = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    if (counted != 0) return static_cast<long>(counted);
    constexpr int kProbes = 4096;
    static HGDIOBJ probes[kProbes];
    long highest = 0;
    int made = 0;
    for (; made < kProbes; ++made) {
        probes[made] = ::CreateRectRgn(0, 0, 1, 1);
        if (probes[made] == nullptr) break;
        const long index = static_cast<long>(reinterpret_cast<ULONG_PTR>(probes[made]) & 0xFFFF);
        if (index > highest) highest = index;
    }
    for (int i = 0; i < made; ++i) ::DeleteObject(probes[i]);
    return highest - made + 1;
}

// Without the system's count: the process's windows.
long UserObjects() {
    const DWORD counted = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
    if (counted != 0) return static_cast<long>(counted);
    long windows = 0;
    ::EnumWindows(CountTopWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}
