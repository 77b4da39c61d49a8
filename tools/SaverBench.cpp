// Benchmark of the running saver under Wine: CPU time per paint of the real
// saver window, split into the iteration work and the pixel output through the
// device contexts; the CPU of a tick with a second monitor's window beside it;
// the CPU of a run while the display is off; GDI/USER object counts after 10
// and after 1,000 paints. Prints figures; fails only when the object counts
// grow (a handle leak).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <psapi.h>

#include "fractal/FractalSaverWnd.h"
#include "fractal/FractalStream.h"
#include "framework/ObjectCounts.h"
#include "fractal/Renderer.h"
#include "fractal/SaverObjects.h"
#include "framework/PaintDC.h"
#include "host/SaverHost.h"

namespace {

double CpuMs(const FILETIME& kernel, const FILETIME& user) {
    const auto ticks = [](const FILETIME& t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 10000.0;
}

double ThreadCpuMs() {
    FILETIME created, exited, kernel, user;
    ::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user);
    return CpuMs(kernel, user);
}

double ProcessCpuMs() {
    FILETIME created, exited, kernel, user;
    ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
    return CpuMs(kernel, user);
}

class NullCanvas : public zorv::Canvas {
public:
    void SetPixel(int, int, std::uint32_t color) override { m_sink ^= color; }
    void Present(int, int) override {}
    std::uint32_t m_sink = 0;
};

void Paint(HWND hWnd) {
    ::InvalidateRect(hWnd, nullptr, FALSE);
    ::UpdateWindow(hWnd);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// CPU per paint of `paints` paints from the same start, split into iteration
// and pixel output, in `rounds` rounds that alternate the two so that a shared
// machine's drift weighs on both alike: medians, and the range per paint.
// Returns whether the GDI and USER object counts grew.
bool Measure(HWND hWnd, int paints, int rounds, const char* label) {
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    // The same images for every measurement.
    g_random.Seed(20261206);
    g_fractalState = zorv::FractalState{};
    g_fractalState.clientRect = {0, 0, width, height};
    g_fractalState.imageShown = true;  // the paints of a running saver, 26 columns each
    const zorv::FractalState startState = g_fractalState;
    const zorv::SaverSettings startSettings = g_settings;
    const auto restart = [&] {
        g_random.Seed(20261206);
        g_fractalState = startState;
        g_settings = startSettings;
    };

    for (int i = 0; i < 10; ++i) Paint(hWnd);
    const long gdiAfter10 = GdiObjects();
    const long userAfter10 = UserObjects();
    long gdiAfterAll = 0, userAfterAll = 0;

    std::vector<double> paintMs, iterMs, outputMs;
    NullCanvas canvas;
    for (int round = 0; round < rounds; ++round) {
        restart();
        const double cpuStart = ThreadCpuMs();
        for (int i = 0; i < paints; ++i) Paint(hWnd);
        paintMs.push_back((ThreadCpuMs() - cpuStart) / paints);
        if (round == 0) {
            gdiAfterAll = GdiObjects();
            userAfterAll = UserObjects();
        }
        // The same columns once more, through a canvas that draws nothing.
        restart();
        const double iterStart = ThreadCpuMs();
        for (int i = 0; i < paints; ++i) {
            g_fractalState.clientRect = {0, 0, width, height};
            zorv::ComputeBatch(SaverRenderContext(), canvas);
        }
        iterMs.push_back((ThreadCpuMs() - iterStart) / paints);
        outputMs.push_back(paintMs.back() - iterMs.back());
    }
    g_settings = startSettings;
    const int paintsPerImage = (width + zorv::kColumnsPerPaint - 1) / zorv::kColumnsPerPaint;
    const auto figure = [](const char* name, const std::vector<double>& ms) {
        std::printf("%-22s %8.2f ms (%.2f - %.2f)\n", name, Median(ms), *std::min_element(ms.begin(), ms.end()),
                    *std::max_element(ms.begin(), ms.end()));
    };

    std::printf("screen %dx%d, %s, %d rounds of %d paints of %d columns, medians (range)\n", width, height, label,
                rounds, paints, zorv::kColumnsPerPaint);
    figure("CPU per paint:", paintMs);
    figure("  iteration:", iterMs);
    figure("  pixels and DCs:", outputMs);
    std::printf("CPU per full image:    %8.1f ms (%d paints)\n", Median(paintMs) * paintsPerImage, paintsPerImage);
    std::printf("GDI objects after 10 paints: %ld, after %d: %ld\n", gdiAfter10, paints + 10, gdiAfterAll);
    std::printf("USER objects after 10 paints: %ld, after %d: %ld\n", userAfter10, paints + 10, userAfterAll);
    (void)canvas.m_sink;
    return gdiAfterAll != gdiAfter10 || userAfterAll != userAfter10;
}

// A second monitor's window of the screen's size, over the saver window: its
// own stream, painted on the same ticks.
CFractalStream* g_pSecond = nullptr;

LRESULT CALLBACK SecondProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT || g_pSecond == nullptr) return ::DefWindowProcA(hWnd, message, wParam, lParam);
    CPaintDC dc(hWnd);
    g_pSecond->Paint(hWnd, &dc);
    return 0;
}

// CPU per tick of `ticks` ticks with the saver's window alone and with a second
// monitor's window beside it, alternating the two in `rounds` rounds.
void MeasureTwoMonitors(HWND hWnd, int ticks, int rounds) {
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    WNDCLASSA wc{};
    wc.lpfnWndProc = SecondProc;
    wc.hInstance = g_host.hInstance;
    wc.lpszClassName = "ZorvBenchSecond";
    ::RegisterClassA(&wc);
    HWND hSecond = ::CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr,
                                     nullptr, g_host.hInstance, nullptr);
    std::vector<double> one, two;
    for (int round = 0; round < rounds; ++round) {
        for (std::vector<double>* figures : {&one, &two}) {
            g_random.Seed(20261206);
            g_fractalState = zorv::FractalState{};
            CFractalStream second(width, height, g_settings, zorv::StreamSeed(20261206, 1));
            g_pSecond = figures == &two ? &second : nullptr;
            for (int i = 0; i < 20; ++i) {  // past both first pictures
                Paint(hWnd);
                Paint(hSecond);
            }
            const double start = ThreadCpuMs();
            for (int i = 0; i < ticks; ++i) {
                Paint(hWnd);
                if (g_pSecond != nullptr) Paint(hSecond);
            }
            figures->push_back((ThreadCpuMs() - start) / ticks);
            g_pSecond = nullptr;
        }
    }
    ::DestroyWindow(hSecond);
    std::printf("two monitors of %dx%d, default settings, %d rounds of %d ticks, medians (range)\n", width, height,
                rounds, ticks);
    std::printf("%-22s %8.2f ms (%.2f - %.2f)\n", "CPU per tick, one:", Median(one),
                *std::min_element(one.begin(), one.end()), *std::max_element(one.begin(), one.end()));
    std::printf("%-22s %8.2f ms (%.2f - %.2f)\n", "CPU per tick, two:", Median(two),
                *std::min_element(two.begin(), two.end()), *std::max_element(two.begin(), two.end()));
}

void CALLBACK EndLoop(HWND, UINT, UINT_PTR, DWORD) { ::PostQuitMessage(0); }

// The saver window on its own timer for `seconds`, with the display on and
// then off (as Windows reports it): the process's CPU as a share of one core.
void MeasureDisplayOff(HWND hWnd, int seconds) {
    const struct {
        GUID guid;
        DWORD length, data;
    } off{{0x6FE69556, 0x704A, 0x47A0, {0x8F, 0x24, 0xC2, 0x8D, 0x93, 0x6F, 0xDA, 0x47}}, 4, 0};
    for (const bool displayOff : {false, true}) {
        g_saverWnd.RestartTimer();
        if (displayOff) ::SendMessageA(hWnd, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(&off));
        const UINT_PTR end = ::SetTimer(nullptr, 0, static_cast<UINT>(seconds) * 1000, EndLoop);
        const double cpuStart = ProcessCpuMs();
        const DWORD wallStart = ::GetTickCount();
        MSG msg;
        while (::GetMessageA(&msg, nullptr, 0, 0) > 0) ::DispatchMessageA(&msg);
        const double share = (ProcessCpuMs() - cpuStart) / (::GetTickCount() - wallStart) * 100.0;
        ::KillTimer(nullptr, end);
        std::printf("CPU of %d s on the saver's timer, display %s: %.3f %% of a core\n", seconds,
                    displayOff ? "off" : "on", share);
    }
    ::KillTimer(hWnd, CFractalSaverWnd::kTimerId);
}

// The soak: the real full-screen saver window, its own timer driving it, with
// GDI and USER object counts and private bytes sampled every minute.
int g_soakMinutes = 0;
int g_soakMinute = 0;

SIZE_T PrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    // Wine leaves PrivateUsage at 0; its commit charge is the same figure there.
    return counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage;
}

void CALLBACK SoakSample(HWND, UINT, UINT_PTR, DWORD) {
    std::printf("minute %3d  GDI objects %4ld  USER objects %3ld  private bytes %9lu\n", g_soakMinute, GdiObjects(),
                UserObjects(), static_cast<unsigned long>(PrivateBytes()));
    std::fflush(stdout);
    if (++g_soakMinute > g_soakMinutes) ::PostMessageA(g_host.hSaverWnd, WM_CLOSE, 0, 0);
}

int Soak(int minutes) {
    g_soakMinutes = minutes;
    g_host = HostState{};
    g_host.hInstance = ::GetModuleHandleA(nullptr);
    ::SetTimer(nullptr, 0, 60000, SoakSample);
    std::printf("soak: full-screen saver at %dx%d for %d minutes\n", ::GetSystemMetrics(SM_CXSCREEN),
                ::GetSystemMetrics(SM_CYSCREEN), minutes);
    return RunSaverWindow(nullptr);
}

}  // namespace

// Usage: zorv_saver_bench [PAINTS [ROUNDS]] | soak MINUTES
int main(int argc, char** argv) {
    if (argc > 2 && std::strcmp(argv[1], "soak") == 0) return Soak(std::atoi(argv[2]));
    const int paints = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int rounds = argc > 2 && std::atoi(argv[2]) > 0 ? std::atoi(argv[2]) : 5;
    g_host = HostState{};
    g_host.hInstance = ::GetModuleHandleA(nullptr);
    g_host.bPreview = true;  // no input policy: nothing here may close the window
    WNDCLASSA wc{};
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;
    wc.lpfnWndProc = HostWindowProc;
    wc.hInstance = g_host.hInstance;
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = kSaverClassName;
    ::RegisterClassA(&wc);
    HWND hWnd = ::CreateWindowExA(WS_EX_TOPMOST, kSaverClassName, kFullScreenTitle,
                                  WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                                  ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                  g_host.hInstance, nullptr);
    if (hWnd == nullptr) {
        std::printf("cannot create the saver window\n");
        return 2;
    }
    ::KillTimer(hWnd, CFractalSaverWnd::kTimerId);  // the benchmark paints by itself
    ::UpdateWindow(hWnd);

    const bool leaked = Measure(hWnd, paints, rounds, "default settings");
    g_settings.Iters = 100;  // the sliders at their most demanding
    g_settings.Spread = 50;
    Measure(hWnd, paints, rounds, "Iters 100, Spread 50");
    g_settings = zorv::DefaultSettings();
    MeasureTwoMonitors(hWnd, paints / 5, rounds);
    MeasureDisplayOff(hWnd, 10);
    ::DestroyWindow(hWnd);
    if (leaked) std::printf("object counts grew: handle leak\n");
    return leaked ? 1 : 0;
}
