// Private-profile (INI) text handling that behaves like the Windows profile API:
// finding a key's value, turning a value text into an integer, and setting a key.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zorv {

// The value text of `key` in `section` (both matched without regard to case),
// with surrounding blanks and one pair of matching quotes removed; none when
// the section or key is absent.
std::optional<std::string> FindProfileValue(std::string_view content, std::string_view section,
                                            std::string_view key);

// The integer the profile API makes of a value text: leading blanks, an optional
// sign, an optional 0x/0o/0b prefix, then digits up to the first non-digit, with
// 32-bit wrap-around. Only the first 29 characters count, as in the API's buffer.
std::uint32_t ParseProfileInt(std::string_view text);

// `content` with `key` in `section` set to `value`: an existing key keeps its
// place, a new key goes at the end of its section, a new section at the end of
// the file. Every other line is kept as it was.
std::string SetProfileValue(std::string_view content, std::string_view section, std::string_view key,
                            std::string_view value);

}  // namespace zorv
