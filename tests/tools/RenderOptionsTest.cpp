// Options of the headless renderer: what is accepted, and that every refusal is
// one line naming the option.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/RenderOptions.h"

namespace zorv {
namespace {

TEST(RenderOptions, RefusalsNameTheOption) {
    const struct {
        std::vector<std::string> args;
        const char* option;
    } cases[] = {
        {{"--size", "10x10"}, "--seed"},
        {{"--seed", "1"}, "--size"},
        {{"--seed", "-1", "--size", "10x10"}, "--seed"},
        {{"--seed", "4294967296", "--size", "10x10"}, "--seed"},
        {{"--seed", "12abc", "--size", "10x10"}, "--seed"},
        {{"--seed"}, "--seed"},
        {{"--seed", "1", "--size", "0x10"}, "--size"},
        {{"--seed", "1", "--size", "10x0"}, "--size"},
        {{"--seed", "1", "--size", "65537x1"}, "--size"},
        {{"--seed", "1", "--size", "65536x65536"}, "--size"},
        {{"--seed", "1", "--size", "10*10"}, "--size"},
        {{"--seed", "1", "--size", "x10"}, "--size"},
        {{"--seed", "1", "--size", "10x10", "--images", "0"}, "--images"},
        {{"--seed", "1", "--size", "10x10", "--limit", "-3"}, "--limit"},
        {{"--seed", "1", "--size", "10x10", "--out"}, "--out"},
        {{"--seed", "1", "--size", "10x10", "--bogus"}, "--bogus"},
        {{"--seed", "1", "--size", "10x10", "--a\nb"}, "--a?b"},  // still one line
        {{"--seed", "1", "--size", "10x10", "--max-iter", "60"}, "--max-iter"},
        {{"--size", "10x10", "--julia", "0.1"}, "--julia"},
        {{"--size", "10x10", "--julia", "nan", "0"}, "--julia"},
        {{"--size", "10x10", "--julia", "1e999", "0"}, "--julia"},
        {{"--size", "10x10", "--mandelbrot", "--width-plane", "0"}, "--width-plane"},
        {{"--size", "10x10", "--mandelbrot", "--width-plane", "-2"}, "--width-plane"},
        {{"--size", "10x10", "--mandelbrot", "--max-iter", "0"}, "--max-iter"},
        {{"--size", "10x10", "--mandelbrot", "--max-iter", "2147483648"}, "--max-iter"},
        {{"--size", "10x10", "--mandelbrot", "--escape", "circle"}, "--escape"},
        {{"--size", "10x10", "--mandelbrot", "--threshold", "inf"}, "--threshold"},
        {{"--size", "10x10", "--mandelbrot", "--center-plane", "1"}, "--center-plane"},
        {{"--size", "10x10", "--mandelbrot", "--palette-seed", "x"}, "--palette-seed"},
    };
    for (const auto& c : cases) {
        RenderOptions options;
        std::string error;
        std::string joined;
        for (const auto& a : c.args) joined += a + " ";
        EXPECT_FALSE(ParseRenderOptions(c.args, options, error)) << joined;
        EXPECT_EQ(error.rfind(std::string(c.option) + ":", 0), 0u) << joined << "→ " << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
}

TEST(RenderOptions, SaverRunValuesAreTakenWhole) {
    RenderOptions options;
    std::string error;
    ASSERT_TRUE(ParseRenderOptions({"--seed", "4294967295", "--size", "1920x1080", "--images", "3", "--limit", "7",
                                    "--out", "dir", "--params", "--settings", "s.ini"},
                                   options, error))
        << error;
    EXPECT_EQ(options.seed, 4294967295u);
    EXPECT_EQ(options.width, 1920);
    EXPECT_EQ(options.height, 1080);
    EXPECT_EQ(options.images, 3);
    EXPECT_EQ(options.limit, 7);
    EXPECT_EQ(options.outDir, "dir");
    EXPECT_EQ(options.settingsFile, "s.ini");
    EXPECT_TRUE(options.params);
    EXPECT_FALSE(options.fixed.has_value());
}

TEST(RenderOptions, FixedImageValues) {
    RenderOptions options;
    std::string error;
    ASSERT_TRUE(ParseRenderOptions({"--size", "64x48", "--julia", "-0.75", "0.1", "--center-plane", "0.5", "-1e-3",
                                    "--width-plane", "2.4", "--max-iter", "60", "--escape", "product", "--threshold",
                                    "-3", "--palette-seed", "9"},
                                   options, error))
        << error;
    ASSERT_TRUE(options.fixed.has_value());
    const FixedImageOptions& f = *options.fixed;
    EXPECT_FALSE(f.mandelbrot);
    EXPECT_EQ(f.constantRe, -0.75);
    EXPECT_EQ(f.constantIm, 0.1);
    EXPECT_EQ(f.centerX, 0.5);
    EXPECT_EQ(f.centerY, -1e-3);
    EXPECT_EQ(f.planeWidth, 2.4);
    EXPECT_EQ(f.maxIter, 60);
    EXPECT_EQ(f.escapeTest, EscapeTest::Product);
    EXPECT_EQ(f.threshold, -3.0);
    EXPECT_EQ(f.paletteSeed, 9u);
}

}  // namespace
}  // namespace zorv
