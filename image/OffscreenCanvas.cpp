// Construction of the off-screen canvas, and the process-wide instance.
#include "image/OffscreenCanvas.h"

#include <windows.h>

#include "framework/DC.h"

OffscreenCanvas::OffscreenCanvas()
    : m_nWidth(GetSystemMetrics(SM_CXSCREEN)), m_nHeight(GetSystemMetrics(SM_CYSCREEN)) {
    CDC display;
    if (!display.CreateDC("DISPLAY", nullptr, nullptr, nullptr)) return;
    CDC memory;  // declared after the display DC, so deleted before it
    if (!memory.CreateCompatibleDC(&display)) return;
    if (!CreateCompatibleBitmap(&display, m_nWidth, m_nHeight)) return;
    memory.SelectObject(this);
    memory.PatBlt(0, 0, m_nWidth, m_nHeight, BLACKNESS);
    // Deleting the memory DC releases the bitmap from it.
}

OffscreenCanvas g_canvas;
