// The fractal core: image parameters and colours at their split points, the
// escape-time paths, and the column renderer with golden hashes that pin the
// arithmetic.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <vector>

#include "fractal/EscapeKernel.h"
#include "fractal/MemoryCanvas.h"
#include "fractal/NewImage.h"
#include "fractal/Random.h"
#include "fractal/Renderer.h"

namespace zorv {
namespace {

// Test helpers: seeds that make the generator produce a chosen value at a
// chosen draw, by running the linear congruential step backwards.
// A seed whose draw number `position` (0-based) is `value`; `low` picks one of
// the 65536 such seeds.
std::uint32_t SeedForDraw(int position, int value, std::uint32_t low = 0x1234u) {
    std::uint32_t inverse = 214013u;  // Newton's iteration for the inverse modulo 2^32
    for (int i = 0; i < 5; ++i) inverse *= 2u - 214013u * inverse;
    std::uint32_t state = (static_cast<std::uint32_t>(value) << 16) | (low & 0xFFFFu);
    for (int i = 0; i <= position; ++i) state = (state - 2531011u) * inverse;
    return state;
}

int DrawAt(std::uint32_t seed, int position) {
    Random random(seed);
    for (int i = 0; i < position; ++i) random.Draw();
    return random.Draw();
}

// Test helper: FNV-1a over pixels, byte by byte, for golden-image checks.
std::uint64_t PixelHash(const std::vector<std::uint32_t>& pixels) {
    std::uint64_t hash = 14695981039346656037ull;
    for (std::uint32_t p : pixels) {
        for (int i = 0; i < 4; ++i) {
            hash ^= (p >> (8 * i)) & 0xFF;
            hash *= 1099511628211ull;
        }
    }
    return hash;
}

// A run of paints: records pixels per paint, image starts (as column steps
// since the run began) with their parameters, and the pixels presented.
struct PaintRun : MemoryCanvas {
    FractalState state{};
    ColorTable colors{};
    SaverSettings settings = DefaultSettings();
    Random random;
    long long steps = 0, pixels = 0;
    std::vector<long long> starts;
    std::vector<FractalState> images;
    std::vector<std::vector<std::uint32_t>> shown;  // the pixels of each image presented

    PaintRun(std::uint32_t seed, int w, int h) : MemoryCanvas(w, h), random(seed) { state.clientRect = {0, 0, w, h}; }
    // A new image from `seed`, without painting it.
    PaintRun& Start(std::uint32_t seed) {
        random.Seed(seed);
        RenderContext context{state, colors, settings, random};
        NewImage(context, *this);
        return *this;
    }
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
    void OnPresent(int, int) override { shown.push_back(Pixels()); }
    ColumnSource* source = nullptr;
    BatchWork Paint(int paints = 1) {
        BatchWork work{};
        for (int i = 0; i < paints; ++i) {
            RenderContext context{state, colors, settings, random};
            work = ComputeBatch(context, *this, source);
            steps += work.columns;
        }
        return work;
    }
    // Columns between image starts.
    std::vector<long long> Lengths() const {
        std::vector<long long> out;
        for (std::size_t i = 1; i < starts.size(); ++i) out.push_back(starts[i] - starts[i - 1]);
        return out;
    }
};

// Image parameters and colours at their split points: the boundaries the golden
// image hashes cannot reach. The arithmetic between them, and the number and
// order of the draws, are pinned by those hashes. One row per split: the draw
// just below and at each boundary.
TEST(NewImage, SplitPoints) {
    const struct {
        int position, draw;
        bool randomSettings;
        bool (*holds)(const PaintRun&);
    } rows[] = {
        {1, 19660, false, [](const PaintRun& i) { return i.state.escapeTest == EscapeTest::Modulus; }},
        {1, 19661, false, [](const PaintRun& i) { return i.state.escapeTest == EscapeTest::Sum; }},
        {1, 26213, false, [](const PaintRun& i) { return i.state.escapeTest == EscapeTest::Sum; }},
        {1, 26214, false, [](const PaintRun& i) { return i.state.escapeTest == EscapeTest::Component; }},
        {1, 32766, false, [](const PaintRun& i) { return i.state.escapeTest == EscapeTest::Component; }},
        {1, 32767, false, [](const PaintRun& i) { return i.state.escapeTest == EscapeTest::Product; }},
        {2, 6553, false, [](const PaintRun& i) { return IsMandelbrot(i.state); }},
        {2, 6554, false, [](const PaintRun& i) { return !IsMandelbrot(i.state); }},
        {0, 32767, true, [](const PaintRun& i) { return i.settings.Cycles == 60; }},  // random Cycles and Iters
        {1, 32766, true, [](const PaintRun& i) { return i.settings.Iters == 99; }},
        {1, 32767, true, [](const PaintRun& i) { return i.settings.Iters == 100; }},
    };
    for (const auto& row : rows) {
        PaintRun image(1, 64, 48);
        image.settings.RandomSettings = row.randomSettings;
        EXPECT_TRUE(row.holds(image.Start(SeedForDraw(row.position, row.draw)))) << row.position << ":" << row.draw;
    }
}

TEST(NewImage, FloorsHoldForZeroSettingsAndNegativeJitter) {
    PaintRun zero(1, 64, 48);  // (Iters 0 giving limits of 4: the renderer program's test)
    zero.settings.Scale = 0;
    EXPECT_EQ(zero.Start(5).state.zoom, 1e-6);
    // Spread 50 and a draw of 32767 turn the jitter of the limit and the zoom negative.
    PaintRun iter(1, 64, 48), zoom(1, 64, 48);
    iter.settings.Spread = zoom.settings.Spread = 50;
    EXPECT_EQ(iter.Start(SeedForDraw(0, 32767)).state.maxIter, 4);
    EXPECT_EQ(zoom.Start(SeedForDraw(14, 32767)).state.zoom, 1e-6);
}

TEST(EscapeTests, CompareSignedValuesStrictly) {
    bool (*const tests[])(double, double, double) = {EscapeModulus, EscapeSum, EscapeComponent, EscapeProduct};
    const double nan = std::nan("");
    const struct {
        double re, im, threshold;
        bool escapes[4];  // modulus, sum, component, product
    } rows[] = {
        {3, 4, 5, {false, true, false, true}},  // at the threshold: not beyond it
        {3, 4, 4.9, {true, true, false, true}},
        {-5000, -5000, 2, {true, false, false, true}},  // signed: large negative parts do not escape
        {-1, 3, 2, {true, false, true, false}},
        {nan, 1, 2, {false, false, false, false}},
    };
    for (const auto& r : rows)
        for (int t = 0; t < 4; ++t) EXPECT_EQ(tests[t](r.re, r.im, r.threshold), r.escapes[t]) << t << ": " << r.re << "," << r.im;
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
        PaintRun run(seed, 1, 1);
        MakeColorTable(run.colors, run.settings, run.random);
        const ColorTable& table = run.colors;
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
    }
}

// The escape-time paths: the modulus bound against sqrt over the doubles next
// to it, for ordinary and special thresholds; every path's counts against the
// scalar loop's (here for the 32-bit build too, which the fuzz target never
// sees), and the dispatcher's choice.
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::vector<double> Thresholds() {
    std::vector<double> t = {0.0,  -0.0,   -1.0,    -kInf,   -DBL_MIN, kNaN,    kInf,   DBL_MAX,  1e154,
                             1.3407807929942596e154, 1.3407807929942597e154, 4.9e-324, 1e-160, DBL_MIN, 0.5, 2.0};
    for (int i = 1; i <= 1001; i += 7) t.push_back(i);  // the saver's thresholds lie in 1..1001
    return t;  // (random thresholds of every magnitude: the differential fuzz target)
}

TEST(Kernel, ModulusBoundAgreesWithTheRootOnEveryDoubleNextToIt) {
    for (double t : Thresholds()) {
        const double bound = ModulusBound(t);
        std::vector<double> xs = {0.0, 4.9e-324, DBL_MIN, 1.0, 4.0, DBL_MAX, kInf, kNaN};
        double down = bound, up = bound;
        for (int i = 0; i < 64; ++i) {
            xs.push_back(down);
            xs.push_back(up);
            down = std::nextafter(down, -kInf);
            up = std::nextafter(up, kInf);
        }
        for (double x : xs) {
            if (x < 0) continue;  // re² + im² is never negative
            ASSERT_EQ(std::sqrt(x) > t, x > bound) << "t=" << t << " x=" << x << " bound=" << bound;
        }
    }
}

TEST(Kernel, EveryPathCountsAsTheScalarLoop) {
    const EscapeTest tests[] = {EscapeTest::Modulus, EscapeTest::Sum, EscapeTest::Component, EscapeTest::Product};
    for (double t : {2.0, 0.0, -1.0, kNaN, kInf, -kInf, 1000.0}) {
        for (EscapeTest test : tests) {
            for (bool mandelbrot : {false, true}) {
                // 37 rows: full blocks and a short last one on every path; rows
                // that escape at once, later, and never.
                const ColumnJob job{mandelbrot, {-0.75, 0.1}, -0.3, 18.0, 2.4, 1.0, 37.0, 60, test, t};
                std::int32_t want[37], got[37];
                IterateRows(job, 0, 37, want, KernelPath::Scalar);
                for (KernelPath path : kKernelPaths) {
                    if (!KernelPathRuns(path) || path == KernelPath::Scalar) continue;
                    IterateRows(job, 0, 37, got, path);
                    for (int r = 0; r < 37; ++r) ASSERT_EQ(got[r], want[r]) << KernelPathName(path) << " row " << r;
                }
            }
        }
    }
    // The scalar loop hands back where it stopped: a pixel stopped by a budget goes on from there.
    Complex whole{0, 0}, split = whole;  // c = 0.26 escapes from 0 after a few dozen steps
    const int all = IterateScalar(EscapeTest::Modulus, whole, {0.26, 0}, 100, 2.0);
    EXPECT_EQ(IterateScalar(EscapeTest::Modulus, split, {0.26, 0}, 10, 2.0) +
              IterateScalar(EscapeTest::Modulus, split, {0.26, 0}, 90, 2.0), all);
    // The dispatcher takes the fastest path that runs: SSE2 at least on every x86 build.
    const KernelPath chosen = ChosenKernelPath();
    for (KernelPath path : kKernelPaths) EXPECT_TRUE(path <= chosen || !KernelPathRuns(path)) << KernelPathName(path);
#if defined(__i386__) || defined(__x86_64__)
    EXPECT_TRUE(chosen != KernelPath::Scalar && KernelPathRuns(KernelPath::Scalar) && KernelPathRuns(KernelPath::Sse2));
    // The compiler's runtime reads the processor and the OS's saved state alike.
    EXPECT_EQ(KernelPathRuns(KernelPath::Avx2), __builtin_cpu_supports("avx2") != 0);
    EXPECT_EQ(KernelPathRuns(KernelPath::Avx512), __builtin_cpu_supports("avx512f") != 0);
#endif
}

// Column renderer: the first picture within a few paints, then 26 columns per
// paint across image boundaries; abandonment after W ÷ 3 columns, the paint
// budget, hostile settings, and golden hashes that pin the arithmetic and what
// is presented.
TEST(Renderer, TheFirstPictureComesWithinAFewBudgetedPaintsThenEveryPaintTakes26Columns) {
    PaintRun screen(20261207, 3840, 2160);  // the default settings on a 4K screen
    int paints = 0;
    for (; paints < 40 && screen.shown.empty(); ++paints) {
        EXPECT_LE(screen.Paint().steps, PaintBudget(2160)) << "paint " << paints;
    }
    EXPECT_LE(paints, 20) << "paints before the first picture";
    for (int paint = 0; paint < 3; ++paint) EXPECT_EQ(screen.Paint().columns, 26);
    // Small images end inside paints: the later paints still take 26 columns,
    // and the images, their fates and their pixels are those of 26-column paints
    // from the start.
    PaintRun hurried(7, 30, 5), paced(7, 30, 5);
    paced.state.imageShown = true;
    hurried.Paint();
    for (int paint = 0; paint < 40; ++paint) {
        const long long before = hurried.pixels;
        EXPECT_EQ(hurried.Paint().columns, 26);
        EXPECT_EQ(hurried.pixels - before, 26 * 5) << "paint " << paint;
    }
    while (paced.steps < hurried.steps) paced.Paint();
    ASSERT_GT(hurried.shown.size(), 20u);
    for (long long length : hurried.Lengths()) EXPECT_TRUE(length == 30 || length == 11) << "columns of an image: " << length;
    ASSERT_GE(paced.shown.size(), hurried.shown.size());
    for (std::size_t i = 0; i < hurried.shown.size(); ++i) EXPECT_EQ(hurried.shown[i], paced.shown[i]) << i;
    EXPECT_EQ(std::vector(paced.starts.begin(), paced.starts.begin() + static_cast<long>(hurried.starts.size())), hurried.starts);
    PaintRun empty(8, 0, 5);  // width 0: a new image at every column
    const int columns = empty.Paint().columns;
    EXPECT_EQ(columns, static_cast<int>(empty.starts.size()));
    // At the sliders' largest limit a paint takes 26 columns even when no pixel
    // escapes: the budget is exactly that much, and the run still hurrying to
    // its first picture takes no step more.
    PaintRun slow(1, 100, 3);
    slow.state.column = 1;  // inside an image with detail: no new image is drawn
    slow.state.hasDetail = true;
    slow.state.maxIter = 529;
    slow.state.threshold = 2.0;
    slow.state.zoom = slow.state.aspect = 1e-3;  // |z| tiny and the constant 0: z → z² never escapes
    EXPECT_EQ(slow.Paint().steps, 26 * 3 * 529LL);
}

TEST(Renderer, ImagesWithoutDetailAreAbandonedAfterAThirdOfTheWidth) {
    for (int width : {640, 27, 3}) {  // height 0: no pixel, so never any detail
        PaintRun run(11, width, 0);
        run.Paint(60);
        ASSERT_GT(run.starts.size(), 2u);
        for (long long length : run.Lengths()) EXPECT_EQ(length, width / 3 + 1) << "width " << width;
    }
    PaintRun uniform(5, 640, 2);  // a plane width of 1e-6 at the centre: every pixel alike
    uniform.settings.Scale = uniform.settings.Spread = uniform.settings.Constant = 0;
    uniform.settings.View = 50;
    uniform.Paint(30);
    ASSERT_GT(uniform.starts.size(), 2u);
    for (long long length : uniform.Lengths()) EXPECT_TRUE(length == 214 || length == 640) << length;
    EXPECT_TRUE(uniform.shown.empty());
}

// Columns taller than the count-to-colour lookup, at limits around its size,
// colour as pixels iterated one at a time do (here no pixel escapes; 4322 rows
// end in a chunk of one row before the last, scalar one, and are taller than
// the row ordinates kept per image); and each pixel that escapes at once counts
// one step, at any limit.
TEST(Renderer, ColumnsColourAsSinglePixelsAtLimitsAroundTheLookupSize) {
    for (int maxIter : {479, 480, INT32_MAX}) {  // the last: step sums beyond 32 bits
        FractalState state{};
        state.clientRect = {0, 0, 1, 4322};
        state.maxIter = maxIter;
        state.threshold = 2.0;
        state.zoom = state.aspect = 1.0;
        state.centerY = 1e9;  // every pixel escapes at once: one step each
        ColorTable colors{};
        for (std::size_t i = 0; i < 256; ++i) colors[i] = static_cast<std::uint32_t>(i * 3 + 1);
        MemoryCanvas column(1, 4322), single(1, 4322);
        ASSERT_EQ(ComputeColumn(state, colors, column), 4322);
        if (maxIter == INT32_MAX) continue;
        state.centerY = 2161.0;  // z → z², |z| <= 0.5
        EXPECT_EQ(ComputeColumn(state, colors, column), 4322LL * maxIter);  // steps: none escapes
        for (state.row = 0; state.row < 4322; ++state.row) ComputePixel(state, colors, single);
        EXPECT_EQ(column.Pixels(), single.Pixels()) << maxIter;
    }
}

// Like a device context, the canvas drops what falls outside it.
TEST(MemoryCanvas, DropsWhatFallsOutside) {
    MemoryCanvas canvas(2, 2);
    const int outside[][2] = {{-1, 0}, {0, -1}, {2, 1}, {1, 2}};
    for (const auto& p : outside) canvas.SetPixel(p[0], p[1], 9);
    canvas.SetColumn(1, -2, std::vector<std::uint32_t>{1, 2, 3, 4}.data(), 4);
    EXPECT_EQ(canvas.Pixels(), std::vector<std::uint32_t>({0, 3, 0, 4}));
}

// Settings no slider gives: no undefined behaviour (the sanitizers watch) and
// the floors hold, for NaN, infinities and ±1e300 in each real setting and the
// extreme limits a settings file can hold.
TEST(Renderer, HostileSettingsNeitherTrapNorBreakTheFloors) {
    const auto paint = [](auto SaverSettings::*field, auto value) {
        PaintRun run(99, 12, 9);
        run.settings.*field = value;
        run.Paint(3);
        for (const FractalState& image : run.images) EXPECT_TRUE(image.maxIter >= 4 && image.zoom >= 1e-6) << value;
        for (std::uint32_t entry : run.colors)  // colours of a non-finite cycle count are black, or white at the end
            ASSERT_TRUE(entry <= 0xFFFFFFu && (std::isfinite(run.settings.Cycles) || entry % 0xFFFFFFu == 0)) << value;
    };
    for (double value : {kNaN, kInf, -kInf, 1e300, -1e300}) {
        for (auto field : {&SaverSettings::Cycles, &SaverSettings::Constant, &SaverSettings::Scale, &SaverSettings::View})
            paint(field, value);
        if (!std::isfinite(value)) paint(&SaverSettings::Spread, value);  // a finite one asks billions of steps a pixel
    }
    for (std::int32_t iters : {INT32_MIN, INT32_MAX}) paint(&SaverSettings::Iters, iters);
}

// Limits only a settings file can ask for: a paint stops once its budget is
// spent, mid-column or mid-pixel, and the images come out as without a budget.
TEST(Renderer, BudgetedPaintsGiveTheSameImagesAsUnboundedOnes) {
    struct Whole : ColumnSource {
        void Compute(FractalState& s, const ColorTable& c, Canvas& canvas) override { ComputeColumn(s, c, canvas); }
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
    ASSERT_TRUE(!bounded.shown.empty() && bounded.shown.size() == unbounded.shown.size()) << unbounded.shown.size();
    for (std::size_t i = 0; i < bounded.shown.size(); ++i) EXPECT_EQ(bounded.shown[i], unbounded.shown[i]) << i;
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(bounded.images[i].constant.re, unbounded.images[i].constant.re) << i;
    const FractalState& s = bounded.state;  // a new size, even inside a pixel, starts an image over
    EXPECT_TRUE(s.pixelPending && TakeClientSize(bounded.state, 27, 1) && s.column == 0 && !s.hasDetail && !s.columnPending &&
                !s.pixelPending && !s.imageShown);
}

TEST(Renderer, GoldenHashesOfFirstPresentedImages) {
    const struct { std::uint32_t seed; int randomSettings; std::uint64_t hash; } rows[] = {
        {1, 0, 0x8f0feab81d54ed31ull}, {2, 0, 0x1a5881e203786c42ull},
        {3, 0, 0x06454b27d0ab3b5full}, {4, 1, 0x2f632f81d423a209ull}};
    for (const auto& r : rows) {
        PaintRun run(r.seed, 96, 64);
        run.settings.RandomSettings = r.randomSettings;
        for (int paint = 0; paint < 400 && run.shown.empty(); ++paint) run.Paint();
        ASSERT_FALSE(run.shown.empty()) << "seed " << r.seed;
        EXPECT_EQ(PixelHash(run.shown.front()), r.hash) << "seed " << r.seed;
    }
}

}  // namespace
}  // namespace zorv
