// The progressive renderer's Windows half: one batch of columns into the
// off-screen canvas, and the saved picture at a run's first full-screen paint.
#pragma once

#include <windows.h>

#include "framework/DC.h"

class CDib;

inline constexpr const char* kSavedPicturePath = "C:\\Windows\\ZORV.BMP";

// One paint's work for the saver window `hWnd`: `pDib` is the window's picture
// object (may be null), `pTarget` the paint DC that finished images go to.
void RenderColumns(HWND hWnd, CDib* pDib, CDC* pTarget);

// Back to the start-of-process state of the saved-picture lookup; for tests.
void ResetRenderRun();
