// The fractal saver window: settings load and save, the drawing timer, paints
// through RenderColumns, and saving the last image on a close request.
#include "fractal/FractalSaverWnd.h"

#include <ctime>
#include <new>

#include "fractal/RenderColumns.h"
#include "fractal/SaverObjects.h"
#include "fractal/TimerPeriod.h"
#include "image/Dib.h"
#include "settings/Win32ProfileStore.h"

BEGIN_MESSAGE_MAP(CFractalSaverWnd, CScreenSaverWnd)
    ON_WM_TIMER()
    ON_WM_CLOSE()
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_POWERBROADCAST, OnPowerBroadcast)
END_MESSAGE_MAP()

CFractalSaverWnd::CFractalSaverWnd() : m_pDib(new (std::nothrow) CDib) {
    m_nRunSeed = static_cast<std::uint32_t>(std::time(nullptr));
    g_random.Seed(m_nRunSeed);
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

int CFractalSaverWnd::OnCreate(LPCREATESTRUCTA pCreate) {
    if (CScreenSaverWnd::OnCreate(pCreate) == -1) return -1;
    g_bDisplayOff = false;
    m_powerNotification.Register(m_hWnd);  // absent before Vista, and a stub under Wine
    return 0;
}

void CFractalSaverWnd::OnDestroy() {
    m_powerNotification.Unregister();
    Default();
}

LRESULT CFractalSaverWnd::OnPowerBroadcast(WPARAM wParam, LPARAM lParam) {
    const DisplayPower power = DisplayPowerOf(wParam, lParam);
    if (power == DisplayPower::Unknown) return Default();
    const bool off = power == DisplayPower::Off;
    if (off != g_bDisplayOff) {
        g_bDisplayOff = off;
        if (off) {
            ::KillTimer(m_hWnd, kTimerId);
        } else {
            RestartTimer();
            ::InvalidateRect(m_hWnd, nullptr, FALSE);  // a first picture still due goes on at once
        }
    }
    return TRUE;
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
            // Straight from the window into a bitmap of the capture's own: a close
            // the password check refuses must find the image in progress intact.
            CClientDC clientDC(m_hWnd);
            captured = m_pDib->Capture(&clientDC, 0, 0, width, height);
        }
        // The client DC is released before the save, whose message box lets
        // paints run, and before the password dialog that may follow.
        if (captured == 1) m_pDib->Save(kSavedPicturePath);
        m_bSaving = false;
        if (m_hWnd == nullptr) return;  // a close request inside the save's box has ended the window
    }
    Default();
}
