// Shared random draws of the image parameters: the signed draw and the Spread
// jitter, both in the evaluation order the images depend on.
#pragma once

#include "fractal/Random.h"

namespace zorv {

// Uniform over [-1, 1]: 1 for a draw of 0, -1 for 32767.
inline double SignedDraw(Random& random) { return 1.0 - random.Draw() * (2.0 / 32767); }

// J(a) = 1 + a × spread × s, evaluated as 1 − s × spread × (−a).
inline double Jitter(double a, double spread, Random& random) {
    const double s = SignedDraw(random);
    return 1.0 - s * spread * (-a);
}

}  // namespace zorv
