// The application message box and its test hook.
#include "framework/AppMessageBox.h"

namespace {

AppMessageBoxHook g_pfnMessageBoxHook = nullptr;

}  // namespace

int AppMessageBox(const char* text, UINT nType, UINT nIDHelp) {
    if (g_pfnMessageBoxHook != nullptr) return g_pfnMessageBoxHook(text, nType, nIDHelp);
    // The saver's windows may be topmost; task-modal keeps the box reachable.
    return MessageBoxA(nullptr, text, "Zorv Screen Saver", nType | MB_TASKMODAL | MB_SETFOREGROUND);
}

AppMessageBoxHook SetAppMessageBoxHook(AppMessageBoxHook hook) {
    AppMessageBoxHook previous = g_pfnMessageBoxHook;
    g_pfnMessageBoxHook = hook;
    return previous;
}
