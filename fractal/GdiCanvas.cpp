// Columns into the canvas's bits, and the one-copy present.
#include "fractal/GdiCanvas.h"

#include <xmmintrin.h>

#include "image/OffscreenCanvas.h"

namespace {

// COLORREF is 0x00BBGGRR; a 32-bit DIB pixel is 0x00RRGGBB.
std::uint32_t DibPixel(std::uint32_t colorref) {
    return ((colorref & 0xFFu) << 16) | (colorref & 0xFF00u) | ((colorref >> 16) & 0xFFu);
}

}  // namespace

CGdiCanvas::CGdiCanvas(OffscreenCanvas& canvas, CDC* pTarget) : m_canvas(canvas), m_pTarget(pTarget) {}

void CGdiCanvas::SetPixel(int x, int y, std::uint32_t color) { SetColumn(x, y, &color, 1); }

void CGdiCanvas::SetColumn(int x, int y, const std::uint32_t* colors, int count) {
    const int width = m_canvas.m_nWidth;
    if (m_canvas.m_pBits == nullptr || x < 0 || x >= width) return;
    const int first = y < 0 ? -y : 0;
    const int end = m_canvas.m_nHeight - y < count ? m_canvas.m_nHeight - y : count;
    std::uint32_t* pixel = m_canvas.m_pBits + x;
    // Each pixel of a column is on another line and page of the canvas, most
    // of them long out of the cache: the line a few rows down is asked for
    // ahead, so that the misses overlap.
    constexpr int kAhead = 8;
    const int fetched = end - kAhead > first ? end - kAhead : first;
    for (int i = first; i < fetched; ++i) {
        _mm_prefetch(reinterpret_cast<const char*>(pixel + static_cast<std::size_t>(y + i + kAhead) * width), _MM_HINT_T0);
        pixel[static_cast<std::size_t>(y + i) * width] = DibPixel(colors[i]);
    }
    for (int i = fetched; i < end; ++i) pixel[static_cast<std::size_t>(y + i) * width] = DibPixel(colors[i]);
}

void CGdiCanvas::Present(int width, int height) {
    if (m_pTarget == nullptr) return;
    CDC memory;
    if (!memory.CreateCompatibleDC(m_pTarget)) return;
    HGDIOBJ hOldBitmap = memory.SelectObject(&m_canvas);
    // Without the canvas the copy would take the DC's stock bitmap.
    if (hOldBitmap == nullptr) return;
    m_pTarget->BitBlt(0, 0, width, height, &memory, 0, 0, SRCCOPY);
    memory.SelectObject(hOldBitmap);
}
