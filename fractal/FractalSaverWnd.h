// CFractalSaverWnd: the saver window object. Its timer drives the renderer,
// and a close request may write the window's picture back to the saved file.
#pragma once

#include <windows.h>

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

    int m_nSpeed = 10;  // drawing ticks every 2000 / m_nSpeed ms (zorv::TimerPeriodMs)
    CDib* m_pDib = nullptr;  // owned; null when it could not be allocated
    bool m_bSaving = false;  // a close request is saving the last image

protected:
    void OnTimer(UINT_PTR nIDEvent);
    void OnClose();

    DECLARE_MESSAGE_MAP(CFractalSaverWnd)
};
