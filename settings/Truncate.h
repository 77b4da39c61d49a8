// The one floating-point to integer conversion of the program, and the wrapping
// 32-bit integer steps that go with it. Every double→int conversion goes through here.
#pragma once

#include <cstdint>

namespace zorv {

// Truncates toward zero. NaN and values outside the 32-bit range give INT32_MIN,
// the "integer indefinite" value x86 produced for them, so results stay
// reproducible and no conversion is undefined.
constexpr std::int32_t TruncToInt(double value) {
    if (!(value > -2147483649.0 && value < 2147483648.0)) {
        return INT32_MIN;
    }
    return static_cast<std::int32_t>(value);
}

// Two's-complement wrapping subtract, as the 32-bit machine did it.
constexpr std::int32_t WrapSub(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

}  // namespace zorv
