// The four escape tests. Each compares the new iterate against the image's
// threshold with a strict greater-than, so a NaN iterate never escapes.
#pragma once

#include <cmath>

namespace zorv {

enum class EscapeTest { Modulus = 0, Sum, Component, Product };

inline bool EscapeModulus(double re, double im, double threshold) {
    return std::sqrt(re * re + im * im) > threshold;
}
inline bool EscapeSum(double re, double im, double threshold) { return re + im > threshold; }
// Signed parts: large negative values do not escape.
inline bool EscapeComponent(double re, double im, double threshold) { return re > threshold || im > threshold; }
inline bool EscapeProduct(double re, double im, double threshold) { return re * im > threshold; }

const char* EscapeTestName(EscapeTest test);  // "modulus", "sum", "component", "product"

}  // namespace zorv
