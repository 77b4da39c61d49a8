// Device-context wrappers: CDC (owns a DC it created or adopted, or borrows one)
// and CClientDC (a window's client-area DC, released when destroyed).
#pragma once

#include <windows.h>

#include "framework/GdiObject.h"

class CDC {
public:
    CDC() = default;
    // Wraps a device context owned elsewhere; this object never deletes it.
    explicit CDC(HDC hdcBorrowed);
    virtual ~CDC();  // DeleteDC when the object owns its DC
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // A memory DC compatible with `pDC` (the screen when null); owned.
    BOOL CreateCompatibleDC(CDC* pDC);
    // Adopts `hDC`: it is deleted with DeleteDC unless detached first.
    BOOL Attach(HDC hDC);
    // Gives the DC up without deleting it; derived classes call it before
    // releasing their DC in their own way (ReleaseDC, EndPaint).
    HDC Detach();
    BOOL DeleteDC();

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    BOOL IsPrinting() const { return m_bPrinting; }

    // Device queries go to the attribute DC; drawing to the output DC.
    int GetDeviceCaps(int nIndex) const;
    HGDIOBJ SelectObject(CGdiObject* pObject);  // the previous object, borrowed
    HGDIOBJ SelectObject(HGDIOBJ hObject);
    HPALETTE SelectPalette(HPALETTE hPalette, BOOL bForceBackground);
    UINT RealizePalette();
    int SetStretchBltMode(int nMode);
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop);
    COLORREF GetPixel(int x, int y) const;
    COLORREF SetPixelV(int x, int y, COLORREF color);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);

    HDC m_hDC = nullptr;        // output
    HDC m_hAttribDC = nullptr;  // attribute queries; the output DC here
    BOOL m_bPrinting = FALSE;

protected:
    bool m_bOwned = false;  // whether DeleteDC is ours to call
};

// The client-area DC of a window (GetDC), released with ReleaseDC.
class CClientDC : public CDC {
public:
    explicit CClientDC(HWND hWnd);  // null: the whole screen
    ~CClientDC() override;
    CClientDC(CClientDC&&) = delete;

    HWND m_hWnd;
};
