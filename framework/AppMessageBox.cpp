// The application message box and its test hook.
#include "framework/AppMessageBox.h"

#include "framework/ScreenSaverWnd.h"

namespace {

AppMessageBoxHook g_pfnMessageBoxHook = nullptr;

}  // namespace

int AppMessageBox(const char* text, UINT nType, UINT nIDHelp) {
    if (g_pfnMessageBoxHook != nullptr) return g_pfnMessageBoxHook(text, nType, nIDHelp);
    // Owned by the saver window and topmost, so the box shows above the topmost
    // full-screen window it disables; without a window, task-modal.
    HWND hOwner = g_pSaverWnd != nullptr && ::IsWindow(g_pSaverWnd->m_hWnd) ? g_pSaverWnd->m_hWnd : nullptr;
    const UINT modality = hOwner != nullptr ? MB_APPLMODAL : MB_TASKMODAL;
    return MessageBoxA(hOwner, text, "Zorv Screen Saver", nType | modality | MB_SETFOREGROUND | MB_TOPMOST);
}

AppMessageBoxHook SetAppMessageBoxHook(AppMessageBoxHook hook) {
    AppMessageBoxHook previous = g_pfnMessageBoxHook;
    g_pfnMessageBoxHook = hook;
    return previous;
}
