// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace cr {

// The 64-bit Mersenne Twister (the same numbers as std::mt19937_64 from the
// same seed), renewing its state one word at a time as the words are drawn
// instead of all 312 at once: a simulated run of a few hundred spins, seeded
// afresh, then renews only the words it draws. Drawing in order renews each
// word from the same neighbours as the whole renewal does.
class LazyTwister {
public:
    // The seeding, too, goes only as far as the first draw needs; each draw
    // then seeds one word more, so that the seeding's long chain of
    // multiplications overlaps with the drawing.
    void seed(std::uint64_t value) {
        m_x[0] = value;
        m_seeded = 1;
        while (m_seeded < kShift) {
            seedOne();
        }
        m_next = 0;
    }

    std::uint64_t operator()() {
        if (m_seeded < kWords) { // draw k reads word k + kShift
            seedOne();
        }
        const std::size_t k = m_next;
        const std::size_t after = k + 1 == kWords ? 0 : k + 1;
        const std::size_t far = k + kShift < kWords ? k + kShift : k + kShift - kWords;
        const std::uint64_t y = (m_x[k] & kUpper) | (m_x[after] & kLower);
        m_x[k] = m_x[far] ^ (y >> 1) ^ ((y & 1) != 0 ? kMatrix : 0);
        m_next = after;
        std::uint64_t z = m_x[k];
        z ^= (z >> 29) & 0x5555555555555555ULL;
        z ^= (z << 17) & 0x71d67fffeda60000ULL;
        z ^= (z << 37) & 0xfff7eee000000000ULL;
        return z ^ (z >> 43);
    }

private:
    void seedOne() {
        const std::uint64_t p = m_x[m_seeded - 1];
        m_x[m_seeded] = 6364136223846793005ULL * (p ^ (p >> 62)) + m_seeded;
        ++m_seeded;
    }

    static constexpr std::size_t kWords = 312;
    static constexpr std::size_t kShift = 156;
    static constexpr std::uint64_t kMatrix = 0xb5026f5aa96619e9ULL;
    static constexpr std::uint64_t kUpper = ~0ULL << 31;
    static constexpr std::uint64_t kLower = ~kUpper;
    std::array<std::uint64_t, kWords> m_x{};
    std::size_t m_next = 0;
    std::size_t m_seeded = 0;
};

} // namespace cr
