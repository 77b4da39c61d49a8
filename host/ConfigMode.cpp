// The configuration mode: the settings dialog from template 2003, run modally
// by the system with ConfigDialogProc as its procedure.
#include <windows.h>

#include <commctrl.h>

#include "framework/ScreenSaverDlg.h"
#include "host/RunModes.h"
#include "host/SaverHost.h"
#include "settings/FractalSaverDlg.h"

int RunConfigDialog(HWND hParent) {
    // The track bars' window class must be registered before the template is built;
    // if it cannot be, creating the dialog fails and that is the -1 answered below.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    return static_cast<int>(::DialogBoxParamA(g_host.hInstance, MAKEINTRESOURCEA(CFractalSaverDlg::kTemplateId), hParent,
                                              ConfigDialogProc, 0));
}
