// The headless renderer's output: presented images as BMP files our own reader
// accepts, parameter lines with their fates, the start limit, fixed images.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "image/BmpFile.h"
#include "image/DibHeader.h"
#include "tests/core/PixelHash.h"
#include "tests/core/TempDir.h"
#include "tools/RenderRun.h"

namespace zorv {
namespace {

struct Decoded {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;  // top-down, COLORREF layout
};

// Decodes a 24-bit file through the image store's own header queries.
Decoded DecodeBmp(const std::filesystem::path& path) {
    const std::string text = ReadFileText(path);
    const std::span<const std::uint8_t> file(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    Decoded out;
    if (!IsBmpFileHeader(file)) return out;
    const DibBytes dib = file.subspan(kBmpFileHeaderSize);
    if (CheckDibBlock(dib) != DibCheck::Ok || DibBitsPerPixel(dib) != 24) return out;
    out.width = static_cast<int>(DIBImageWidth(dib));
    out.height = static_cast<int>(DIBImageHeight(dib));
    const std::uint64_t offset = DIBPixelOffset(dib);
    const std::uint64_t rowBytes = DibRowBytes(static_cast<std::uint64_t>(out.width), 24);
    for (int y = 0; y < out.height; ++y) {
        const std::uint8_t* row = dib.data() + offset + rowBytes * static_cast<std::uint64_t>(out.height - 1 - y);
        for (int x = 0; x < out.width; ++x) {
            const std::uint8_t* p = row + 3 * x;
            out.pixels.push_back(p[2] | (p[1] << 8) | (static_cast<std::uint32_t>(p[0]) << 16));
        }
    }
    return out;
}

struct Captured {
    std::string out, err;
    int code = -1;
};

Captured RunRenderer(const RenderOptions& options, const SaverSettings& settings = DefaultSettings()) {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    Captured c;
    c.code = options.fixed ? RunFixedImage(options, settings, out, err) : RunSaverImages(options, settings, out, err);
    for (auto [file, text] : {std::pair{out, &c.out}, std::pair{err, &c.err}}) {
        std::rewind(file);
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text->append(buffer, n);
        std::fclose(file);
    }
    return c;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1)
        lines.push_back(text.substr(start, nl - start));
    return lines;
}

std::string Field(const std::string& json, const std::string& key) {
    const std::string tag = "\"" + key + "\":";
    const std::size_t at = json.find(tag);
    if (at == std::string::npos) return {};
    const std::size_t start = at + tag.size();
    const std::size_t end = json.find_first_of(",}", start);
    return json.substr(start, end - start);
}

TEST(RenderRun, PresentedImagesAreTheSaversImagesAsFiles) {
    TempDir dir;
    RenderOptions options;
    options.seed = 1;
    options.width = 96;
    options.height = 64;
    options.images = 2;
    options.outDir = dir.Path().string();
    options.params = true;
    const Captured run = RunRenderer(options);
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.err, "");

    // The same image the renderer's golden test pins for seed 1 at 96×64.
    const Decoded first = DecodeBmp(dir / "zorv-0001.bmp");
    ASSERT_EQ(first.width, 96);
    ASSERT_EQ(first.height, 64);
    EXPECT_EQ(PixelHash(first.pixels), 0x8f0feab81d54ed31ull);
    EXPECT_EQ(DecodeBmp(dir / "zorv-0002.bmp").width, 96);
    EXPECT_FALSE(std::filesystem::exists(dir / "zorv-0003.bmp"));

    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_GE(lines.size(), 3u);
    int presented = 0;
    std::string firstPresentedLimit;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(Field(lines[i], "image"), std::to_string(i + 1));
        const std::string fate = Field(lines[i], "fate");
        if (i + 1 == lines.size()) {
            EXPECT_EQ(fate, "\"unfinished\"");
        } else {
            EXPECT_TRUE(fate == "\"presented\"" || fate == "\"abandoned\"") << fate;
        }
        if (fate == "\"presented\"" && presented++ == 0) firstPresentedLimit = Field(lines[i], "maxIter");
        const std::string mandelbrot = Field(lines[i], "mandelbrot");
        const double modeSelect = std::strtod(Field(lines[i], "modeSelect").c_str(), nullptr);
        EXPECT_EQ(mandelbrot, modeSelect > 0.6 ? "true" : "false");
    }
    EXPECT_EQ(presented, 2);
    EXPECT_EQ(firstPresentedLimit, "45");  // pinned with the golden image
}

TEST(RenderRun, StartLimitStopsARunThatNeverPresents) {
    TempDir dir;
    RenderOptions options;
    options.seed = 5;
    options.width = 1;  // one pixel never has detail
    options.height = 1;
    options.limit = 3;
    options.outDir = dir.Path().string();
    options.params = true;
    const Captured run = RunRenderer(options);
    EXPECT_EQ(run.code, 0);
    EXPECT_NE(run.err.find("stopped after"), std::string::npos) << run.err;
    EXPECT_GE(Lines(run.out).size(), 3u);
    EXPECT_FALSE(std::filesystem::exists(dir / "zorv-0001.bmp"));
}

TEST(RenderRun, ParamsLinesRoundTripRealsAndSpellNonFiniteValuesAsStrings) {
    FractalState state{};
    state.maxIter = 12;
    state.threshold = 0.1 + 0.2;
    state.modeSelect = std::numeric_limits<double>::quiet_NaN();
    state.centerX = std::numeric_limits<double>::infinity();
    state.centerY = -std::numeric_limits<double>::infinity();
    state.zoom = 1e-6;
    state.aspect = 2.0 / 3.0;
    state.escapeTest = EscapeTest::Component;
    ColorTable colors{};
    colors[0] = 0xFFFFFF;
    colors[255] = 0x010203;
    const std::string json = ImageParamsJson(7, state, colors, "abandoned");
    EXPECT_EQ(std::strtod(Field(json, "threshold").c_str(), nullptr), 0.1 + 0.2);
    EXPECT_EQ(std::strtod(Field(json, "aspect").c_str(), nullptr), 2.0 / 3.0);
    EXPECT_EQ(Field(json, "modeSelect"), "\"nan\"");
    EXPECT_EQ(Field(json, "centerX"), "\"inf\"");
    EXPECT_EQ(Field(json, "centerY"), "\"-inf\"");
    EXPECT_EQ(Field(json, "escapeTest"), "\"component\"");
    EXPECT_EQ(Field(json, "image"), "7");
    EXPECT_NE(json.find("\"colors\":[16777215,0,"), std::string::npos);
    EXPECT_NE(json.find(",66051],"), std::string::npos);
    // Keys in their documented order.
    const char* keys[] = {"image", "maxIter", "escapeTest", "threshold", "modeSelect", "mandelbrot", "centerX",
                          "centerY", "zoom", "aspect", "constantRe", "constantIm", "colors", "fate"};
    std::size_t last = 0;
    for (const char* key : keys) {
        const std::size_t at = json.find(std::string("\"") + key + "\":");
        ASSERT_NE(at, std::string::npos) << key;
        EXPECT_GT(at, last == 0 ? 0 : last) << key;
        last = at;
    }
}

TEST(RenderRun, FixedJuliaImageIsPointSymmetricAboutThePlaneOrigin) {
    TempDir dir;
    RenderOptions options;
    options.width = 120;
    options.height = 80;
    options.outDir = dir.Path().string();
    FixedImageOptions fixed;
    fixed.constantRe = -0.75;
    fixed.constantIm = 0.1;
    fixed.planeWidth = 2.4;
    fixed.maxIter = 60;
    options.fixed = fixed;
    ASSERT_EQ(RunRenderer(options).code, 0);
    const Decoded image = DecodeBmp(dir / "zorv-0001.bmp");
    ASSERT_EQ(image.width, 120);
    // A Julia set is symmetric under z → −z: pixel (x, y) mirrors (W − x, H − y).
    int differences = 0, distinct = 0;
    for (int y = 1; y < 80; ++y) {
        for (int x = 1; x < 120; ++x) {
            const std::uint32_t a = image.pixels[static_cast<std::size_t>(y * 120 + x)];
            const std::uint32_t b = image.pixels[static_cast<std::size_t>((80 - y) * 120 + (120 - x))];
            differences += a != b;
            distinct += a != image.pixels[121];
        }
    }
    EXPECT_EQ(differences, 0);
    EXPECT_GT(distinct, 1000) << "the image has structure";
}

TEST(RenderRun, UnwritableOutputFolderFails) {
    TempDir dir;
    WriteFileText(dir / "file", "not a folder");
    RenderOptions options;
    options.seed = 1;
    options.width = options.height = 8;
    options.outDir = (dir / "file").string();
    const Captured run = RunRenderer(options);
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("--out"), std::string::npos);
}

}  // namespace
}  // namespace zorv
