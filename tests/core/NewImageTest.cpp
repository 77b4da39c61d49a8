// Image parameters and colours at their split points: the boundaries the golden
// image hashes cannot reach. The arithmetic between them, and the number and
// order of the draws, are pinned by those hashes.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "fractal/NewImage.h"
#include "tests/core/DrawControl.h"

namespace zorv {
namespace {

struct NullCanvas : Canvas {
    void SetPixel(int, int, std::uint32_t) override {}
    void Present(int, int) override {}
};

struct Image {
    FractalState state{};
    ColorTable colors{};
    SaverSettings settings = DefaultSettings();
    Random random{1};
    NullCanvas canvas;

    Image& Start(std::uint32_t seed) {
        random.Seed(seed);
        state.clientRect = {0, 0, 64, 48};
        RenderContext context{state, colors, settings, random};
        NewImage(context, canvas);
        return *this;
    }
};

// One row per split: the draw just below and at each boundary.
TEST(NewImage, SplitPoints) {
    const struct {
        int position, draw;
        bool randomSettings;
        bool (*holds)(const Image&);
    } rows[] = {
        {1, 19660, false, [](const Image& i) { return i.state.escapeTest == EscapeTest::Modulus; }},
        {1, 19661, false, [](const Image& i) { return i.state.escapeTest == EscapeTest::Sum; }},
        {1, 26213, false, [](const Image& i) { return i.state.escapeTest == EscapeTest::Sum; }},
        {1, 26214, false, [](const Image& i) { return i.state.escapeTest == EscapeTest::Component; }},
        {1, 32766, false, [](const Image& i) { return i.state.escapeTest == EscapeTest::Component; }},
        {1, 32767, false, [](const Image& i) { return i.state.escapeTest == EscapeTest::Product; }},
        {2, 6553, false, [](const Image& i) { return IsMandelbrot(i.state); }},
        {2, 6554, false, [](const Image& i) { return !IsMandelbrot(i.state); }},
        {1, 32766, true, [](const Image& i) { return i.settings.Iters == 99; }},  // random Iters
        {1, 32767, true, [](const Image& i) { return i.settings.Iters == 100; }},
    };
    for (const auto& row : rows) {
        Image image;
        image.settings.RandomSettings = row.randomSettings;
        EXPECT_TRUE(row.holds(image.Start(SeedForDraw(row.position, row.draw)))) << row.position << ":" << row.draw;
    }
}

TEST(NewImage, AngleAbove2Point8ScalesTheMagnitudeBy1Point4) {
    const auto magnitude = [](int draw) {
        Image image;
        image.settings.Spread = 0;  // every jitter is exactly 1
        image.Start(SeedForDraw(15, draw));
        EXPECT_EQ(image.state.addend.re, image.state.constant.re);
        const Complex c = image.state.constant;  // m(½e^(ia) − ¼e^(2ia)), a cardioid point
        const double a = draw * (3.14159 / 32767);
        return std::hypot(c.re, c.im) / std::hypot(0.5 * std::cos(a) - 0.25 * std::cos(2 * a),
                                                   0.5 * std::sin(a) - 0.25 * std::sin(2 * a));
    };
    EXPECT_NEAR(magnitude(29204), 1.04, 1e-9);
    EXPECT_NEAR(magnitude(29205), 1.04 * 1.4, 1e-9);
}

TEST(NewImage, FloorsHoldForZeroSettingsAndNegativeJitter) {
    Image zero;
    zero.settings.Iters = 0;
    zero.settings.Scale = 0;
    zero.Start(5);
    EXPECT_EQ(zero.state.maxIter, 4);
    EXPECT_EQ(zero.state.zoom, 1e-6);
    // Spread 50 and a draw of 32767 turn the jitter of the limit and the zoom negative.
    Image iter, zoom;
    iter.settings.Spread = zoom.settings.Spread = 50;
    EXPECT_EQ(iter.Start(SeedForDraw(0, 32767)).state.maxIter, 4);
    EXPECT_EQ(zoom.Start(SeedForDraw(14, 32767)).state.zoom, 1e-6);
}

TEST(EscapeTests, CompareSignedValuesStrictly) {
    const double nan = std::nan("");
    const struct {
        double re, im, threshold;
        bool modulus, sum, component, product;
    } rows[] = {
        {3, 4, 5, false, true, false, true},      // at the threshold: not beyond it
        {3, 4, 4.9, true, true, false, true},
        {-5000, -5000, 2, true, false, false, true},  // signed: large negative parts do not escape
        {-1, 3, 2, true, false, true, false},
        {nan, 1, 2, false, false, false, false},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(EscapeModulus(r.re, r.im, r.threshold), r.modulus) << r.re << "," << r.im;
        EXPECT_EQ(EscapeSum(r.re, r.im, r.threshold), r.sum) << r.re << "," << r.im;
        EXPECT_EQ(EscapeComponent(r.re, r.im, r.threshold), r.component) << r.re << "," << r.im;
        EXPECT_EQ(EscapeProduct(r.re, r.im, r.threshold), r.product) << r.re << "," << r.im;
    }
}

ColorTable MakeTable(std::uint32_t seed) {
    SaverSettings settings = DefaultSettings();
    Random random(seed);
    ColorTable table{};
    MakeColorTable(table, settings, random);
    return table;
}

// Draw 6 switches stripes on at 31129 (every fourth entry black), draw 7 the
// end colours at 16384 (white first, black last); the ends come last.
TEST(ColorTable, StripesAndEndColoursSwitchOnAtTheirSplits) {
    const struct {
        int position, draw;
        bool otherOn;  // the other touch
    } rows[] = {{6, 31128, false}, {6, 31129, false}, {6, 31129, true}, {7, 16383, false}, {7, 16384, true}};
    for (const auto& row : rows) {
        const int other = row.position == 6 ? 7 : 6, split = other == 6 ? 31129 : 16384;
        std::uint32_t seed = 0;
        for (std::uint32_t low = 0; low < 0x10000u && !seed; ++low) {
            const std::uint32_t s = SeedForDraw(row.position, row.draw, low);
            if ((DrawAt(s, other) >= split) == row.otherOn) seed = s;
        }
        const ColorTable table = MakeTable(seed);
        const bool stripes = row.position == 6 ? row.draw >= 31129 : row.otherOn;
        const bool ends = row.position == 7 ? row.draw >= 16384 : row.otherOn;
        int black = 0;
        for (std::size_t i = 4; i < 256; i += 4) black += table[i] == 0;
        EXPECT_EQ(black == 63, stripes) << row.position << ":" << row.draw;
        EXPECT_EQ(table[0] == 0xFFFFFFu && table[255] == 0u, ends) << row.position << ":" << row.draw;
    }
}

TEST(ColorTable, NeverEscapingPixelsTakeTheLastEntryAtAnyLimit) {
    for (int maxIter : {4, 8421505, 8421506, 1 << 30, std::numeric_limits<int>::max()}) {
        EXPECT_EQ(ColorIndex(maxIter, maxIter), 255) << maxIter;
        EXPECT_EQ(ColorIndex(maxIter - 1, maxIter), maxIter == 4 ? 191 : 254) << maxIter;
        EXPECT_EQ(ColorIndex(0, maxIter), 0) << maxIter;
    }
}

}  // namespace
}  // namespace zorv
