// Column renderer: 26 columns per paint across image boundaries, abandonment
// after W ÷ 3 columns, presentation of finished images only, hostile settings
// and sizes, and golden hashes that pin the arithmetic.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <vector>

#include "fractal/MemoryCanvas.h"
#include "fractal/Renderer.h"
#include "tests/core/PixelHash.h"

namespace zorv {
namespace {

// Records where pixels go, when images start (as loop steps since the run
// began) and what is presented.
class ProbeCanvas : public MemoryCanvas {
public:
    ProbeCanvas(int w, int h, const FractalState& state, const ColorTable& colors)
        : MemoryCanvas(w, h), m_state(state), m_colors(colors) {}

    void SetPixel(int x, int y, std::uint32_t color) override {
        MemoryCanvas::SetPixel(x, y, color);
        ++pixelsThisPaint;
        columnsThisPaint.insert(x);
    }
    void SetColumn(int x, int y, const std::uint32_t* colors, int count) override {
        for (int i = 0; i < count; ++i) SetPixel(x, y + i, colors[i]);
    }
    void ImageStarted(const FractalState& state) override {
        starts.push_back(paints * kColumnsPerPaint + (state.batch - 1));
        startStates.push_back(state);
    }
    void BeginPaint() {
        pixelsThisPaint = 0;
        columnsThisPaint.clear();
    }

    struct Presentation {
        int width, height;
        long long step;  // loop step of the presentation, comparable with starts
        bool hasDetail;
        std::vector<std::uint32_t> pixels;
        FractalState image;  // parameters of the presented image
        ColorTable colors;
        long long imageStart;
    };
    std::vector<Presentation> presented;
    std::vector<long long> starts;
    std::vector<FractalState> startStates;
    long long paints = 0;
    long long pixelsThisPaint = 0;
    std::set<int> columnsThisPaint;

protected:
    void OnPresent(int width, int height) override {
        presented.push_back({width, height, paints * kColumnsPerPaint + (m_state.batch - 1), m_state.hasDetail, Pixels(), startStates.back(), m_colors, starts.back()});
    }

private:
    const FractalState& m_state;
    const ColorTable& m_colors;
};

struct PaintRun {
    FractalState state{};
    ColorTable colors{};
    SaverSettings settings = DefaultSettings();
    Random random;
    ProbeCanvas canvas;

    PaintRun(std::uint32_t seed, int w, int h) : random(seed), canvas(w, h, state, colors) {
        state.clientRect = {0, 0, w, h};
    }

    void Paint() {
        canvas.BeginPaint();
        RenderContext context{state, colors, settings, random};
        RenderColumnBatch(context, canvas);
        ++canvas.paints;
    }
};

TEST(Renderer, EveryPaintRendersExactly26ColumnsAcrossImageBoundaries) {
    PaintRun run(7, 30, 5);  // images end inside paints
    for (int paint = 0; paint < 40; ++paint) {
        run.Paint();
        EXPECT_EQ(run.canvas.pixelsThisPaint, 26 * 5) << "paint " << paint;
        EXPECT_EQ(run.state.batch, 0);
    }
    EXPECT_GT(run.canvas.starts.size(), 30u);
}

TEST(Renderer, ImagesStartAtColumnZeroAndFirstPaintStartsOne) {
    PaintRun run(3, 100, 10);
    run.Paint();
    ASSERT_FALSE(run.canvas.starts.empty());
    EXPECT_EQ(run.canvas.starts.front(), 0);
    EXPECT_TRUE(run.canvas.presented.empty()) << "the first image is never presented at its start";
    EXPECT_EQ(*run.canvas.columnsThisPaint.begin(), 0);
}

TEST(Renderer, HeightZeroAbandonsEveryImageAfterAThirdOfTheWidth) {
    for (int width : {640, 27, 3}) {
        PaintRun run(11, width, 0);
        for (int paint = 0; paint < 60; ++paint) run.Paint();
        const auto& starts = run.canvas.starts;
        ASSERT_GT(starts.size(), 2u);
        for (std::size_t i = 1; i < starts.size(); ++i)
            EXPECT_EQ(starts[i] - starts[i - 1], width / 3 + 1) << "width " << width << " image " << i;
        EXPECT_TRUE(run.canvas.presented.empty());
    }
}

TEST(Renderer, UniformImageIsAbandonedAtColumn214Of640) {
    PaintRun run(5, 640, 2);
    run.settings.Scale = 0;  // the whole window shows a plane width of 1e-6
    run.settings.Spread = 0;
    run.settings.View = 50;  // centred, so every pixel sits at the same point to 1e-6
    run.settings.Constant = 0;
    for (int paint = 0; paint < 30; ++paint) run.Paint();
    const auto& starts = run.canvas.starts;
    ASSERT_GT(starts.size(), 2u);
    for (std::size_t i = 1; i < starts.size(); ++i) {
        if (starts[i] - starts[i - 1] != 640) EXPECT_EQ(starts[i] - starts[i - 1], 214) << "image " << i;
    }
    EXPECT_TRUE(run.canvas.presented.empty());
}

TEST(Renderer, FinishedImagesWithDetailArePresentedWhole) {
    PaintRun run(2024, 52, 39);
    for (int paint = 0; paint < 60 && run.canvas.presented.size() < 3; ++paint) run.Paint();
    ASSERT_GE(run.canvas.presented.size(), 3u);
    for (const auto& shown : run.canvas.presented) {
        EXPECT_EQ(shown.width, 52);
        EXPECT_EQ(shown.height, 39);
        EXPECT_EQ(shown.step - shown.imageStart, 52) << "only a finished image is presented";
        EXPECT_TRUE(shown.hasDetail);
        // The canvas holds exactly that image, rendered afresh from its parameters.
        FractalState image = shown.image;
        MemoryCanvas fresh(52, 39);
        for (image.column = 0; image.column < 52; ++image.column)
            for (image.row = 0; image.row < 39; ++image.row) RenderPixel(image, shown.colors, fresh);
        EXPECT_EQ(fresh.Pixels(), shown.pixels);
    }
}

TEST(Renderer, MandelbrotPixelsStartFromZeroSoTheFirstIterateIsThePoint) {
    FractalState state{};
    state.clientRect = {0, 0, 4, 4};
    state.maxIter = 50;
    state.escapeTest = EscapeTest::Modulus;
    state.threshold = 2.0;
    state.modeSelect = 1.0;
    state.zoom = 8.0;  // 2 plane units per pixel
    state.aspect = 1.0;
    state.centerX = 1.0;  // pixel column 1 is re 0
    state.centerY = 1.0;  // pixel row 1 is im 0
    state.firstPixelPending = true;
    ColorTable colors{};
    for (std::size_t i = 0; i < 256; ++i) colors[i] = static_cast<std::uint32_t>(i);
    MemoryCanvas canvas(4, 4);

    state.column = 1, state.row = 1;  // c = 0: never escapes
    RenderPixel(state, colors, canvas);
    EXPECT_EQ(state.iter, 50);
    EXPECT_EQ(canvas.Pixel(1, 1), 255u);

    state.column = 3, state.row = 1;  // c = 4: the first iterate is 4, beyond 2
    RenderPixel(state, colors, canvas);
    EXPECT_EQ(state.iter, 0);
    EXPECT_EQ(state.z.re, 4.0);
    EXPECT_EQ(canvas.Pixel(3, 1), 0u);
    EXPECT_TRUE(state.hasDetail);

    state.column = 1, state.row = 0;  // c = 2i: iterates 2i, −4+2i escapes at the second step
    RenderPixel(state, colors, canvas);
    EXPECT_EQ(state.iter, 1);
    EXPECT_EQ(state.z.re, -4.0);
    EXPECT_EQ(state.z.im, 2.0);
    EXPECT_EQ(canvas.Pixel(1, 0), 255u * 1 / 50);
}

TEST(Renderer, HostileSettingsAndSizesNeitherTrapNorBreakTheFloors) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* name;
        void (*apply)(SaverSettings&, double);
        double value;
        bool pixels = true;  // huge finite Spread gives limits of a billion steps: draw no pixels then
    };
    auto cycles = [](SaverSettings& s, double v) { s.Cycles = v; };
    auto constant = [](SaverSettings& s, double v) { s.Constant = v; };
    auto scale = [](SaverSettings& s, double v) { s.Scale = v; };
    auto view = [](SaverSettings& s, double v) { s.View = v; };
    auto spread = [](SaverSettings& s, double v) { s.Spread = v; };
    auto iters = [](SaverSettings& s, double v) {
        s.Iters = v < 0 ? INT32_MIN : INT32_MAX;
        s.Spread = 0;  // keeps the limit at its wrapped floor instead of billions of steps
    };
    const Case cases[] = {
        {"Cycles", cycles, nan},     {"Cycles", cycles, inf},    {"Cycles", cycles, -1e300},
        {"Constant", constant, nan}, {"Constant", constant, -inf}, {"Constant", constant, 1e300},
        {"Scale", scale, nan},       {"Scale", scale, inf},      {"Scale", scale, -1e300},
        {"View", view, nan},         {"View", view, -inf},       {"View", view, 1e300},
        {"Spread", spread, nan},     {"Spread", spread, inf},    {"Spread", spread, 1e9, false},
        {"Spread", spread, -1e300, false},  {"Iters", iters, -1},       {"Iters", iters, 1},
    };
    const int sizes[][2] = {{12, 9}, {0, 9}, {12, 0}, {0, 0}, {1, 1}};
    for (const Case& c : cases) {
        for (const auto& size : sizes) {
            if (!c.pixels && size[1] > 0) continue;  // a width of 0 still draws column 0
            PaintRun run(99, size[0], size[1]);
            c.apply(run.settings, c.value);
            for (int paint = 0; paint < 3; ++paint) run.Paint();
            for (const FractalState& image : run.canvas.startStates) {
                EXPECT_GE(image.maxIter, 4) << c.name << "=" << c.value;
                EXPECT_GE(image.zoom, 1e-6) << c.name << "=" << c.value;
                EXPECT_GE(image.threshold, 1.0);
                EXPECT_LE(image.threshold, 1001.0);
            }
            for (std::uint32_t entry : run.colors) ASSERT_LE(entry, 0xFFFFFFu) << c.name << "=" << c.value;
        }
    }
}

TEST(Renderer, WidthZeroStartsANewImageAtEveryColumn) {
    PaintRun run(8, 0, 5);
    run.Paint();
    EXPECT_EQ(run.canvas.starts.size(), 26u);
}

// Any change to the arithmetic or to the order of draws changes these hashes.
TEST(Renderer, GoldenHashesOfFirstPresentedImages) {
    const struct {
        std::uint32_t seed;
        bool randomSettings;
        std::uint64_t hash;
        int maxIter;
    } cases[] = {
        {1, false, 0x8f0feab81d54ed31ull, 45},
        {2, false, 0x1a5881e203786c42ull, 29},
        {3, false, 0x06454b27d0ab3b5full, 49},
        {4, true, 0x2f632f81d423a209ull, 39},
    };
    for (const auto& c : cases) {
        PaintRun run(c.seed, 96, 64);
        run.settings.RandomSettings = c.randomSettings ? 1 : 0;
        while (run.canvas.presented.empty() && run.canvas.paints < 400) run.Paint();
        ASSERT_FALSE(run.canvas.presented.empty()) << "seed " << c.seed;
        const auto& shown = run.canvas.presented.front();
        EXPECT_EQ(PixelHash(shown.pixels), c.hash) << "seed " << c.seed;
        EXPECT_EQ(shown.image.maxIter, c.maxIter) << "seed " << c.seed;
    }
}

}  // namespace
}  // namespace zorv
