// Names of the escape tests, as the headless renderer prints them.
#include "fractal/EscapeTests.h"

namespace zorv {

const char* EscapeTestName(EscapeTest test) {
    switch (test) {
        case EscapeTest::Sum: return "sum";
        case EscapeTest::Component: return "component";
        case EscapeTest::Product: return "product";
        case EscapeTest::Modulus: break;
    }
    return "modulus";
}

}  // namespace zorv
