// A fractal window's own stream of images.
#include "fractal/FractalStream.h"

#include "fractal/RenderColumns.h"

CFractalStream::CFractalStream(int width, int height, const zorv::SaverSettings& settings, std::uint32_t seed)
    : m_canvas(width, height), m_settings(settings), m_random(seed) {}

void CFractalStream::Paint(HWND hWnd, CDC* pTarget) { PaintFractal(hWnd, m_canvas, m_context, pTarget); }
