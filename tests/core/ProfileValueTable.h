// Value texts and the integers the profile API makes of them. The same table is
// checked against the portable store natively and against the real Windows API
// under Wine, so both stores read a settings file alike.
#pragma once

#include <cstdint>

namespace zorv {

struct ProfileValueCase {
    const char* text;        // what follows "Iters=" in the file
    std::uint32_t expected;  // GetInt's result with a fallback of 30
};

inline constexpr ProfileValueCase kProfileValueCases[] = {
    {"55", 55u},
    {"-5", 0xFFFFFFFBu},
    {"  7", 7u},
    {"7  ", 7u},
    {"+3", 3u},
    {"0x10", 16u},
    {"12abc", 12u},
    {"", 30u},  // an empty value counts as absent: the fallback
    {"abc", 0u},
    {"99999999999", 1215752191u},  // wraps modulo 2^32
    {"4294967295", 4294967295u},
    {"-2147483649", 2147483647u},
    {"2147483648", 2147483648u},
    {"\"42\"", 42u},  // one pair of quotes is removed
    {"3.9", 3u},
    {"-0", 0u},
    {"007", 7u},
    {"0X10", 0u},
    {"0b101", 5u},
    {"0o17", 15u},
    {"\t9", 9u},
    {"123456789012345678901234567890123", 1849262357u},  // only the first 29 characters count
};

}  // namespace zorv
