// The images of a fractal window besides the saver's own (another monitor's):
// its canvas, render state, colour table, settings and generator, all its own.
#pragma once

#include <windows.h>

#include <cstdint>

#include "fractal/NewImage.h"
#include "framework/DC.h"
#include "image/OffscreenCanvas.h"

class CFractalStream {
public:
    // A black canvas of the window's size; `settings` are copied, so random
    // settings draw for this stream alone.
    CFractalStream(int width, int height, const zorv::SaverSettings& settings, std::uint32_t seed);
    CFractalStream(const CFractalStream&) = delete;
    CFractalStream& operator=(const CFractalStream&) = delete;

    // One paint of the window `hWnd` onto its paint DC.
    void Paint(HWND hWnd, CDC* pTarget);

    const zorv::FractalState& State() const { return m_state; }

private:
    OffscreenCanvas m_canvas;
    zorv::FractalState m_state{};
    zorv::ColorTable m_colors{};
    zorv::SaverSettings m_settings;
    zorv::Random m_random;
    zorv::RenderContext m_context{m_state, m_colors, m_settings, m_random};
};
