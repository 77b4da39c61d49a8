// The application message box and its test hook.
#include "framework/AppMessageBox.h"

namespace {

AppMessageBoxHook g_pfnMessageBoxHook = nullptr;
HWND g_hMessageBoxOwner = nullptr;

}  // namespace

int AppMessageBox(const char* text, UINT nType, UINT nIDHelp) {
    if (g_pfnMessageBoxHook != nullptr) return g_pfnMessageBoxHook(text, nType, nIDHelp);
    // Owned by the saver window and topmost, so the box shows above the topmost
    // full-screen window it disables; without a window, task-modal.
    HWND hOwner = ::IsWindow(g_hMessageBoxOwner) ? g_hMessageBoxOwner : nullptr;
    const UINT modality = hOwner != nullptr ? MB_APPLMODAL : MB_TASKMODAL;
    return MessageBoxA(hOwner, text, "Zorv Screen Saver", nType | modality | MB_SETFOREGROUND | MB_TOPMOST);
}

void SetAppMessageBoxOwner(HWND hOwner) { g_hMessageBoxOwner = hOwner; }

AppMessageBoxHook SetAppMessageBoxHook(AppMessageBoxHook hook) {
    AppMessageBoxHook previous = g_pfnMessageBoxHook;
    g_pfnMessageBoxHook = hook;
    return previous;
}
