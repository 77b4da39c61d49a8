// Start-up and the run modes the command line selects, each returning the
// process's exit code.
#pragma once

#include <windows.h>

[[noreturn]] void HostEntry();
int RunMode(HINSTANCE hInstance, const char* pszArguments);
int RunPreviewMode(const char* pszRest);
int RunChangePasswordMode(const char* pszRest);
void ChangeSaverPassword(HWND hParent);

// The configuration dialog's modal result: 1 OK, 2 Cancel, -1 when it cannot be made.
int RunConfigDialog(HWND hParent);
