// Plain-memory canvas; pixels outside it are dropped, as a device context clips them.
#include "fractal/MemoryCanvas.h"

#include <algorithm>
#include <cstring>

namespace zorv {

MemoryCanvas::MemoryCanvas(int width, int height)
    : m_width(width > 0 ? width : 0),
      m_height(height > 0 ? height : 0),
      m_columns(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height), 0u) {}

void MemoryCanvas::SetPixel(int x, int y, std::uint32_t color) {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return;
    m_columns[static_cast<std::size_t>(x) * static_cast<std::size_t>(m_height) + static_cast<std::size_t>(y)] = color;
}

void MemoryCanvas::SetColumn(int x, int y, const std::uint32_t* colors, int count) {
    if (x < 0 || x >= m_width || count <= 0) return;
    // The part of rows [y, y + count) inside the canvas.
    const long long first = std::max<long long>(y, 0);
    const long long last = std::min<long long>(static_cast<long long>(y) + count, m_height);
    if (first >= last) return;
    std::memcpy(&m_columns[static_cast<std::size_t>(x) * static_cast<std::size_t>(m_height) + static_cast<std::size_t>(first)],
                colors + (first - y), static_cast<std::size_t>(last - first) * sizeof(std::uint32_t));
}

const std::vector<std::uint32_t>& MemoryCanvas::Pixels() const {
    const std::size_t w = static_cast<std::size_t>(m_width), h = static_cast<std::size_t>(m_height);
    m_rows.resize(w * h);
    // In tiles, so that both sides stay within a few pages at a time.
    constexpr std::size_t kTile = 64;
    for (std::size_t x0 = 0; x0 < w; x0 += kTile) {
        for (std::size_t y0 = 0; y0 < h; y0 += kTile) {
            const std::size_t x1 = std::min(x0 + kTile, w), y1 = std::min(y0 + kTile, h);
            for (std::size_t x = x0; x < x1; ++x)
                for (std::size_t y = y0; y < y1; ++y) m_rows[y * w + x] = m_columns[x * h + y];
        }
    }
    return m_rows;
}

void MemoryCanvas::Present(int width, int height) { OnPresent(width, height); }

}  // namespace zorv
