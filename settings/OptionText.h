// Strict reading of command-line option values, shared by the native programs:
// a number must be all digits and in range, and an option named in a one-line
// message is shown printable.
#pragma once

#include <string>

namespace zorv {

// Decimal digits only (no sign, no blanks), at most `max`.
bool ParseUnsigned(const std::string& text, unsigned long long max, unsigned long long& value);

// "0x" or "0X" and hexadecimal digits, or decimal digits; at most `max`.
bool ParseUnsignedOrHex(const std::string& text, unsigned long long max, unsigned long long& value);

// The first 40 characters, control bytes shown as '?', "..." when cut.
std::string PrintableOption(const std::string& text);

}  // namespace zorv
