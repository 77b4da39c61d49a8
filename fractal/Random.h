// The program's pseudo-random generator: the classic linear congruential one,
// giving integers 0..32767. Every image formula depends on that range.
#pragma once

#include <cstdint>

namespace zorv {

class Random {
public:
    explicit Random(std::uint32_t seed = 1) : m_state(seed) {}

    void Seed(std::uint32_t seed) { m_state = seed; }

    // state ← state × 214013 + 2531011 (mod 2^32); the draw is bits 16 to 30.
    int Draw() {
        m_state = m_state * 214013u + 2531011u;
        return static_cast<int>((m_state >> 16) & 0x7FFFu);
    }

    std::uint32_t State() const { return m_state; }

private:
    std::uint32_t m_state;
};

// The seed of the saver's n-th stream of images besides its first (another
// monitor's), from the seed of the run. Mixed rather than offset, so that no
// stream starts a few draws along another one and repeats its images.
constexpr std::uint32_t StreamSeed(std::uint32_t runSeed, std::uint32_t n) {
    std::uint32_t x = runSeed + n * 0x9E3779B9u;
    x ^= x >> 16;
    x *= 0x85EBCA6Bu;
    x ^= x >> 13;
    x *= 0xC2B2AE35u;
    x ^= x >> 16;
    return x;
}

}  // namespace zorv
