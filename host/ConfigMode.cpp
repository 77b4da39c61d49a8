// The configuration mode. Until the configuration dialog exists there is no
// dialog to run, which is what the dialog call answers when it cannot be made.
#include "host/RunModes.h"

int RunConfigDialog(HWND) { return -1; }
