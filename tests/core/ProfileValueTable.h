// Value texts and the integers the Windows profile API makes of them, which the
// portable store must match so both read a settings file alike. One row per
// rule of the reading.
#pragma once

#include <cstdint>

namespace zorv {

struct ProfileValueCase {
    const char* text;        // what follows "Iters=" in the file
    std::uint32_t expected;  // GetInt's result with a fallback of 30
};

inline constexpr ProfileValueCase kProfileValueCases[] = {
    {"-5", 0xFFFFFFFBu},         {"  7  ", 7u},  {"+3", 3u},       {"0x10", 16u},
    {"12abc", 12u},              {"", 30u},      {"abc", 0u},      {"99999999999", 1215752191u},
    {"-2147483649", 2147483647u}, {"\"42\"", 42u}, {"0X10", 0u},   {"0b101", 5u},
    {"0o17", 15u},               {"\t9", 9u},
    {"123456789012345678901234567890123", 1849262357u},  // only the first 29 characters count
};

}  // namespace zorv
