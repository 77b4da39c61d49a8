// Strict parsing of the headless renderer's options: every value must be
// consumed whole and lie in its range.
#include "tools/RenderOptions.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "settings/OptionText.h"

namespace zorv {

namespace {

bool ParseReal(const std::string& text, double& value) {
    if (text.empty() || text.size() > 64) return false;
    errno = 0;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end && *end == '\0' && errno != ERANGE && std::isfinite(value);
}

bool ParseSize(const std::string& text, int& width, int& height) {
    const std::size_t x = text.find('x');
    if (x == std::string::npos) return false;
    unsigned long long w = 0, h = 0;
    if (!ParseUnsigned(text.substr(0, x), kMaxSide, w) || !ParseUnsigned(text.substr(x + 1), kMaxSide, h)) return false;
    if (w < 1 || h < 1 || static_cast<long long>(w * h) > kMaxPixels) return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

bool ParseEscape(const std::string& text, EscapeTest& test) {
    for (EscapeTest candidate : {EscapeTest::Modulus, EscapeTest::Sum, EscapeTest::Component, EscapeTest::Product}) {
        if (text == EscapeTestName(candidate)) {
            test = candidate;
            return true;
        }
    }
    return false;
}

}  // namespace

const char* RenderUsage() {
    return "usage: zorv-render --seed N --size WxH [--settings FILE] [--images K] [--limit M]\n"
           "                   [--out DIR] [--params] [--threads N]\n"
           "       zorv-render --size WxH (--julia RE IM | --mandelbrot) [--center-plane X Y]\n"
           "                   [--width-plane Z] [--max-iter N] [--escape modulus|sum|component|product]\n"
           "                   [--threshold T] [--palette-seed N] [--settings FILE] [--out DIR] [--params]\n"
           "                   [--threads N]\n"
           "       --threads N: render on N threads (default: one per core); the output is the same\n";
}

bool ParseRenderOptions(const std::vector<std::string>& args, RenderOptions& options, std::string& error) {
    FixedImageOptions fixed;
    bool fixedMode = false;
    std::string fixedOnlyName;  // the last option that only a fixed image takes
    bool sizeGiven = false;

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& name = args[i];
        auto value = [&](std::size_t offset, std::string& out) {
            if (i + offset >= args.size()) return false;
            out = args[i + offset];
            return true;
        };
        auto fail = [&](const std::string& message) {
            error = PrintableOption(name) + ": " + message;
            return false;
        };
        std::string a, b;
        unsigned long long number = 0;

        if (name == "--help" || name == "-h") {
            options.help = true;
        } else if (name == "--params") {
            options.params = true;
        } else if (name == "--mandelbrot") {
            fixedMode = true;
            fixed.mandelbrot = true;
        } else if (name == "--seed") {
            if (!value(1, a) || !ParseUnsigned(a, 0xFFFFFFFFull, number))
                return fail("expects an unsigned 32-bit number");
            options.seed = static_cast<std::uint32_t>(number);
            options.seedGiven = true;
            ++i;
        } else if (name == "--size") {
            if (!value(1, a) || !ParseSize(a, options.width, options.height))
                return fail("expects WxH, each side 1 to 65536, at most 268435456 pixels");
            sizeGiven = true;
            ++i;
        } else if (name == "--settings") {
            if (!value(1, a) || a.empty()) return fail("expects a file name");
            options.settingsFile = a;
            ++i;
        } else if (name == "--out") {
            if (!value(1, a) || a.empty()) return fail("expects a folder name");
            options.outDir = a;
            ++i;
        } else if (name == "--images" || name == "--limit") {
            if (!value(1, a) || !ParseUnsigned(a, 1000000000ull, number) || number < 1)
                return fail("expects a number from 1 to 1000000000");
            (name == "--images" ? options.images : options.limit) = static_cast<long long>(number);
            ++i;
        } else if (name == "--threads") {
            if (!value(1, a) || !ParseUnsigned(a, 1024ull, number) || number < 1)
                return fail("expects a number from 1 to 1024");
            options.threads = static_cast<int>(number);
            ++i;
        } else if (name == "--julia") {
            if (!value(1, a) || !value(2, b) || !ParseReal(a, fixed.constantRe) || !ParseReal(b, fixed.constantIm))
                return fail("expects two finite reals RE IM");
            fixedMode = true;
            fixed.mandelbrot = false;
            i += 2;
        } else if (name == "--center-plane") {
            if (!value(1, a) || !value(2, b) || !ParseReal(a, fixed.centerX) || !ParseReal(b, fixed.centerY))
                return fail("expects two finite reals X Y");
            fixedOnlyName = name;
            i += 2;
        } else if (name == "--width-plane") {
            if (!value(1, a) || !ParseReal(a, fixed.planeWidth) || !(fixed.planeWidth > 0))
                return fail("expects a finite real above 0");
            fixedOnlyName = name;
            ++i;
        } else if (name == "--max-iter") {
            if (!value(1, a) || !ParseUnsigned(a, 2147483647ull, number) || number < 1)
                return fail("expects a number from 1 to 2147483647");
            fixed.maxIter = static_cast<int>(number);
            fixedOnlyName = name;
            ++i;
        } else if (name == "--escape") {
            if (!value(1, a) || !ParseEscape(a, fixed.escapeTest))
                return fail("expects modulus, sum, component or product");
            fixedOnlyName = name;
            ++i;
        } else if (name == "--threshold") {
            if (!value(1, a) || !ParseReal(a, fixed.threshold)) return fail("expects a finite real");
            fixedOnlyName = name;
            ++i;
        } else if (name == "--palette-seed") {
            if (!value(1, a) || !ParseUnsigned(a, 0xFFFFFFFFull, number))
                return fail("expects an unsigned 32-bit number");
            fixed.paletteSeed = static_cast<std::uint32_t>(number);
            fixedOnlyName = name;
            ++i;
        } else {
            return fail("unknown option");
        }
    }

    if (options.help) return true;
    if (!sizeGiven) {
        error = "--size: missing; give WxH";
        return false;
    }
    if (fixedMode) {
        options.fixed = fixed;
        return true;
    }
    if (!fixedOnlyName.empty()) {
        error = fixedOnlyName + ": needs --julia RE IM or --mandelbrot";
        return false;
    }
    if (!options.seedGiven) {
        error = "--seed: missing; give an unsigned 32-bit number";
        return false;
    }
    return true;
}

}  // namespace zorv
