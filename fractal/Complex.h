// Complex pairs and the constant of a Julia image, derived from a magnitude
// and an angle on the main cardioid of the Mandelbrot set.
#pragma once

namespace zorv {

struct Complex {
    double re;
    double im;
};

Complex UnitComplex(double angle);

// m × (½e^(ia) − ¼e^(2ia)), formed as the product of (½m·e^(ia)) and (1 − ½e^(ia)).
Complex CardioidPoint(double magnitude, double angle);

}  // namespace zorv
