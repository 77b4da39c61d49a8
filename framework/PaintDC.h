// The paint device context of a window: BeginPaint when made, EndPaint when gone.
#pragma once

#include <windows.h>

#include "framework/DC.h"

class CPaintDC : public CDC {
public:
    explicit CPaintDC(HWND hWnd);
    ~CPaintDC() override;
    CPaintDC(CPaintDC&&) = delete;

    HWND m_hWnd;
    PAINTSTRUCT m_ps;
};
