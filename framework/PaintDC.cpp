// BeginPaint/EndPaint pairing for CPaintDC.
#include "framework/PaintDC.h"

CPaintDC::CPaintDC(HWND hWnd) : m_hWnd(hWnd), m_ps{} {
    HDC hdc = ::BeginPaint(hWnd, &m_ps);
    if (hdc != nullptr) m_hDC = m_hAttribDC = hdc;  // ended below, never deleted
}

CPaintDC::~CPaintDC() {
    Detach();
    ::EndPaint(m_hWnd, &m_ps);
}
