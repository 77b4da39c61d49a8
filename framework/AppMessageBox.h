// The application message box: the one way the program shows a failure text.
// Tests install a hook so that no dialog ever blocks an automated run.
#pragma once

#include <windows.h>

// Shows `text` modally with the given style (0: one OK button) and returns the
// button pressed. Goes to the installed hook instead, when there is one.
int AppMessageBox(const char* text, UINT nType = 0, UINT nIDHelp = 0);

// The window that later boxes belong to (null: none). The host names its saver
// window while it exists, so that a box shows above that topmost window.
void SetAppMessageBoxOwner(HWND hOwner);

// Replaces every later AppMessageBox with `hook` (null restores the real box).
// Returns the hook that was installed before.
using AppMessageBoxHook = int (*)(const char* text, UINT nType, UINT nIDHelp);
AppMessageBoxHook SetAppMessageBoxHook(AppMessageBoxHook hook);
