// Column runs of pixels into the canvas DC, and the one-copy present.
#include "fractal/GdiCanvas.h"

namespace {

// COLORREF is 0x00BBGGRR; a 32-bit DIB pixel is 0x00RRGGBB.
std::uint32_t DibPixel(std::uint32_t colorref) {
    return ((colorref & 0xFFu) << 16) | (colorref & 0xFF00u) | ((colorref >> 16) & 0xFFu);
}

}  // namespace

CGdiCanvas::CGdiCanvas(CDC& canvasDC, CDC* pTarget) : m_canvasDC(canvasDC), m_pTarget(pTarget) {}

CGdiCanvas::~CGdiCanvas() { Flush(); }

void CGdiCanvas::SetPixel(int x, int y, std::uint32_t color) {
    if (!m_run.empty() && (x != m_runX || y != m_runY + static_cast<int>(m_run.size()))) Flush();
    if (m_run.empty()) {
        m_runX = x;
        m_runY = y;
    }
    m_run.push_back(DibPixel(color));
}

void CGdiCanvas::Flush() {
    if (m_run.empty()) return;
    const int count = static_cast<int>(m_run.size());
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 1;
    info.bmiHeader.biHeight = -count;  // top-down: row 0 first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    ::SetDIBitsToDevice(m_canvasDC.GetSafeHdc(), m_runX, m_runY, 1, count, 0, 0, 0, count, m_run.data(), &info,
                        DIB_RGB_COLORS);
    m_run.clear();
}

void CGdiCanvas::Present(int width, int height) {
    Flush();
    if (m_pTarget != nullptr) m_pTarget->BitBlt(0, 0, width, height, &m_canvasDC, 0, 0, SRCCOPY);
}
