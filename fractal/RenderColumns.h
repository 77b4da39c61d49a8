// The progressive renderer's Windows half: one batch of columns into a
// window's off-screen canvas, and the saved picture at a run's first
// full-screen paint.
#pragma once

#include <windows.h>

#include "fractal/NewImage.h"
#include "framework/DC.h"

class CDib;
class OffscreenCanvas;

inline constexpr const char* kSavedPicturePath = "C:\\Windows\\ZORV.BMP";

// One paint's work for the saver window `hWnd`: `pDib` is the window's picture
// object (may be null), `pTarget` the paint DC that finished images go to.
void RenderColumns(HWND hWnd, CDib* pDib, CDC* pTarget);

// One paint's batch of any fractal window: the images of `context`, drawn into
// `canvas` (made anew at the window's size when the window outgrows it), shown
// on `pTarget`. Until the window shows a picture, it asks for the next paint
// at once.
void PaintFractal(HWND hWnd, OffscreenCanvas& canvas, zorv::RenderContext& context, CDC* pTarget);

// While the display is off, paints compute nothing and start no image.
extern bool g_bDisplayOff;

// Back to the start-of-process state of the saved-picture lookup; for tests.
void ResetRenderRun();
