// The process-wide objects of the running saver: the saver window object and
// the render state its paints work on.
#pragma once

#include "fractal/ColorTable.h"
#include "fractal/FractalState.h"
#include "fractal/NewImage.h"
#include "fractal/Random.h"
#include "settings/SaverSettings.h"

class CFractalSaverWnd;

extern zorv::Random g_random;
extern CFractalSaverWnd g_saverWnd;
extern zorv::FractalState g_fractalState;
extern zorv::ColorTable g_colorTable;
extern zorv::SaverSettings g_settings;

// The four render objects bundled for the portable renderer.
zorv::RenderContext& SaverRenderContext();
