// Per-image parameter draws. The order of the draws is part of the behaviour:
// a given seed must always give the same sequence of images.
#include "fractal/NewImage.h"

#include "fractal/ImageDraws.h"
#include "settings/Truncate.h"

namespace zorv {

namespace {

double UnitDraw(Random& random) { return random.Draw() * (1.0 / 32767); }

void RandomiseSettings(SaverSettings& settings, Random& random) {
    settings.Cycles = UnitDraw(random) * 60;
    settings.Iters = TruncToInt(UnitDraw(random) * 100);
    settings.Constant = UnitDraw(random) * 100;
    settings.Scale = UnitDraw(random) * 100;
    settings.View = UnitDraw(random) * 60;
    settings.Spread = UnitDraw(random) * 50;
}

EscapeTest EscapeTestForDraw(int k) {
    switch (k) {
        case 3: return EscapeTest::Sum;
        case 4: return EscapeTest::Component;
        case 5: return EscapeTest::Product;
        default: return EscapeTest::Modulus;
    }
}

}  // namespace

void NewImage(RenderContext& context, Canvas& canvas) {
    FractalState& state = context.state;
    SaverSettings& settings = context.settings;
    Random& random = context.random;
    const int width = state.clientRect.right;
    const int height = state.clientRect.bottom;

    if (settings.RandomSettings == 1) RandomiseSettings(settings, random);

    // The first image of a run and abandoned images have no detail and are never shown.
    if (state.hasDetail) {
        canvas.Present(width, height);
        state.imageShown = true;
    }

    state.row = 0;
    state.column = 0;
    state.firstPixelPending = true;
    state.hasDetail = false;

    const double iterJitter = Jitter(0.05, settings.Spread, random);
    state.maxIter = WrapSub(4, TruncToInt(iterJitter * settings.Iters * (-1.5)));
    if (state.maxIter < 4) state.maxIter = 4;

    state.escapeTest = EscapeTestForDraw(TruncToInt(random.Draw() * (5.0 / 32767)));
    state.modeSelect = SignedDraw(random);

    MakeColorTable(context.colors, settings, random);

    state.centerX = width * 0.5;
    state.centerY = height * 0.5;
    state.centerX = Jitter(1.0 / 15, settings.Spread, random) * settings.View * state.centerX * 0.02;
    const double t = Jitter(1.0 / 15, settings.Spread, random) * settings.View * state.centerY * 0.02;
    state.centerY = (state.centerY - t) + state.centerY;

    state.aspect = static_cast<double>(height) / width;
    state.threshold = 1.0 - random.Draw() * (-1000.0 / 32767);

    state.zoom = 1e-6 - Jitter(0.1, settings.Spread, random) * settings.Scale * (-0.03);
    if (!(state.zoom >= 1e-6)) state.zoom = 1e-6;  // also catches NaN

    const double angle = random.Draw() * (3.14159 / 32767);
    double magnitude = 1.0 - Jitter(0.05, settings.Spread, random) * settings.Constant * (-0.002);
    if (angle > 2.8) magnitude *= 1.4;

    state.constant = CardioidPoint(magnitude, angle);

    canvas.ImageStarted(state);
}

}  // namespace zorv
