// Option values read whole: what strtoull would skip or accept beyond the
// digits (blanks, signs, trailing text) is refused first.
#include "settings/OptionText.h"

#include <cerrno>
#include <cstdlib>

namespace zorv {

namespace {

bool ParseDigits(const std::string& digits, int base, unsigned long long max, unsigned long long& value) {
    if (digits.empty() || digits.size() > 20) return false;
    for (char c : digits) {
        const bool decimal = c >= '0' && c <= '9';
        const bool hex = (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (!decimal && !(base == 16 && hex)) return false;
    }
    errno = 0;
    char* end = nullptr;
    value = std::strtoull(digits.c_str(), &end, base);
    return errno == 0 && end && *end == '\0' && value <= max;
}

}  // namespace

bool ParseUnsigned(const std::string& text, unsigned long long max, unsigned long long& value) {
    return ParseDigits(text, 10, max, value);
}

bool ParseUnsignedOrHex(const std::string& text, unsigned long long max, unsigned long long& value) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        return ParseDigits(text.substr(2), 16, max, value);
    }
    return ParseDigits(text, 10, max, value);
}

std::string PrintableOption(const std::string& text) {
    std::string out;
    for (char c : text.substr(0, 40)) {
        const auto byte = static_cast<unsigned char>(c);
        out += byte < 0x20 || byte == 0x7F ? '?' : c;
    }
    if (text.size() > 40) out += "...";
    return out;
}

}  // namespace zorv
