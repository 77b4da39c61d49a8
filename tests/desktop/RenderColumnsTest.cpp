// The renderer on real device contexts under Wine: the canvas gives the pixels
// SetPixelV would, finished images reach the window in one copy and nothing
// else does, and a preview inside a parent window draws.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>

#include "fractal/FractalSaverWnd.h"
#include "fractal/GdiCanvas.h"
#include "fractal/RenderColumns.h"
#include "fractal/Renderer.h"
#include "fractal/SaverObjects.h"
#include "host/SaverHost.h"

namespace {

// A screen-compatible bitmap selected into a memory DC for one test.
class ScratchBitmap {
public:
    ScratchBitmap(int width, int height) : m_width(width), m_height(height) {
        HDC hScreen = ::GetDC(nullptr);
        m_dc.CreateCompatibleDC(nullptr);
        m_hBitmap = ::CreateCompatibleBitmap(hScreen, width, height);
        ::ReleaseDC(nullptr, hScreen);
        m_hOld = m_dc.SelectObject(m_hBitmap);
        m_dc.PatBlt(0, 0, width, height, WHITENESS);
    }
    ~ScratchBitmap() {
        m_dc.SelectObject(m_hOld);
        ::DeleteObject(m_hBitmap);
    }
    CDC& DC() { return m_dc; }
    COLORREF Pixel(int x, int y) { return ::GetPixel(m_dc.GetSafeHdc(), x, y); }

private:
    int m_width;
    int m_height;
    CDC m_dc;
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hOld = nullptr;
};

std::uint32_t ColorAt(int x, int y) {
    return static_cast<std::uint32_t>(RGB((x * 37 + y * 11) & 0xFF, (x * 5 + y * 97) & 0xFF, (x * y * 13 + 7) & 0xFF));
}

TEST(GdiCanvas, GivesTheSamePixelsAsSetPixelV) {
    constexpr int kWidth = 40;
    constexpr int kHeight = 30;
    ScratchBitmap viaCanvas(kWidth, kHeight);
    ScratchBitmap viaSetPixel(kWidth, kHeight);
    // Whole columns, a column with a gap, one lone pixel, and a column set
    // bottom-up: every way the run buffer can be broken.
    const auto draw = [](auto&& set) {
        for (int x = 0; x < 20; ++x)
            for (int y = 0; y < kHeight; ++y) set(x, y);
        for (int y = 0; y < kHeight; ++y)
            if (y != 12) set(25, y);
        set(33, 7);
        for (int y = kHeight - 1; y >= 0; --y) set(36, y);
    };
    {
        CGdiCanvas canvas(viaCanvas.DC(), nullptr);
        draw([&](int x, int y) { canvas.SetPixel(x, y, ColorAt(x, y)); });
    }
    draw([&](int x, int y) { viaSetPixel.DC().SetPixelV(x, y, ColorAt(x, y)); });

    int differences = 0;
    for (int x = 0; x < kWidth; ++x) {
        for (int y = 0; y < kHeight; ++y) differences += viaCanvas.Pixel(x, y) != viaSetPixel.Pixel(x, y);
    }
    EXPECT_EQ(differences, 0);
    EXPECT_EQ(viaCanvas.Pixel(25, 12), RGB(255, 255, 255));  // the gap stays untouched
    EXPECT_EQ(viaCanvas.Pixel(3, 4), ColorAt(3, 4));
}

TEST(GdiCanvas, PresentCopiesTheCanvasRectangleOntoTheTarget) {
    ScratchBitmap source(30, 20);
    ScratchBitmap target(30, 20);
    target.DC().PatBlt(0, 0, 30, 20, BLACKNESS);
    CGdiCanvas canvas(source.DC(), &target.DC());
    for (int y = 0; y < 20; ++y) canvas.SetPixel(5, y, RGB(10, 200, 30));
    // Present sees the pixels set so far, even those still gathered in a run.
    canvas.Present(20, 10);
    EXPECT_EQ(target.Pixel(5, 0), RGB(10, 200, 30));
    EXPECT_EQ(target.Pixel(5, 9), RGB(10, 200, 30));
    EXPECT_EQ(target.Pixel(5, 10), RGB(0, 0, 0)) << "below the presented height";
    EXPECT_EQ(target.Pixel(19, 3), RGB(255, 255, 255)) << "canvas white within the rectangle";
    EXPECT_EQ(target.Pixel(20, 3), RGB(0, 0, 0)) << "right of the presented width";
}

// What the preview showed, sampled from a thread timer inside the saver's loop.
struct PreviewSample {
    HWND hParent = nullptr;
    RECT child{};
    int colours = 0;
} g_preview;

void CALLBACK SamplePreviewThenEnd(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    HWND hChild = ::FindWindowExA(g_preview.hParent, nullptr, "WindowsScreenSaverClass", "Preview");
    if (hChild != nullptr) {
        ::GetClientRect(hChild, &g_preview.child);
        std::set<COLORREF> colours;
        HDC hdc = ::GetDC(hChild);
        for (int x = 0; x < g_preview.child.right; x += 2) {
            for (int y = 0; y < g_preview.child.bottom; y += 2) colours.insert(::GetPixel(hdc, x, y));
        }
        ::ReleaseDC(hChild, hdc);
        g_preview.colours = static_cast<int>(colours.size());
    }
    ::DestroyWindow(g_preview.hParent);
}

class RenderColumnsTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_host = HostState{};
        g_host.bPreview = true;  // plain window: no input policy
        g_pSaverWnd = nullptr;   // the test window gets no saver object
        // Savers destroyed by earlier tests posted quit messages; the loop under
        // test must not see them.
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        WNDCLASSA wc{};
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "ZorvRenderTest";
        ::RegisterClassA(&wc);
        m_hWnd = ::CreateWindowExA(0, "ZorvRenderTest", "r", WS_POPUP | WS_VISIBLE, 0, 0, 130, 40, nullptr, nullptr,
                                   wc.hInstance, nullptr);
        g_fractalState = zorv::FractalState{};
        g_settings = zorv::DefaultSettings();
        ResetRenderRun();
    }
    void TearDown() override {
        ::DestroyWindow(m_hWnd);
        g_pSaverWnd = &g_saverWnd;
        g_host = HostState{};
    }
    int WindowColours() {
        std::set<COLORREF> colours;
        HDC hdc = ::GetDC(m_hWnd);
        for (int x = 0; x < 130; x += 3) {
            for (int y = 0; y < 40; y += 3) colours.insert(::GetPixel(hdc, x, y));
        }
        ::ReleaseDC(m_hWnd, hdc);
        return static_cast<int>(colours.size());
    }
    HWND m_hWnd = nullptr;
};

TEST_F(RenderColumnsTest, ColumnsGoToTheCanvasAndOnlyFinishedImagesToTheWindow) {
    ASSERT_NE(m_hWnd, nullptr);
    HDC hdc = ::GetDC(m_hWnd);
    ::PatBlt(hdc, 0, 0, 130, 40, BLACKNESS);
    CDC target(hdc);

    g_random.Seed(12345);
    RenderColumns(m_hWnd, nullptr, &target);
    EXPECT_EQ(g_fractalState.column, zorv::kColumnsPerPaint);
    EXPECT_EQ(g_fractalState.batch, 0);
    EXPECT_EQ(g_fractalState.clientRect.right, 130);
    EXPECT_EQ(g_fractalState.clientRect.bottom, 40);
    EXPECT_EQ(WindowColours(), 1) << "pixels reached the window before the image was finished";

    // 130 columns take five paints; images with detail then appear whole.
    bool shown = false;
    for (int paint = 0; paint < 60 && !shown; ++paint) {
        RenderColumns(m_hWnd, nullptr, &target);
        shown = WindowColours() >= 8;
    }
    EXPECT_TRUE(shown) << "no finished image reached the window in 60 paints";
    RenderColumns(nullptr, nullptr, &target);  // no window: nothing happens, nothing breaks
    ::ReleaseDC(m_hWnd, hdc);
}

TEST_F(RenderColumnsTest, PreviewInsideAParentDrawsAndEndsWithItsParent) {
    // The real saver object and host, in a parent window of this process (the
    // end-to-end test covers a parent in another process).
    g_pSaverWnd = &g_saverWnd;
    g_host.bPreview = false;
    g_host.hInstance = ::GetModuleHandleA(nullptr);
    g_preview = PreviewSample{};
    g_preview.hParent = m_hWnd;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 3000, SamplePreviewThenEnd);
    ASSERT_NE(timer, 0u);
    EXPECT_EQ(RunSaverWindow(m_hWnd), 0);
    EXPECT_TRUE(g_host.bPreview);
    EXPECT_EQ(g_preview.child.right, 130);
    EXPECT_EQ(g_preview.child.bottom, 40);
    EXPECT_GE(g_preview.colours, 8) << "the preview drew no fractal in 3 s (130 / 26 = 5 ticks an image)";
    EXPECT_EQ(g_saverWnd.m_hWnd, nullptr) << "the object stays attached after the window's end";
    m_hWnd = nullptr;
}

}  // namespace
