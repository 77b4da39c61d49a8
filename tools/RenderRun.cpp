// Saver runs and fixed images for the headless renderer, on the saver's own
// renderer and parameter code.
#include "tools/RenderRun.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

#include "fractal/Random.h"
#include "fractal/Renderer.h"
#include "image/Bmp24.h"

namespace zorv {

namespace {

void AppendReal(std::string& json, double value) {
    if (std::isnan(value)) {
        json += "\"nan\"";
    } else if (std::isinf(value)) {
        json += value > 0 ? "\"inf\"" : "\"-inf\"";
    } else {
        char text[40];
        std::snprintf(text, sizeof text, "%.17g", value);
        json += text;
    }
}

std::string ImagePath(const std::string& dir, long long number) {
    char name[32];
    std::snprintf(name, sizeof name, "zorv-%04lld.bmp", number);
    return (std::filesystem::path(dir) / name).string();
}

// The file appears whole or not at all: it is written under a temporary name in
// the same folder and then renamed over the final one, so a full disk leaves no
// truncated picture behind.
bool WriteBmp(const std::string& path, const MemoryCanvas& canvas, std::FILE* err) {
    const std::string temporary = path + ".tmp";
    std::error_code error;
    errno = 0;
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    const bool written = file && WriteBmp24(file, canvas.Width(), canvas.Height(), canvas.Columns());
    if (file.is_open()) file.close();
    if (!written || !file) error.assign(errno != 0 ? errno : EIO, std::generic_category());
    if (!error) std::filesystem::rename(temporary, path, error);
    if (!error) return true;
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    std::fprintf(err, "zorv-render: cannot write %s: %s\n", path.c_str(), error.message().c_str());
    return false;
}

bool MakeOutDir(const std::string& dir, std::FILE* err) {
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (std::filesystem::is_directory(dir, error)) return true;
    std::fprintf(err, "zorv-render: --out: cannot create folder %s\n", dir.c_str());
    return false;
}

// The saver's canvas, whose presentations become files and whose image starts
// become parameter lines once each image's fate is known. The run ends at an
// image start: the one after the last image wanted was presented, or the
// limit-th. Nothing after that counts, so where a batch ends (they differ
// between one thread and several) changes nothing.
class GalleryCanvas : public MemoryCanvas {
public:
    GalleryCanvas(const RenderOptions& options, std::FILE* out, std::FILE* err)
        : MemoryCanvas(options.width, options.height), m_options(options), m_out(out), m_err(err) {}

    void WatchColors(const ColorTable* colors) { m_colors = colors; }
    long long Presented() const { return m_presented; }
    long long Started() const { return m_started; }
    bool Ended() const { return m_ended || m_failed; }
    bool Failed() const { return m_failed; }

    void Finish() {
        if (m_started > 0) EmitPending("unfinished");
        errno = 0;
        if (!m_failed && std::fflush(m_out) != 0) FailOutput();
    }

protected:
    void OnPresent(int, int) override {
        if (Ended()) return;
        m_presentedSinceStart = true;
        ++m_presented;
        if (!WriteBmp(ImagePath(m_options.outDir, m_presented), *this, m_err)) m_failed = true;
    }

    void ImageStarted(const FractalState& state) override {
        if (Ended()) return;
        if (m_started > 0) EmitPending(m_presentedSinceStart ? "presented" : "abandoned");
        m_presentedSinceStart = false;
        ++m_started;
        m_pendingState = state;
        m_pendingColors = m_colors ? *m_colors : ColorTable{};
        m_ended = m_presented >= m_options.images || m_started >= m_options.limit;
    }

private:
    void EmitPending(const char* fate) {
        if (!m_options.params || m_failed) return;
        const std::string line = ImageParamsJson(m_started, m_pendingState, m_pendingColors, fate) + "\n";
        errno = 0;
        if (std::fputs(line.c_str(), m_out) < 0 || std::ferror(m_out)) FailOutput();
    }

    void FailOutput() {
        const char* reason = errno != 0 ? std::strerror(errno) : "write error";
        std::fprintf(m_err, "zorv-render: --params: cannot write standard output: %s\n", reason);
        m_failed = true;
    }

    const RenderOptions& m_options;
    std::FILE* m_out;
    std::FILE* m_err;
    const ColorTable* m_colors = nullptr;
    long long m_presented = 0;
    long long m_started = 0;
    bool m_presentedSinceStart = false;
    bool m_ended = false;
    bool m_failed = false;
    FractalState m_pendingState{};
    ColorTable m_pendingColors{};
};

// Columns of the current image computed ahead on several threads. What a column
// does to the state depends only on the image's parameters, so columns can be
// computed in any order and merged in column order when the batch asks for
// them. Every image renders its first W ÷ 3 + 1 columns, and all W only when it
// has detail by then: those two ranges are computed as wholes, so no column is
// computed that a single thread would not compute too (but for the last image
// of a run, which is never shown).
class AheadColumns : public ColumnSource {
public:
    AheadColumns(int threads, std::FILE* err) : m_threads(threads), m_err(err) {}

    void Compute(FractalState& state, const ColorTable& colors, Canvas& canvas) override {
        const int width = state.clientRect.right;
        const int column = state.column;
        if (column == 0 || static_cast<int>(m_results.size()) != width) {  // column 0 starts every image
            m_results.assign(static_cast<std::size_t>(width), Column{});
        }
        if (!m_results[static_cast<std::size_t>(column)].done) {
            const int third = width / 3 + 1;
            ComputeRange(state, colors, canvas, column, column < third && third < width ? third : width);
        }
        const Column& result = m_results[static_cast<std::size_t>(column)];
        state.row = result.row;
        if (!result.pixels) return;
        if (state.firstPixelPending) {
            state.firstPixelPending = false;
            state.firstIter = result.firstIter;
            state.hasDetail = false;
        }
        if (result.hasDetail || result.firstIter != state.firstIter) state.hasDetail = true;
        state.z = result.z;
        state.iter = result.iter;
        state.point = result.point;
    }

private:
    struct Column {
        bool done = false;
        bool pixels = false;
        int firstIter = 0;
        bool hasDetail = false;  // within the column: a pixel unlike its top one
        Complex z{};
        int iter = 0;
        Complex point{};
        int row = 0;
    };

    // Columns [c0, c1) into the canvas (each thread its own columns) and their results.
    void ComputeRange(const FractalState& image, const ColorTable& colors, Canvas& canvas, int c0, int c1) {
        std::atomic<int> next{c0};
        const auto work = [&] {
            for (int c = next++; c < c1; c = next++) {
                FractalState state = image;
                state.column = c;
                state.firstPixelPending = true;
                ComputeColumn(state, colors, canvas);
                Column& result = m_results[static_cast<std::size_t>(c)];
                result.done = true;
                result.pixels = state.clientRect.bottom > 0;
                result.firstIter = state.firstIter;
                result.hasDetail = state.hasDetail;
                result.z = state.z;
                result.iter = state.iter;
                result.point = state.point;
                result.row = state.row;
            }
        };
        // A thread the system will not give (too many, no memory for its stack)
        // leaves the work to those that started, and the run goes on with them.
        std::vector<std::thread> helpers;
        helpers.reserve(static_cast<std::size_t>(m_threads));
        for (int i = 1; i < m_threads && i < c1 - c0; ++i) {
            try {
                helpers.emplace_back(work);
            } catch (const std::exception& error) {
                std::fprintf(m_err, "zorv-render: --threads: thread %d did not start (%s); going on with %d\n", i + 1,
                             error.what(), i);
                m_threads = i;
            }
        }
        work();
        for (std::thread& helper : helpers) helper.join();
    }

    int m_threads;
    std::FILE* m_err;
    std::vector<Column> m_results;
};

int ThreadCount(const RenderOptions& options) {
    if (options.threads > 0) return options.threads;
    const unsigned cores = std::thread::hardware_concurrency();
    return cores > 0 ? static_cast<int>(cores) : 1;
}

}  // namespace

std::string ImageParamsJson(long long image, const FractalState& state, const ColorTable& colors, const char* fate) {
    std::string json = "{\"image\":" + std::to_string(image);
    json += ",\"maxIter\":" + std::to_string(state.maxIter);
    json += ",\"escapeTest\":\"";
    json += EscapeTestName(state.escapeTest);
    json += "\",\"threshold\":";
    AppendReal(json, state.threshold);
    json += ",\"modeSelect\":";
    AppendReal(json, state.modeSelect);
    json += IsMandelbrot(state) ? ",\"mandelbrot\":true" : ",\"mandelbrot\":false";
    json += ",\"centerX\":";
    AppendReal(json, state.centerX);
    json += ",\"centerY\":";
    AppendReal(json, state.centerY);
    json += ",\"zoom\":";
    AppendReal(json, state.zoom);
    json += ",\"aspect\":";
    AppendReal(json, state.aspect);
    json += ",\"constantRe\":";
    AppendReal(json, state.constant.re);
    json += ",\"constantIm\":";
    AppendReal(json, state.constant.im);
    json += ",\"colors\":[";
    for (std::size_t i = 0; i < colors.size(); ++i) {
        if (i) json += ',';
        json += std::to_string(colors[i]);
    }
    json += "],\"fate\":\"";
    json += fate;
    json += "\"}";
    return json;
}

long long RenderWholeImage(FractalState& state, const ColorTable& colors, Canvas& canvas, KernelPath path) {
    long long iterations = 0;
    const int width = state.clientRect.right;
    for (state.column = 0; state.column < width; ++state.column) iterations += ComputeColumn(state, colors, canvas, path);
    return iterations;
}

void SetUpFixedImage(const FixedImageOptions& fixed, int width, int height, const SaverSettings& settings,
                     FractalState& state, ColorTable& colors) {
    state = FractalState{};
    state.clientRect = {0, 0, width, height};
    state.maxIter = fixed.maxIter;
    state.escapeTest = fixed.escapeTest;
    state.threshold = fixed.threshold;
    state.modeSelect = fixed.mandelbrot ? 1.0 : -1.0;
    state.zoom = fixed.planeWidth;
    state.aspect = static_cast<double>(height) / width;
    // The pixel mapping is re = (x − centerX) × zoom ÷ W and im = (centerY − y) × zoom ÷ W,
    // so the plane point (X, Y) lands on the image centre with these origins.
    state.centerX = width * 0.5 - fixed.centerX * width / fixed.planeWidth;
    state.centerY = height * 0.5 + fixed.centerY * width / fixed.planeWidth;
    state.constant = {fixed.constantRe, fixed.constantIm};
    state.firstPixelPending = true;

    Random random(fixed.paletteSeed);
    MakeColorTable(colors, settings, random);
}

int RunSaverImages(const RenderOptions& options, const SaverSettings& initialSettings, std::FILE* out,
                   std::FILE* err) {
    if (!MakeOutDir(options.outDir, err)) return 1;
    FractalState state{};
    ColorTable colors{};
    SaverSettings settings = initialSettings;
    Random random(options.seed);
    RenderContext context{state, colors, settings, random};
    GalleryCanvas canvas(options, out, err);
    canvas.WatchColors(&colors);
    state.clientRect = {0, 0, options.width, options.height};
    AheadColumns ahead(ThreadCount(options), err);
    ColumnSource* source = ThreadCount(options) > 1 ? &ahead : nullptr;
    while (!canvas.Ended()) ComputeBatch(context, canvas, source);
    canvas.Finish();
    if (canvas.Failed()) return 1;
    if (canvas.Presented() < options.images) {
        std::fprintf(err, "zorv-render: stopped after %lld images were started; %lld of %lld presented\n",
                     canvas.Started(), canvas.Presented(), options.images);
    }
    return 0;
}

int RunFixedImage(const RenderOptions& options, const SaverSettings& settings, std::FILE* out, std::FILE* err) {
    if (!MakeOutDir(options.outDir, err)) return 1;
    FractalState state{};
    ColorTable colors{};
    SetUpFixedImage(*options.fixed, options.width, options.height, settings, state, colors);
    MemoryCanvas canvas(options.width, options.height);
    if (ThreadCount(options) > 1) {
        AheadColumns ahead(ThreadCount(options), err);
        for (state.column = 0; state.column < options.width; ++state.column) ahead.Compute(state, colors, canvas);
    } else {
        RenderWholeImage(state, colors, canvas);
    }
    if (options.params) std::fprintf(out, "%s\n", ImageParamsJson(1, state, colors, "presented").c_str());
    return WriteBmp(ImagePath(options.outDir, 1), canvas, err) ? 0 : 1;
}

}  // namespace zorv
