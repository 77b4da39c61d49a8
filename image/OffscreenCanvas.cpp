// Construction of the off-screen canvas, and the process-wide instance.
#include "image/OffscreenCanvas.h"

#include <windows.h>

#include <algorithm>

OffscreenCanvas::OffscreenCanvas()
    : OffscreenCanvas(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)) {}

OffscreenCanvas::OffscreenCanvas(int width, int height) : m_nWidth(0), m_nHeight(0) { Create(width, height); }

BOOL OffscreenCanvas::Create(int width, int height) {
    DeleteObject();
    m_pBits = nullptr;
    m_nWidth = width;
    m_nHeight = height;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down: row 0 first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    if (!Attach(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0)) || bits == nullptr) return FALSE;
    m_pBits = static_cast<std::uint32_t*>(bits);
    std::fill_n(m_pBits, static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0u);  // black
    return TRUE;
}

OffscreenCanvas g_canvas;
