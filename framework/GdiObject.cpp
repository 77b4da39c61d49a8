// CGdiObject ownership, and the bitmap and palette operations the image store uses.
#include "framework/GdiObject.h"

#include <utility>

CGdiObject::~CGdiObject() { DeleteObject(); }

BOOL CGdiObject::Attach(HGDIOBJ hObject) {
    if (hObject == nullptr) return FALSE;
    if (hObject != m_hObject) DeleteObject();
    m_hObject = hObject;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() { return std::exchange(m_hObject, nullptr); }

BOOL CGdiObject::DeleteObject() {
    if (m_hObject == nullptr) return FALSE;
    return ::DeleteObject(std::exchange(m_hObject, nullptr));
}

BOOL CBitmap::CreateCompatibleBitmap(HDC hDC, int nWidth, int nHeight) {
    if (hDC == nullptr) return FALSE;
    return Attach(::CreateCompatibleBitmap(hDC, nWidth, nHeight));
}

int CBitmap::GetBitmap(BITMAP* pBitmap) const {
    if (m_hObject == nullptr) return 0;
    return ::GetObjectA(m_hObject, sizeof(BITMAP), pBitmap);
}

BOOL CPalette::CreatePalette(const LOGPALETTE* pLogPalette) { return Attach(::CreatePalette(pLogPalette)); }


