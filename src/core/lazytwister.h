// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
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
    LazyTwister() { seed(5489); } // the standard's default seed

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
        const std::uint64_t fresh = renewed(m_x[k], m_x[after], m_x[far]);
        m_x[k] = fresh;
        m_next = after;
        return tempered(fresh);
    }

    // The next count draws, as count calls of operator() give them, with the
    // words carried in registers from one draw to the next.
    void draw(std::uint64_t* out, std::size_t count) {
        // While seeding, draw k seeds word k + kShift and renews word k from it.
        if (m_seeded < kWords && count > 0) {
            const std::size_t n = std::min(count, kWords - m_seeded);
            std::size_t k = m_next;
            std::uint64_t previous = m_x[m_seeded - 1];
            std::uint64_t word = m_x[k];
            for (std::size_t i = 0; i < n; ++i, ++k) {
                const std::uint64_t seeded = seedWord(previous, m_seeded);
                m_x[m_seeded++] = seeded;
                previous = seeded;
                const std::uint64_t next = m_x[k + 1];
                const std::uint64_t fresh = renewed(word, next, seeded);
                m_x[k] = fresh;
                out[i] = tempered(fresh);
                word = next;
            }
            m_next = k;
            out += n;
            count -= n;
        }
        // Then draw k renews word k from the word after it and the one kShift on,
        // both taken round the end of the state.
        while (count > 0) {
            const std::size_t k = m_next;
            // A stretch in which neither index wraps round.
            const std::size_t stretch =
                std::min(count, (k < kWords - kShift ? kWords - kShift : kWords - 1) - k);
            if (stretch == 0) { // the last word: its neighbour is word 0
                *out++ = (*this)();
                --count;
                continue;
            }
            // The words renewed here are read through no other pointer: the
            // far words lie wholly before or after them.
            std::uint64_t* __restrict words = m_x.data() + k;
            const std::uint64_t* __restrict far =
                m_x.data() + (k < kWords - kShift ? k + kShift : k + kShift - kWords);
            std::uint64_t* __restrict drawn = out;
            for (std::size_t i = 0; i < stretch; ++i) {
                const std::uint64_t fresh = renewed(words[i], words[i + 1], far[i]);
                words[i] = fresh;
                drawn[i] = tempered(fresh);
            }
            m_next = k + stretch;
            out += stretch;
            count -= stretch;
        }
    }

private:
    static std::uint64_t renewed(std::uint64_t word, std::uint64_t next, std::uint64_t far) {
        const std::uint64_t y = (word & kUpper) | (next & kLower);
        return far ^ (y >> 1) ^ ((0 - (y & 1)) & kMatrix);
    }
    static std::uint64_t tempered(std::uint64_t z) {
        z ^= (z >> 29) & 0x5555555555555555ULL;
        z ^= (z << 17) & 0x71d67fffeda60000ULL;
        z ^= (z << 37) & 0xfff7eee000000000ULL;
        return z ^ (z >> 43);
    }

    // Word `index` of the seeded state, from the word before it.
    static std::uint64_t seedWord(std::uint64_t previous, std::size_t index) {
        return 6364136223846793005ULL * (previous ^ (previous >> 62)) + index;
    }
    void seedOne() {
        m_x[m_seeded] = seedWord(m_x[m_seeded - 1], m_seeded);
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
