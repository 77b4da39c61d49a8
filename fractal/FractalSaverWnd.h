// CFractalSaverWnd: the saver window object. Its timer drives the renderer,
// stopped while the display is off, and a close request may write the window's
// picture back to the saved file.
#pragma once

#include <windows.h>

#include <cstdint>

#include "fractal/Random.h"
#include "framework/PowerNotification.h"
#include "framework/ScreenSaverWnd.h"

class CDib;

class CFractalSaverWnd : public CScreenSaverWnd {
public:
    CFractalSaverWnd();
    ~CFractalSaverWnd() override;

    const char* GetRuntimeClassName() const override { return "CFractalSaverWnd"; }

    void OnDraw(CDC* pDC) override;
    void RestartTimer() override;
    void SaveOptions() override;
    void RestoreOptions() override;

    static constexpr UINT_PTR kTimerId = 1;

    // The seed of the next stream of images besides the window's own (another
    // monitor's), derived from the seed of the run.
    std::uint32_t NextStreamSeed() { return zorv::StreamSeed(m_nRunSeed, ++m_nStreams); }

    int m_nSpeed = 10;  // drawing ticks every 2000 / m_nSpeed ms (zorv::TimerPeriodMs)
    CDib* m_pDib = nullptr;  // owned; null when it could not be allocated
    bool m_bSaving = false;  // a close request is saving the last image
    std::uint32_t m_nRunSeed = 0;  // the generator's seed at start
    std::uint32_t m_nStreams = 0;  // streams of other monitors begun so far

protected:
    // Creation as the base does it, then the display's power state is asked for.
    int OnCreate(LPCREATESTRUCTA pCreate);
    void OnDestroy();
    void OnTimer(UINT_PTR nIDEvent);
    void OnClose();
    // While the display is off nothing is drawn and the timer stops; on (or
    // dimmed) again, drawing goes on where it stopped.
    LRESULT OnPowerBroadcast(WPARAM wParam, LPARAM lParam);

    CDisplayPowerNotification m_powerNotification;

    DECLARE_MESSAGE_MAP(CFractalSaverWnd)
};
