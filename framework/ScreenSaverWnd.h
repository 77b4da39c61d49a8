// CScreenSaverWnd, the framework window the saver window derives from, its one
// object `g_pSaverWnd`, and the bridge from the host's window procedure to it.
#pragma once

#include <windows.h>

#include "framework/GdiObject.h"
#include "framework/Wnd.h"

class CScreenSaverWnd : public CWnd {
public:
    CScreenSaverWnd();
    ~CScreenSaverWnd() override;

    const char* GetRuntimeClassName() const override { return "CScreenSaverWnd"; }

    virtual void OnDraw(CDC* pDC);
    virtual void RestartTimer();
    virtual void SaveOptions();
    virtual void RestoreOptions();

    BOOL m_bAutoBlack = TRUE;
    CPalette* m_pPalette = nullptr;  // borrowed

protected:
    // Unhandled messages go to the host's input policy, not straight to the system.
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    int OnCreate(LPCREATESTRUCTA pCreate);
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnPaint();
    void OnPaletteChanged(CWnd* pFocusWnd);
    BOOL OnQueryNewPalette();

    DECLARE_MESSAGE_MAP(CScreenSaverWnd)
};

extern CScreenSaverWnd* g_pSaverWnd;

// Every message of the saver window that the host does not answer itself.
LRESULT ForwardToSaverObject(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// Where the saver object's unhandled messages go: the host's input policy. The
// host installs it; until then (and in programs without a host) they go to the
// system's default procedure.
using SaverDefaultProc = LRESULT (*)(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
void SetSaverDefaultProc(SaverDefaultProc pfnDefault);
