// New-image parameters: the number and order of draws, the split points of the
// draws, the Spread-0 formulas, the floors, and hostile settings.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "fractal/NewImage.h"
#include "tests/core/DrawControl.h"

namespace zorv {
namespace {

// Draw positions within one image without random settings.
constexpr int kIterDraw = 0, kEscapeDraw = 1, kModeDraw = 2, kOriginXDraw = 11,
              kZoomDraw = 14, kAngleDraw = 15;

class CountingCanvas : public Canvas {
public:
    void SetPixel(int, int, std::uint32_t) override { ++pixels; }
    void Present(int w, int h) override {
        ++presents;
        lastWidth = w;
        lastHeight = h;
    }
    int pixels = 0, presents = 0, lastWidth = -1, lastHeight = -1;
};

struct Image {
    FractalState state{};
    ColorTable colors{};
    SaverSettings settings = DefaultSettings();
    Random random{1};
    CountingCanvas canvas;

    void Start(std::uint32_t seed, int width = 640, int height = 480) {
        random.Seed(seed);
        state.clientRect = {0, 0, width, height};
        RenderContext context{state, colors, settings, random};
        NewImage(context, canvas);
    }
};

TEST(NewImage, ConsumesSeventeenDrawsOrTwentyThreeWithRandomSettings) {
    for (bool randomSettings : {false, true}) {
        Image image;
        image.settings.RandomSettings = randomSettings ? 1 : 0;
        image.Start(777);
        Random reference(777);
        for (int i = 0; i < kDrawsPerImage + (randomSettings ? kRandomSettingsDraws : 0); ++i) reference.Draw();
        EXPECT_EQ(image.random.State(), reference.State()) << "random settings " << randomSettings;
    }
}

TEST(NewImage, EscapeTestSplitPoints) {
    const struct {
        int draw;
        EscapeTest test;
    } cases[] = {{0, EscapeTest::Modulus},     {6553, EscapeTest::Modulus},  {6554, EscapeTest::Modulus},
                 {19660, EscapeTest::Modulus}, {19661, EscapeTest::Sum},     {26213, EscapeTest::Sum},
                 {26214, EscapeTest::Component}, {32766, EscapeTest::Component}, {32767, EscapeTest::Product}};
    for (const auto& c : cases) {
        Image image;
        image.Start(SeedForDraw(kEscapeDraw, c.draw));
        EXPECT_EQ(image.state.escapeTest, c.test) << "draw " << c.draw;
    }
}

TEST(NewImage, MandelbrotForModeDrawsUpTo6553) {
    const struct {
        int draw;
        bool mandelbrot;
        double modeSelect;
    } cases[] = {{0, true, 1.0}, {6553, true, 1.0 - 6553 * (2.0 / 32767)}, {6554, false, 1.0 - 6554 * (2.0 / 32767)},
                 {32767, false, -1.0}};
    for (const auto& c : cases) {
        Image image;
        image.Start(SeedForDraw(kModeDraw, c.draw));
        EXPECT_EQ(IsMandelbrot(image.state), c.mandelbrot) << "draw " << c.draw;
        EXPECT_EQ(image.state.modeSelect, c.modeSelect);
    }
}

TEST(NewImage, AngleAbove2Point8StrictlyScalesTheMagnitude) {
    const struct {
        int draw;
        double factor;
    } cases[] = {{29204, 1.0}, {29205, 1.4}, {0, 1.0}, {32767, 1.4}};
    for (const auto& c : cases) {
        Image image;
        image.settings.Spread = 0;  // every jitter is exactly 1
        image.Start(SeedForDraw(kAngleDraw, c.draw));
        const double angle = c.draw * (3.14159 / 32767);
        const double magnitude = (1.0 + 0.002 * 20.0) * c.factor;
        const Complex expected = CardioidPoint(magnitude, angle);
        EXPECT_NEAR(image.state.constant.re, expected.re, 1e-12) << "draw " << c.draw;
        EXPECT_NEAR(image.state.constant.im, expected.im, 1e-12) << "draw " << c.draw;
        EXPECT_EQ(image.state.addend.re, image.state.constant.re);
        EXPECT_EQ(image.state.addend.im, image.state.constant.im);
    }
}

TEST(NewImage, CardioidPointReachesTheCuspAndTheNeck) {
    const Complex cusp = CardioidPoint(1.0, 0.0);
    EXPECT_DOUBLE_EQ(cusp.re, 0.25);
    EXPECT_DOUBLE_EQ(cusp.im, 0.0);
    const Complex neck = CardioidPoint(2.0, 3.14159265358979323846);
    EXPECT_NEAR(neck.re, -1.5, 1e-12);
    EXPECT_NEAR(neck.im, 0.0, 1e-12);
    // On the boundary: |c − ¼| relates to the angle as ½e^(ia) − ¼e^(2ia) does.
    const Complex p = CardioidPoint(1.0, 1.0);
    EXPECT_NEAR(p.re, 0.5 * std::cos(1.0) - 0.25 * std::cos(2.0), 1e-15);
    EXPECT_NEAR(p.im, 0.5 * std::sin(1.0) - 0.25 * std::sin(2.0), 1e-15);
}

TEST(NewImage, FloorsHoldForZeroSettingsAndNegativeJitter) {
    Image zero;
    zero.settings.Iters = 0;
    zero.settings.Scale = 0;
    zero.Start(5);
    EXPECT_EQ(zero.state.maxIter, 4);
    EXPECT_EQ(zero.state.zoom, 1e-6);

    // Spread 50 and a signed draw of −1 turn J(0.05) and J(0.1) negative.
    Image iter;
    iter.settings.Spread = 50;
    iter.Start(SeedForDraw(kIterDraw, 32767));
    EXPECT_EQ(iter.state.maxIter, 4);

    Image zoom;
    zoom.settings.Spread = 50;
    zoom.Start(SeedForDraw(kZoomDraw, 32767));
    EXPECT_EQ(zoom.state.zoom, 1e-6);

    // J(1/15) negative puts the origin left of the client area.
    Image origin;
    origin.settings.Spread = 50;
    origin.Start(SeedForDraw(kOriginXDraw, 32767));
    EXPECT_LT(origin.state.centerX, 0.0);
}

TEST(NewImage, RandomItersReaches100OnlyAtTheTop) {
    for (int draw : {32766, 32767}) {
        Image image;
        image.settings.RandomSettings = 1;
        image.Start(SeedForDraw(1, draw));
        EXPECT_EQ(image.settings.Iters, draw == 32767 ? 100 : 99);
        EXPECT_EQ(image.settings.RandomSettings, 1);
    }
}

TEST(NewImage, PresentsOnlyWhenTheFinishedImageHasDetail) {
    Image image;
    image.Start(1, 64, 48);
    EXPECT_EQ(image.canvas.presents, 0) << "the first image of a run has nothing to show";
    EXPECT_TRUE(image.state.firstPixelPending);
    EXPECT_FALSE(image.state.hasDetail);
    image.state.hasDetail = true;
    image.state.column = 64;
    image.state.row = 48;
    image.Start(2, 64, 48);
    EXPECT_EQ(image.canvas.presents, 1);
    EXPECT_EQ(image.canvas.lastWidth, 64);
    EXPECT_EQ(image.canvas.lastHeight, 48);
    EXPECT_EQ(image.state.column, 0);
    EXPECT_EQ(image.state.row, 0);
    EXPECT_FALSE(image.state.hasDetail);
}

TEST(EscapeTests, CompareSignedValuesStrictly) {
    const struct {
        double re, im, threshold;
        bool modulus, sum, component, product;
    } cases[] = {
        {-5000, -5000, 2, true, false, false, true},
        {3, 4, 5, false, true, false, true},
        {3, 4, 4.9, true, true, false, true},
        {2, 0, 2, false, false, false, false},
        {2.5, -0.1, 2, true, true, true, false},
        {std::nan(""), 1, 2, false, false, false, false},
        {-1, 3, 2, true, false, true, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EscapeModulus(c.re, c.im, c.threshold), c.modulus) << c.re << "," << c.im;
        EXPECT_EQ(EscapeSum(c.re, c.im, c.threshold), c.sum) << c.re << "," << c.im;
        EXPECT_EQ(EscapeComponent(c.re, c.im, c.threshold), c.component) << c.re << "," << c.im;
        EXPECT_EQ(EscapeProduct(c.re, c.im, c.threshold), c.product) << c.re << "," << c.im;
    }
}

}  // namespace
}  // namespace zorv
