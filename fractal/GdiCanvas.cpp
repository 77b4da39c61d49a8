// Blocks of columns into the canvas DC, and the one-copy present.
#include "fractal/GdiCanvas.h"

namespace {

// COLORREF is 0x00BBGGRR; a 32-bit DIB pixel is 0x00RRGGBB.
std::uint32_t DibPixel(std::uint32_t colorref) {
    return ((colorref & 0xFFu) << 16) | (colorref & 0xFF00u) | ((colorref >> 16) & 0xFFu);
}

}  // namespace

CGdiCanvas::CGdiCanvas(CDC& canvasDC, CDC* pTarget) : m_canvasDC(canvasDC), m_pTarget(pTarget) {}

CGdiCanvas::~CGdiCanvas() { Flush(); }

void CGdiCanvas::SetPixel(int x, int y, std::uint32_t color) { Add(x, y, DibPixel(color)); }

void CGdiCanvas::SetColumn(int x, int y, const std::uint32_t* colors, int count) {
    for (int i = 0; i < count; ++i) Add(x, y + i, DibPixel(colors[i]));
}

void CGdiCanvas::Add(int x, int y, std::uint32_t pixel) {
    const int lastX = m_x0 + m_columns - 1;
    if (m_columns > 0) {
        const bool below = x == lastX && y == m_y0 + m_lastLength && (m_height < 0 || m_lastLength < m_height);
        const bool beside = x == lastX + 1 && y == m_y0 && (m_height < 0 || m_lastLength == m_height);
        if (beside) {
            if (m_height < 0) m_height = m_lastLength;
            ++m_columns;
            m_lastLength = 0;
        } else if (!below) {
            Flush();
        }
    }
    if (m_columns == 0) {
        m_x0 = x;
        m_y0 = y;
        m_columns = 1;
        m_height = -1;
        m_lastLength = 0;
    }
    m_gathered.push_back(pixel);
    ++m_lastLength;
}

void CGdiCanvas::Transfer(int x, int y, int width, int height, const std::uint32_t* rows) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down: row 0 first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    ::SetDIBitsToDevice(m_canvasDC.GetSafeHdc(), x, y, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0,
                        0, static_cast<UINT>(height), rows, &info, DIB_RGB_COLORS);
}

void CGdiCanvas::Flush() {
    if (m_columns == 0) return;
    if (m_height < 0) {
        Transfer(m_x0, m_y0, 1, m_lastLength, m_gathered.data());
    } else {
        const bool lastShort = m_lastLength < m_height;
        const int full = lastShort ? m_columns - 1 : m_columns;
        const std::size_t height = static_cast<std::size_t>(m_height);
        m_rows.resize(static_cast<std::size_t>(full) * height);
        for (int c = 0; c < full; ++c) {
            for (std::size_t r = 0; r < height; ++r) {
                m_rows[r * static_cast<std::size_t>(full) + static_cast<std::size_t>(c)] =
                    m_gathered[static_cast<std::size_t>(c) * height + r];
            }
        }
        Transfer(m_x0, m_y0, full, m_height, m_rows.data());
        if (lastShort && m_lastLength > 0) {
            Transfer(m_x0 + full, m_y0, 1, m_lastLength, m_gathered.data() + static_cast<std::size_t>(full) * height);
        }
    }
    m_gathered.clear();
    m_columns = 0;
    m_height = -1;
    m_lastLength = 0;
}

void CGdiCanvas::Present(int width, int height) {
    Flush();
    if (m_pTarget != nullptr) m_pTarget->BitBlt(0, 0, width, height, &m_canvasDC, 0, 0, SRCCOPY);
}
