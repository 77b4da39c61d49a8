// The two operations the settings need from a private-profile file: read an
// integer with a fallback, and write a key's text.
#pragma once

#include <cstdint>

namespace zorv {

class ProfileStore {
public:
    virtual ~ProfileStore() = default;
    // The key's value text as an unsigned 32-bit number; the fallback when the
    // file, section or key is absent, or when the value text is empty.
    virtual std::uint32_t GetInt(const char* section, const char* key, std::int32_t fallback) = 0;
    // Creates the file and section when absent; replaces an existing key's value
    // or adds the key at the end of the section. Failures are not reported.
    virtual void WriteString(const char* section, const char* key, const char* text) = 0;
};

}  // namespace zorv
