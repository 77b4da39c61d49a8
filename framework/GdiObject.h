// Owners of GDI object handles: CGdiObject and its kinds CBitmap and CPalette.
// Each deletes its handle when destroyed; they move but never copy.
#pragma once

#include <windows.h>

class CGdiObject {
public:
    CGdiObject() = default;
    virtual ~CGdiObject();
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    // Takes ownership of `hObject` after deleting any handle held. A null
    // handle fails and leaves the object empty.
    BOOL Attach(HGDIOBJ hObject);
    // Gives up ownership without deleting.
    HGDIOBJ Detach();
    // Deletes the handle held; FALSE when there was none or GDI refused.
    BOOL DeleteObject();

    HGDIOBJ GetSafeHandle() const { return m_hObject; }

    HGDIOBJ m_hObject = nullptr;
};

class CBitmap : public CGdiObject {
public:
    CBitmap() = default;

    // Compatible with `hDC`; fails without one.
    BOOL CreateCompatibleBitmap(HDC hDC, int nWidth, int nHeight);
    // Fills the BITMAP record; the byte count GetObjectA copied, 0 on failure.
    int GetBitmap(BITMAP* pBitmap) const;

    HBITMAP GetSafeHandle() const { return static_cast<HBITMAP>(m_hObject); }
    operator HBITMAP() const { return GetSafeHandle(); }
};

class CPalette : public CGdiObject {
public:
    CPalette() = default;

    BOOL CreatePalette(const LOGPALETTE* pLogPalette);

    HPALETTE GetSafeHandle() const { return static_cast<HPALETTE>(m_hObject); }
    operator HPALETTE() const { return GetSafeHandle(); }
};
