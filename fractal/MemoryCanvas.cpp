// Plain-memory canvas; pixels outside it are dropped, as a device context clips them.
#include "fractal/MemoryCanvas.h"

namespace zorv {

MemoryCanvas::MemoryCanvas(int width, int height)
    : m_width(width > 0 ? width : 0),
      m_height(height > 0 ? height : 0),
      m_pixels(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height), 0u) {}

void MemoryCanvas::SetPixel(int x, int y, std::uint32_t color) {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return;
    m_pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(x)] = color;
}

void MemoryCanvas::SetColumn(int x, int y, const std::uint32_t* colors, int count) {
    if (x < 0 || x >= m_width) return;
    const std::size_t stride = static_cast<std::size_t>(m_width);
    for (int i = 0; i < count; ++i) {
        const int row = y + i;
        if (row >= 0 && row < m_height) m_pixels[static_cast<std::size_t>(row) * stride + static_cast<std::size_t>(x)] = colors[i];
    }
}

std::uint32_t MemoryCanvas::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return 0;
    return m_pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(x)];
}

void MemoryCanvas::Present(int width, int height) { OnPresent(width, height); }

}  // namespace zorv
