// CDC and CClientDC over the GDI device-context calls.
#include "framework/DC.h"

#include <utility>

CDC::CDC(HDC hdcBorrowed) : m_hDC(hdcBorrowed), m_hAttribDC(hdcBorrowed) {}

CDC::~CDC() { DeleteDC(); }

BOOL CDC::CreateCompatibleDC(CDC* pDC) {
    return Attach(::CreateCompatibleDC(pDC != nullptr ? pDC->GetSafeHdc() : nullptr));
}

BOOL CDC::Attach(HDC hDC) {
    if (hDC == nullptr) return FALSE;
    DeleteDC();
    m_hDC = m_hAttribDC = hDC;
    m_bOwned = true;
    return TRUE;
}

HDC CDC::Detach() {
    m_hAttribDC = nullptr;
    m_bOwned = false;
    return std::exchange(m_hDC, nullptr);
}

BOOL CDC::DeleteDC() {
    const bool owned = m_bOwned;
    HDC hdc = Detach();
    if (hdc == nullptr || !owned) return FALSE;
    return ::DeleteDC(hdc);
}

int CDC::GetDeviceCaps(int nIndex) const { return ::GetDeviceCaps(m_hAttribDC, nIndex); }

HGDIOBJ CDC::SelectObject(CGdiObject* pObject) {
    return pObject != nullptr ? SelectObject(pObject->GetSafeHandle()) : nullptr;
}

HGDIOBJ CDC::SelectObject(HGDIOBJ hObject) {
    if (hObject == nullptr || m_hDC == nullptr) return nullptr;
    return ::SelectObject(m_hDC, hObject);
}

HPALETTE CDC::SelectPalette(HPALETTE hPalette, BOOL bForceBackground) {
    return ::SelectPalette(m_hDC, hPalette, bForceBackground);
}

UINT CDC::RealizePalette() { return ::RealizePalette(m_hDC); }

int CDC::SetStretchBltMode(int nMode) { return ::SetStretchBltMode(m_hDC, nMode); }

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop) {
    return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC != nullptr ? pSrcDC->m_hDC : nullptr, xSrc, ySrc, dwRop);
}

COLORREF CDC::GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }

COLORREF CDC::SetPixelV(int x, int y, COLORREF color) { return ::SetPixelV(m_hDC, x, y, color); }

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
    const COLORREF previous = ::SetBkColor(m_hDC, color);
    const RECT rect{x, y, x + cx, y + cy};
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, previous);
}

CClientDC::CClientDC(HWND hWnd) : m_hWnd(hWnd) {
    HDC hdc = ::GetDC(hWnd);
    if (hdc != nullptr) {
        m_hDC = m_hAttribDC = hdc;  // not owned: released below, never deleted
    }
}

CClientDC::~CClientDC() {
    HDC hdc = Detach();
    if (hdc != nullptr) ::ReleaseDC(m_hWnd, hdc);
}
