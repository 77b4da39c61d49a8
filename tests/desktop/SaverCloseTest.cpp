// The fractal saver window's close request under Wine: the canvas is free
// again by the time the password check runs, so paints during the dialog
// still draw; and a close with no picture loaded writes nothing.
#include <gtest/gtest.h>

#include "fractal/FractalSaverWnd.h"
#include "fractal/SaverObjects.h"
#include "host/SaverHost.h"
#include "image/Dib.h"
#include "image/OffscreenCanvas.h"

namespace {

struct DuringCheck {
    int calls = 0;
    bool canvasSelectable = false;
} g_during;

BOOL WINAPI RefuseAfterProbingTheCanvas(HWND) {
    ++g_during.calls;
    HDC hdc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = ::SelectObject(hdc, g_canvas.GetSafeHandle());
    g_during.canvasSelectable = hOld != nullptr;
    if (hOld != nullptr) ::SelectObject(hdc, hOld);
    ::DeleteDC(hdc);
    return FALSE;
}

TEST(SaverClose, TheCanvasIsFreeWhileThePasswordIsAsked) {
    ASSERT_NE(g_canvas.GetSafeHandle(), nullptr);
    CScreenSaverWnd* previous = g_pSaverWnd;
    g_pSaverWnd = &g_saverWnd;
    g_host = HostState{};
    g_host.hInstance = ::GetModuleHandleA(nullptr);
    g_host.bWin9x = true;
    g_host.pfnVerifyPassword = RefuseAfterProbingTheCanvas;
    g_settings.SaveImage = 1;
    WNDCLASSA wc{};
    wc.lpfnWndProc = HostWindowProc;
    wc.hInstance = g_host.hInstance;
    wc.lpszClassName = "ZorvCloseTest";
    ::RegisterClassA(&wc);
    HWND hWnd = ::CreateWindowExA(0, "ZorvCloseTest", "Screen Saver", WS_POPUP | WS_VISIBLE, 0, 0, 100, 80, nullptr,
                                  nullptr, g_host.hInstance, nullptr);
    ASSERT_NE(hWnd, nullptr);

    ::SendMessageA(hWnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(g_during.calls, 1);
    EXPECT_TRUE(g_during.canvasSelectable) << "the close handler still held the canvas during the check";
    EXPECT_TRUE(::IsWindow(hWnd));
    // The object's picture was never loaded: nothing to save, nothing held.
    ASSERT_NE(g_saverWnd.m_pDib, nullptr);
    EXPECT_EQ(g_saverWnd.m_pDib->m_hImage, nullptr);

    g_host.bCloseAccepted = true;  // let it go without another check
    ::DestroyWindow(hWnd);
    EXPECT_EQ(g_saverWnd.m_hWnd, nullptr);
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {  // the quit message of the destroyed saver
    }
    g_host = HostState{};
    g_settings = zorv::DefaultSettings();
    g_pSaverWnd = previous;
}

}  // namespace
