// RenderColumns: the one-time saved-picture lookup, and the portable column
// batch drawing into a window's off-screen canvas.
#include "fractal/RenderColumns.h"

#include "fractal/GdiCanvas.h"
#include "fractal/Renderer.h"
#include "fractal/SaverObjects.h"
#include "framework/File.h"
#include "image/Dib.h"
#include "image/OffscreenCanvas.h"

bool g_bDisplayOff = false;

namespace {

bool g_bFirstRun = true;
bool g_bShowSaved = false;

bool SavedPictureOpens() {
    CFile file;
    if (!file.Open(kSavedPicturePath, CFile::modeRead | CFile::shareDenyWrite)) return false;
    file.Abort();
    return true;
}

}  // namespace

void ResetRenderRun() {
    g_bFirstRun = true;
    g_bShowSaved = false;
}

void RenderColumns(HWND hWnd, CDib* pDib, CDC* pTarget) {
    if (hWnd == nullptr) return;
    RECT rect{0, 0, 0, 0};
    ::GetClientRect(hWnd, &rect);
    zorv::TakeClientSize(g_fractalState, rect.right, rect.bottom);

    // A preview is narrower than the screen: it never reads the file.
    if (g_bFirstRun && pDib != nullptr && rect.right == ::GetSystemMetrics(SM_CXSCREEN)) {
        g_bFirstRun = false;
        g_bShowSaved = SavedPictureOpens();
    }
    // Before the canvas is taken, and no longer pending once begun: a failed
    // load's message box lets the timer's paints run, and they must neither
    // load again nor find the canvas held.
    if (g_bShowSaved) {
        g_bShowSaved = false;
        if (pDib->Load(kSavedPicturePath) == 1 && pDib->m_hImage != nullptr) {
            CClientDC clientDC(hWnd);
            pDib->DrawFitted(&clientDC);
            // The screen is not black: the first fractal comes at the usual pace.
            g_fractalState.imageShown = true;
        }
    }

    PaintFractal(hWnd, g_canvas, SaverRenderContext(), pTarget);
}

void PaintFractal(HWND hWnd, OffscreenCanvas& canvas, zorv::RenderContext& context, CDC* pTarget) {
    if (g_bDisplayOff) return;
    RECT rect{0, 0, 0, 0};
    ::GetClientRect(hWnd, &rect);
    zorv::TakeClientSize(context.state, rect.right, rect.bottom);
    if (rect.right > canvas.m_nWidth || rect.bottom > canvas.m_nHeight) canvas.Create(rect.right, rect.bottom);
    ::GdiFlush();  // GDI's own drawing into the canvas is done before the bits are written
    CGdiCanvas gdiCanvas(canvas, pTarget);
    zorv::ComputeBatch(context, gdiCanvas);
    // Until the first picture is up, paints follow each other without waiting
    // for the timer; input still comes first, as a paint waits for an empty queue.
    if (zorv::AwaitingFirstPicture(context.state)) ::InvalidateRect(hWnd, nullptr, FALSE);
}
