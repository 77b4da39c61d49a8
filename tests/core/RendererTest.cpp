// Column renderer: 26 columns per paint across image boundaries, abandonment
// after W ÷ 3 columns, presentation of finished images only, hostile settings
// and sizes, and golden hashes that pin the arithmetic.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "fractal/MemoryCanvas.h"
#include "fractal/Renderer.h"
#include "fractal/TimerPeriod.h"
#include "tests/core/PixelHash.h"

namespace zorv {
namespace {

// Records pixels per paint, image starts (as column steps since the run began)
// and what is presented, with the parameters of the image presented.
struct PaintRun : MemoryCanvas {
    FractalState state{};
    ColorTable colors{};
    SaverSettings settings = DefaultSettings();
    Random random;
    long long steps = 0, pixels = 0;
    std::vector<long long> starts;
    std::vector<FractalState> images;
    struct Shown {
        long long length;  // columns since the image started
        std::vector<std::uint32_t> pixels;
        FractalState image;
        ColorTable colors;
    };
    std::vector<Shown> shown;

    PaintRun(std::uint32_t seed, int w, int h) : MemoryCanvas(w, h), random(seed) { state.clientRect = {0, 0, w, h}; }
    void SetPixel(int x, int y, std::uint32_t color) override {
        MemoryCanvas::SetPixel(x, y, color);
        ++pixels;
    }
    void SetColumn(int x, int y, const std::uint32_t* colors, int count) override {
        MemoryCanvas::SetColumn(x, y, colors, count);
        pixels += count;
    }
    void ImageStarted(const FractalState& s) override {
        starts.push_back(steps + s.batch - 1);
        images.push_back(s);
    }
    void OnPresent(int, int) override {
        shown.push_back({steps + state.batch - 1 - starts.back(), Pixels(), images.back(), colors});
    }
    ColumnSource* source = nullptr;
    void Paint(int paints = 1) {
        for (int i = 0; i < paints; ++i) {
            RenderContext context{state, colors, settings, random};
            RenderColumnBatch(context, *this, source);
            steps += kColumnsPerPaint;
        }
    }
    // Columns between image starts.
    std::vector<long long> Lengths() const {
        std::vector<long long> out;
        for (std::size_t i = 1; i < starts.size(); ++i) out.push_back(starts[i] - starts[i - 1]);
        return out;
    }
};

TEST(Renderer, EveryPaintRendersExactly26ColumnsAcrossImageBoundaries) {
    for (int iters : {30, 100}) {  // the default, and the largest limits the sliders give
        PaintRun run(7, 30, 5);    // images end inside paints
        run.settings.Iters = iters;
        run.settings.Spread = iters == 100 ? 50 : 10;
        for (int paint = 0; paint < 40; ++paint) {
            const long long before = run.pixels;
            run.Paint();
            EXPECT_EQ(run.pixels - before, 26 * 5) << "paint " << paint;
        }
        EXPECT_GT(run.starts.size(), 30u);
    }
    PaintRun empty(8, 0, 5);  // width 0: a new image at every column
    empty.Paint();
    EXPECT_EQ(empty.starts.size(), 26u);
}

TEST(Renderer, ImagesWithoutDetailAreAbandonedAfterAThirdOfTheWidth) {
    for (int width : {640, 27, 3}) {  // height 0: no pixel, so never any detail
        PaintRun run(11, width, 0);
        run.Paint(60);
        ASSERT_GT(run.starts.size(), 2u);
        for (long long length : run.Lengths()) EXPECT_EQ(length, width / 3 + 1) << "width " << width;
        EXPECT_TRUE(run.shown.empty());
    }
    PaintRun uniform(5, 640, 2);  // a plane width of 1e-6 at the centre: every pixel alike
    uniform.settings.Scale = uniform.settings.Spread = uniform.settings.Constant = 0;
    uniform.settings.View = 50;
    uniform.Paint(30);
    ASSERT_GT(uniform.starts.size(), 2u);
    for (long long length : uniform.Lengths()) EXPECT_TRUE(length == 214 || length == 640) << length;
    EXPECT_TRUE(uniform.shown.empty());
}

TEST(Renderer, FinishedImagesWithDetailArePresentedWhole) {
    PaintRun run(2024, 52, 39);
    for (int paint = 0; paint < 60 && run.shown.size() < 3; ++paint) run.Paint();
    ASSERT_GE(run.shown.size(), 3u);
    for (const auto& shown : run.shown) {
        EXPECT_EQ(shown.length, 52) << "only a finished image is presented";
        FractalState image = shown.image;  // the canvas holds exactly that image, rendered afresh
        MemoryCanvas fresh(52, 39);
        for (image.column = 0; image.column < 52; ++image.column)
            for (image.row = 0; image.row < 39; ++image.row) RenderPixel(image, shown.colors, fresh);
        EXPECT_EQ(fresh.Pixels(), shown.pixels);
    }
}

// At the sliders' largest limit a paint still takes 26 whole columns, even when
// no pixel escapes: the budget is exactly that much.
TEST(Renderer, ABudgetOf26ColumnsAt529StepsTakesTheSlowestSliderImage) {
    PaintRun run(1, 100, 3);
    run.state.column = 1;  // inside an image with detail: no new image is drawn
    run.state.hasDetail = true;
    run.state.maxIter = 529;
    run.state.threshold = 2.0;
    run.state.zoom = run.state.aspect = 1e-3;  // |z| tiny and the constant 0: z → z² never escapes
    run.Paint();
    EXPECT_EQ(run.pixels, 26 * 3);
    EXPECT_EQ(run.state.column, 27);
}

// Columns taller than the count-to-colour lookup, at limits around its size,
// colour as pixels iterated one at a time do (here no pixel escapes).
TEST(Renderer, ColumnsColourAsSinglePixelsAtLimitsAroundTheLookupSize) {
    for (int maxIter : {479, 480}) {
        FractalState state{};
        state.clientRect = {0, 0, 1, 600};
        state.maxIter = maxIter;
        state.threshold = 2.0;
        state.zoom = state.aspect = 1.0;
        state.centerY = 300.0;  // z → z², |z| <= 0.5
        ColorTable colors{};
        for (std::size_t i = 0; i < 256; ++i) colors[i] = static_cast<std::uint32_t>(i * 3 + 1);
        MemoryCanvas column(1, 600), single(1, 600);
        RenderColumn(state, colors, column);
        for (state.row = 0; state.row < 600; ++state.row) RenderPixel(state, colors, single);
        EXPECT_EQ(column.Pixels(), single.Pixels()) << maxIter;
    }
}

TEST(Renderer, MandelbrotPixelsStartFromZeroSoTheFirstIterateIsThePoint) {
    FractalState state{};
    state.clientRect = {0, 0, 4, 4};
    state.maxIter = 50;
    state.threshold = 2.0;
    state.modeSelect = 1.0;
    state.zoom = 8.0;  // 2 plane units per pixel; pixel (1, 1) is the origin
    state.aspect = state.centerX = state.centerY = 1.0;
    state.firstPixelPending = true;
    ColorTable colors{};
    for (std::size_t i = 0; i < 256; ++i) colors[i] = static_cast<std::uint32_t>(i);
    MemoryCanvas canvas(4, 4);
    const struct {
        int column, row, iter;
        std::uint32_t color;
    } rows[] = {{1, 1, 50, 255}, {3, 1, 0, 0}, {1, 0, 1, 5}};  // c = 0 never escapes; 4 at once; 2i, then −4+2i
    for (const auto& r : rows) {
        state.column = r.column, state.row = r.row;
        RenderPixel(state, colors, canvas);
        EXPECT_EQ(state.iter, r.iter) << r.column << "," << r.row;
        EXPECT_EQ(canvas.Pixel(r.column, r.row), r.color) << r.column << "," << r.row;
    }
    EXPECT_EQ(state.z.re, -4.0);
    EXPECT_TRUE(state.hasDetail);
}

TEST(Renderer, HostileSettingsAndSizesNeitherTrapNorBreakTheFloors) {
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    const double values[] = {nan, inf, -inf, 1e300, -1e300};
    const int sizes[][2] = {{12, 9}, {0, 9}, {12, 0}, {1, 1}};
    for (int field = 0; field < 6; ++field) {
        for (double value : values) {
            for (const auto& size : sizes) {
                PaintRun run(99, size[0], size[1]);
                SaverSettings& s = run.settings;
                double* fields[] = {&s.Cycles, &s.Constant, &s.Scale, &s.View, &s.Spread};
                if (field < 5) {
                    // A huge finite Spread asks for billions of steps a pixel: no pixels then.
                    if (field == 4 && std::isfinite(value) && size[1] > 0) continue;
                    *fields[field] = value;
                } else {
                    s.Iters = value < 0 ? INT32_MIN : INT32_MAX;
                    s.Spread = 0;  // keeps the limit at its wrapped floor
                }
                run.Paint(3);
                for (const FractalState& image : run.images) {
                    EXPECT_GE(image.maxIter, 4) << field << "=" << value;
                    EXPECT_GE(image.zoom, 1e-6) << field << "=" << value;
                }
                for (std::uint32_t entry : run.colors) ASSERT_LE(entry, 0xFFFFFFu) << field << "=" << value;
            }
        }
    }
}

// Limits only a settings file can ask for: a paint stops once its budget is
// spent, mid-column or mid-pixel, and the images come out as without a budget.
TEST(Renderer, BudgetedPaintsGiveTheSameImagesAsUnboundedOnes) {
    struct Whole : ColumnSource {
        void Render(FractalState& s, const ColorTable& c, Canvas& canvas) override { RenderColumn(s, c, canvas); }
    } whole;
    PaintRun bounded(1, 26, 1), unbounded(1, 26, 1);  // one row: a budget of 26 × 529 steps
    unbounded.source = &whole;
    int emptyPaints = 0;  // spent inside one pixel
    for (PaintRun* run : {&bounded, &unbounded}) {
        run->settings.Iters = 100000;  // limits of 150004 steps
        run->settings.Spread = 0;
        for (int paint = 0; paint < 2000 && run->images.size() < 4; ++paint) {
            const long long before = run->pixels;
            run->Paint();
            emptyPaints += run->pixels == before;
        }
    }
    EXPECT_GT(emptyPaints, 0);
    ASSERT_EQ(bounded.images.size(), 4u) << "a stopped pixel was not picked up where it stopped";
    ASSERT_EQ(bounded.shown.size(), unbounded.shown.size());
    EXPECT_FALSE(bounded.shown.empty());
    for (std::size_t i = 0; i < bounded.shown.size(); ++i) {
        EXPECT_EQ(bounded.shown[i].pixels, unbounded.shown[i].pixels) << i;
        EXPECT_EQ(bounded.shown[i].image.centerX, unbounded.shown[i].image.centerX) << i;
    }
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(bounded.images[i].constant.re, unbounded.images[i].constant.re) << i;
}

TEST(Renderer, TimerPeriodIs2000MillisecondsOverTheSpeedTakenAsAtLeastOne) {
    const int rows[][2] = {{10, 200}, {3, 666}, {1, 2000}, {0, 2000}, {-7, 2000}, {2001, 0}};
    for (const auto& row : rows) EXPECT_EQ(TimerPeriodMs(row[0]), static_cast<unsigned>(row[1])) << row[0];
}

// Any change to the arithmetic or to the order of draws changes these hashes.
TEST(Renderer, GoldenHashesOfFirstPresentedImages) {
    const struct {
        std::uint32_t seed;
        int randomSettings;
        std::uint64_t hash;
    } rows[] = {
        {1, 0, 0x8f0feab81d54ed31ull},
        {2, 0, 0x1a5881e203786c42ull},
        {3, 0, 0x06454b27d0ab3b5full},
        {4, 1, 0x2f632f81d423a209ull},
    };
    for (const auto& r : rows) {
        PaintRun run(r.seed, 96, 64);
        run.settings.RandomSettings = r.randomSettings;
        for (int paint = 0; paint < 400 && run.shown.empty(); ++paint) run.Paint();
        ASSERT_FALSE(run.shown.empty()) << "seed " << r.seed;
        EXPECT_EQ(PixelHash(run.shown.front().pixels), r.hash) << "seed " << r.seed;
    }
}

}  // namespace
}  // namespace zorv
