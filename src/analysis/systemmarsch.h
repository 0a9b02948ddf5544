// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How a Marsch picks the sides it bets before each spin, from what it
// remembers of the spins before; only the session in system.cpp uses it.

#include "analysis/system.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace cr::analysis::marsch {

// The wanted sides of the three pairs packed two bits a pair (0: no bet,
// 1 or 2: that side), as the session's loop passes them around.
using Wanted = unsigned;
constexpr Wanted wantedSide(Wanted w, int pair) {
    return (w >> (2 * pair)) & 3u;
}

// The tables a session reads, built once from the core's wheel and fields.
struct Tables {
    // The sides of a number in every pair packed as Wanted; 0 for the zero.
    std::array<Wanted, 37> sides{};
    // The other sides, as "gegen" bets them; 0 for the zero.
    std::array<Wanted, 37> against{};
    // Which of the six fields of a position the number hits (one bit a
    // field, pair * 2 + side - 1): for a zero, all of them.
    std::array<std::uint8_t, 37> hits{};
    // For the fields hit at a position so far, the side "leer" bets in each
    // pair: the one still empty while the other is not.
    std::array<Wanted, 64> leer{};
};

const Tables& tables();

// The pairs chosen, both sides of each, as a mask over Wanted.
Wanted pairMask(const std::array<bool, kPairCount>& pairs);

// How a Marsch picks its sides: the six fixed chances alike, and "gegen" as
// "folge" with the other table.
enum class Follow { Fixed, Leer, Folge, Letzter };

// What a Marsch remembers of each position of the step (leer: the fields
// hit there; folge, gegen: the number there in the step before), all 0 at
// the start; on the stack up to a step rate of kLocalRows.
class StepMemory {
public:
    static constexpr std::size_t kLocalRows = 1024;
    explicit StepMemory(std::size_t rows) {
        if (rows > kLocalRows) {
            m_heap.assign(rows, 0);
            m_data = m_heap.data();
        } else {
            std::fill_n(m_local.data(), rows, std::uint8_t{0});
            m_data = m_local.data();
        }
    }
    StepMemory(const StepMemory&) = delete;
    StepMemory& operator=(const StepMemory&) = delete;
    std::uint8_t* data() { return m_data; }

private:
    std::array<std::uint8_t, kLocalRows> m_local;
    std::vector<std::uint8_t> m_heap;
    std::uint8_t* m_data = nullptr;
};

// The sides a Marsch wants before each spin, from what it remembers of the
// spins before. What it remembers of a position starts at 0, which wants
// nothing: so step 1 places no bet without a test of its own. Small enough
// to be copied into registers for a run of spins: kept in memory, it would
// be read again after every byte written to the step's memory.
template <Follow F> class Chooser {
public:
    Chooser(const SystemRules& r, const Tables& t, StepMemory& memory)
        : m_rows(static_cast<std::size_t>(std::max(r.steprate, 1))), m_sides(t.sides.data()),
          m_memory(memory.data()) {
        const auto marsch = static_cast<unsigned>(r.marsch);
        if constexpr (F == Follow::Fixed) {
            m_fixed = (marsch % 2 + 1) << (marsch / 2 * 2);
        } else if constexpr (F == Follow::Leer) {
            m_want = t.leer.data();
            m_hits = t.hits.data();
        } else if constexpr (F == Follow::Folge) {
            m_want = r.marsch == Marsch::Gegen ? t.against.data() : t.sides.data();
        }
    }

    // The sides wanted on the spin that shows n, which is then remembered.
    Wanted next(unsigned n) {
        if constexpr (F == Follow::Fixed) {
            return m_fixed;
        } else if constexpr (F == Follow::Letzter) {
            const Wanted want = m_sides[m_previous];
            m_previous = n;
            return want;
        } else {
            const std::uint8_t seen = m_memory[m_p];
            m_memory[m_p] = F == Follow::Leer ? static_cast<std::uint8_t>(seen | m_hits[n])
                                              : static_cast<std::uint8_t>(n);
            if (++m_p == m_rows) {
                m_p = 0;
            }
            return m_want[seen];
        }
    }

private:
    std::size_t m_rows;
    const Wanted* m_sides;
    std::uint8_t* m_memory;
    const Wanted* m_want = nullptr;
    const std::uint8_t* m_hits = nullptr;
    Wanted m_fixed = 0;
    unsigned m_previous = 0; // letzter: the number before, 0 at the start
    std::size_t m_p = 0;     // position in the step
};

} // namespace cr::analysis::marsch
