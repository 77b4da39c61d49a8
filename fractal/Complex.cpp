// Cardioid constant for new images.
#include "fractal/Complex.h"

#include <cmath>

namespace zorv {

Complex UnitComplex(double angle) { return {std::cos(angle), std::sin(angle)}; }

Complex CardioidPoint(double magnitude, double angle) {
    const Complex unit = UnitComplex(angle);
    const Complex p{0.5 * magnitude * unit.re, 0.5 * magnitude * unit.im};
    const Complex q{1.0 - 0.5 * unit.re, -0.5 * unit.im};
    return {p.re * q.re - p.im * q.im, p.re * q.im + p.im * q.re};
}

}  // namespace zorv
