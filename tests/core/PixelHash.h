// Test helper: FNV-1a over pixels, byte by byte, for golden-image checks.
#pragma once

#include <cstdint>
#include <vector>

namespace zorv {

inline std::uint64_t PixelHash(const std::vector<std::uint32_t>& pixels) {
    std::uint64_t hash = 14695981039346656037ull;
    for (std::uint32_t p : pixels) {
        for (int i = 0; i < 4; ++i) {
            hash ^= (p >> (8 * i)) & 0xFF;
            hash *= 1099511628211ull;
        }
    }
    return hash;
}

}  // namespace zorv
