// The fractal saver window: settings load and save, the drawing timer, paints
// through RenderColumns, and saving the last image on a close request.
#include "fractal/FractalSaverWnd.h"

#include <ctime>
#include <new>

#include "fractal/RenderColumns.h"
#include "fractal/SaverObjects.h"
#include "fractal/TimerPeriod.h"
#include "image/Dib.h"
#include "image/OffscreenCanvas.h"
#include "settings/Win32ProfileStore.h"

BEGIN_MESSAGE_MAP(CFractalSaverWnd, CScreenSaverWnd)
    ON_WM_TIMER()
    ON_WM_CLOSE()
END_MESSAGE_MAP()

CFractalSaverWnd::CFractalSaverWnd() : m_pDib(new (std::nothrow) CDib) {
    g_random.Seed(static_cast<std::uint32_t>(std::time(nullptr)));
}

CFractalSaverWnd::~CFractalSaverWnd() { delete m_pDib; }

void CFractalSaverWnd::OnDraw(CDC* pDC) { RenderColumns(m_hWnd, m_pDib, pDC); }

void CFractalSaverWnd::RestartTimer() {
    if (m_hWnd == nullptr) return;
    if (m_nSpeed < 1) m_nSpeed = 1;
    ::SetTimer(m_hWnd, kTimerId, zorv::TimerPeriodMs(m_nSpeed), nullptr);
}

void CFractalSaverWnd::SaveOptions() {
    CWin32ProfileStore store(zorv::kSettingsFile);
    zorv::SaveSettings(g_settings, store);
}

void CFractalSaverWnd::RestoreOptions() {
    CWin32ProfileStore store(zorv::kSettingsFile);
    zorv::LoadSettings(g_settings, store);
}

void CFractalSaverWnd::OnTimer(UINT_PTR) {
    Default();
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CFractalSaverWnd::OnClose() {
    RECT rect{0, 0, 0, 0};
    ::GetClientRect(m_hWnd, &rect);
    const int width = rect.right;
    const int height = rect.bottom;
    // A failed save shows a message box whose loop lets a second close request
    // in: that one must not capture and save again.
    if (g_settings.SaveImage == 1 && width == ::GetSystemMetrics(SM_CXSCREEN) && m_pDib != nullptr && !m_bSaving) {
        m_bSaving = true;
        BOOL captured = FALSE;
        {
            CClientDC clientDC(m_hWnd);
            CDC canvasDC;
            canvasDC.CreateCompatibleDC(&clientDC);
            HGDIOBJ hOldBitmap = canvasDC.SelectObject(&g_canvas);
            // Without the canvas the capture would take the DC's stock bitmap.
            if (hOldBitmap != nullptr) {
                canvasDC.BitBlt(0, 0, width, height, &clientDC, 0, 0, SRCCOPY);
                captured = m_pDib->Capture(&canvasDC, 0, 0, width, height);
                canvasDC.SelectObject(hOldBitmap);
            }
        }
        // The canvas is free again before the save, whose message box lets
        // paints run, and before the password dialog that may follow.
        if (captured == 1) m_pDib->Save(kSavedPicturePath);
        m_bSaving = false;
        if (m_hWnd == nullptr) return;  // a close request inside the save's box has ended the window
    }
    Default();
}
