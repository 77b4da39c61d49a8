// The headless renderer's two jobs: a saver run from a seed, writing every
// presented image, and one fixed image for comparisons with other renderers.
#pragma once

#include <cstdio>
#include <string>

#include "fractal/ColorTable.h"
#include "fractal/EscapeKernel.h"
#include "fractal/FractalState.h"
#include "fractal/MemoryCanvas.h"
#include "settings/SaverSettings.h"
#include "tools/RenderOptions.h"

namespace zorv {

// One JSON object (one line, no newline) describing an image's parameters.
std::string ImageParamsJson(long long image, const FractalState& state, const ColorTable& colors, const char* fate);

// Renders every pixel of one image with the given parameters; returns the
// number of iteration steps taken in all. Every path gives the same pixels.
long long RenderWholeImage(FractalState& state, const ColorTable& colors, Canvas& canvas,
                           KernelPath path = ChosenKernelPath());

// Sets up `state` and `colors` for a fixed image of the given size.
void SetUpFixedImage(const FixedImageOptions& fixed, int width, int height, const SaverSettings& settings,
                     FractalState& state, ColorTable& colors);

// Exit codes: 0 success, 1 a file or `out` could not be written (one line on
// `err`). A saver run ends as the image after the last one wanted starts, or as
// the limit-th image starts, on any number of threads.
int RunSaverImages(const RenderOptions& options, const SaverSettings& settings, std::FILE* out, std::FILE* err);
int RunFixedImage(const RenderOptions& options, const SaverSettings& settings, std::FILE* out, std::FILE* err);

}  // namespace zorv
