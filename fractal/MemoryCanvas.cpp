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

std::uint32_t MemoryCanvas::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return 0;
    return m_pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(x)];
}

void MemoryCanvas::Present(int width, int height) { OnPresent(width, height); }

}  // namespace zorv
