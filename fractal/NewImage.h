// Starting an image: present the finished one, reset the progress, and draw
// every per-image parameter in a fixed order from the generator.
#pragma once

#include "fractal/Canvas.h"
#include "fractal/ColorTable.h"
#include "fractal/FractalState.h"
#include "fractal/Random.h"
#include "settings/SaverSettings.h"

namespace zorv {

// The process-wide objects an image draws on, passed together.
struct RenderContext {
    FractalState& state;
    ColorTable& colors;
    SaverSettings& settings;
    Random& random;
};

// Draws from the generator per image: 17, or 23 with random settings.
void NewImage(RenderContext& context, Canvas& canvas);

}  // namespace zorv
