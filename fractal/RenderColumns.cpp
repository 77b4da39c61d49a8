// RenderColumns: the device contexts, the one-time saved-picture lookup, and
// the portable column batch drawing into a GDI canvas.
#include "fractal/RenderColumns.h"

#include "fractal/GdiCanvas.h"
#include "fractal/Renderer.h"
#include "fractal/SaverObjects.h"
#include "framework/File.h"
#include "image/Dib.h"
#include "image/OffscreenCanvas.h"

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
    CClientDC clientDC(hWnd);
    CDC canvasDC;
    canvasDC.CreateCompatibleDC(&clientDC);
    HGDIOBJ hOldBitmap = canvasDC.SelectObject(&g_canvas);

    RECT rect{0, 0, 0, 0};
    ::GetClientRect(hWnd, &rect);
    zorv::FractalState& state = g_fractalState;
    state.clientRect = {rect.left, rect.top, rect.right, rect.bottom};

    // A preview is narrower than the screen: it never reads the file.
    if (g_bFirstRun && pDib != nullptr && rect.right == ::GetSystemMetrics(SM_CXSCREEN)) {
        g_bFirstRun = false;
        g_bShowSaved = SavedPictureOpens();
    }
    if (g_bShowSaved) {
        g_bShowSaved = pDib->Load(kSavedPicturePath) == 1;
        if (g_bShowSaved && pDib->m_hImage != nullptr) pDib->DrawFitted(&clientDC);
        g_bShowSaved = false;
    }

    {
        CGdiCanvas canvas(canvasDC, pTarget);
        zorv::RenderColumnBatch(SaverRenderContext(), canvas);
    }
    if (hOldBitmap != nullptr) canvasDC.SelectObject(hOldBitmap);
}
