// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/engine.h"

#include "core/run.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace cr {

namespace {

constexpr int kBitsPerField = 2;
constexpr int kFieldsPerCell = 2 * kPairCount;
constexpr std::size_t kCellsPerWord = 4;
constexpr std::uint16_t kAllStates = (1u << (kBitsPerField * kFieldsPerCell)) - 1;
constexpr std::array<std::uint16_t, 37> kNothing{};

int shiftOf(int pair, int side) {
    return kBitsPerField * (2 * pair + side - 1);
}

std::uint16_t cellOf(int pair, int side, int state) {
    return static_cast<std::uint16_t>(state << shiftOf(pair, side));
}

// The low bit of both fields of a pair in each of a word's four cells.
constexpr std::uint64_t lowBitsOf(int pair) {
    const std::uint64_t cell = 0b0101ULL << (4 * pair);
    return cell * 0x0001000100010001ULL;
}

// Popcount is an instruction on nearly every x86-64, but not in the
// baseline the package is built for: a clone for it is picked at load.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define CR_POPCOUNT_CLONES __attribute__((target_clones("popcnt", "default")))
#else
#define CR_POPCOUNT_CLONES
#endif

// kFieldOnce is the low bit of a field, kFieldOut the high one: a field is
// empty where neither is set.
static_assert(kFieldEmpty == 0 && kFieldOnce == 1 && kFieldOut == 2);

// Counts the empty and the once-hit fields of each pair into the step (inlined
// into callers built for the popcount instruction and callers built without),
// a word of four cells at a time.
[[gnu::always_inline]] inline void countFields(const std::uint16_t* cells, std::size_t words,
                                               int fieldsPerPair, StepResult& r) {
    std::uint64_t filled[3] = {0, 0, 0};
    std::uint64_t once[3] = {0, 0, 0};
    for (std::size_t w = 0; w < words; ++w) {
        std::uint64_t word;
        std::memcpy(&word, cells + w * kCellsPerWord, sizeof word);
        const std::uint64_t any = word | (word >> 1);
        for (std::size_t pair = 0; pair < 3; ++pair) {
            const std::uint64_t low = lowBitsOf(static_cast<int>(pair));
            filled[pair] += static_cast<std::uint64_t>(std::popcount(any & low));
            once[pair] += static_cast<std::uint64_t>(std::popcount(word & low));
        }
    }
    for (std::size_t pair = 0; pair < 3; ++pair) {
        r.leer[pair] = fieldsPerPair - static_cast<int>(filled[pair]);
        r.einmal[pair] = static_cast<int>(once[pair]);
    }
}

} // namespace

const SpinMasks& spinMasks() {
    static const SpinMasks masks = [] {
        const ColourTable farbe = makeColourTable();
        SpinMasks m;
        m.first[0] = m.out[0] = 0;
        for (int pair = 0; pair < kPairCount; ++pair) {
            for (const int side : {1, 2}) { // a zero puts every field out
                m.first[0] |= cellOf(pair, side, kFieldOut);
            }
        }
        m.out[0] = m.first[0];
        for (int n = 1; n <= 36; ++n) {
            const auto k = static_cast<std::size_t>(n);
            for (int pair = 0; pair < kPairCount; ++pair) {
                const int side = sideOf(static_cast<Pair>(pair), n, farbe);
                m.first[k] |= cellOf(pair, side, kFieldOnce);
                m.out[k] |= cellOf(pair, side, kFieldOut);
            }
        }
        for (std::size_t k = 0; k < m.keep.size(); ++k) {
            // Clear every hit field whole, then set it out.
            m.keep[k] = static_cast<std::uint16_t>(kAllStates & ~(m.out[k] | (m.out[k] >> 1)));
        }
        return m;
    }();
    return masks;
}

int fieldStateOf(std::uint16_t cell, int pair, int side) {
    return (cell >> shiftOf(pair, side)) & ((1 << kBitsPerField) - 1);
}

Engine::Engine(int steprate)
    : m_steprate(steprate < 1 ? 1 : steprate), m_rows(static_cast<std::size_t>(m_steprate)),
      m_masks(&spinMasks()) {
    const std::size_t words = (m_rows + kCellsPerWord - 1) / kCellsPerWord;
    m_cells.assign(words * kCellsPerWord, 0);
    reset();
}

void Engine::reset() {
    std::fill(m_cells.begin(), m_cells.end(), std::uint16_t{0});
    m_zeile = 0;
    m_schritt = 1;
    m_statwert = 2 * m_steprate;
    // Step 1 keeps nothing of a cell: every position is hit in it once.
    m_keep = kNothing.data();
    m_set = m_masks->first.data();
    m_stepCount = 0;
}

std::array<int, 6> Engine::counters() const {
    StepResult r;
    countInto(r);
    return {r.leer[0], r.leer[1], r.leer[2], r.einmal[0], r.einmal[1], r.einmal[2]};
}

void Engine::countInto(StepResult& r) const {
    countFields(m_cells.data(), m_cells.size() / kCellsPerWord, 2 * m_steprate, r);
}

[[gnu::always_inline]] inline void Engine::finishStep() {
    // Written in place: a step copied from the stack would be read back
    // before its parts were stored.
    const auto fill = [this](StepResult& r) {
        r.step = m_schritt;
        r.statistisch = m_statwert * 0.5;
        countFields(m_cells.data(), m_cells.size() / kCellsPerWord, 2 * m_steprate, r);
    };
    if (m_sink) {
        StepResult r;
        fill(r);
        m_sink(r);
    } else {
        if (m_stepCount == m_steps.size()) {
            m_steps.emplace_back();
        }
        fill(m_steps[m_stepCount++]);
    }
    m_statwert = halvedStatistic(m_statwert);
    m_zeile = 0;
    ++m_schritt;
    m_keep = m_masks->keep.data();
    m_set = m_masks->out.data();
}

void Engine::endStep() {
    finishStep();
}

// Whole later steps of a step rate of at most four: all rows are one word,
// kept in a register, and a step is one masked store of the four rows' masks
// joined. Leaves the rest (less than a step) to the caller.
template <std::size_t Rows>
[[gnu::always_inline]] inline void Engine::stepsInOneWord(const std::uint8_t*& numbers,
                                                          std::size_t& count) {
    static_assert(Rows >= 1 && Rows <= kCellsPerWord);
    constexpr unsigned kLane = 16;
    const std::uint16_t* out = m_masks->out.data();
    std::uint64_t word = 0;
    std::memcpy(&word, m_cells.data(), sizeof word);
    StepResult r;
    const std::size_t steps = count / Rows;
    StepResult* into = nullptr;
    if (!m_sink) {
        if (m_steps.size() < m_stepCount + steps) {
            m_steps.resize(m_stepCount + steps);
        }
        into = m_steps.data() + m_stepCount;
        m_stepCount += steps;
    }
    int schritt = m_schritt;
    int statwert = m_statwert;
    const int fields = 2 * m_steprate;
    for (std::size_t s = 0; s < steps; ++s, numbers += Rows) {
        std::uint64_t outAll = 0;
        for (std::size_t k = 0; k < Rows; ++k) {
            outAll |= std::uint64_t{out[numbers[k]]} << (kLane * k);
        }
        // A hit field is cleared whole and set out (the keep masks, for all
        // four rows at once).
        word = (word & ~(outAll | (outAll >> 1))) | outAll;
        // Written in place, field by field: a step put together on the stack
        // and copied would be read back before its parts were stored.
        StepResult& step = into ? into[s] : r;
        const std::uint64_t any = word | (word >> 1);
        for (std::size_t pair = 0; pair < 3; ++pair) {
            const std::uint64_t low = lowBitsOf(static_cast<int>(pair));
            step.leer[pair] = fields - std::popcount(any & low);
            step.einmal[pair] = std::popcount(word & low);
        }
        step.step = schritt++;
        step.statistisch = statwert * 0.5;
        statwert = halvedStatistic(statwert);
        if (!into) {
            m_sink(r);
        }
    }
    m_schritt = schritt;
    m_statwert = statwert;
    count -= steps * Rows;
    std::memcpy(m_cells.data(), &word, sizeof word);
}

// The spins of a whole stretch, a step at a time: the loop keeps the cells,
// masks and count in registers, where spin() called from a caller's loop
// goes through the engine's members in memory every time.
CR_POPCOUNT_CLONES
void Engine::spins(const std::uint8_t* numbers, std::size_t count) {
    while (count > 0) {
        if (m_zeile == 0 && m_schritt > 1 && count >= m_rows) {
            switch (m_rows) {
            case 1:
                stepsInOneWord<1>(numbers, count);
                break;
            case 2:
                stepsInOneWord<2>(numbers, count);
                break;
            case 3:
                stepsInOneWord<3>(numbers, count);
                break;
            case 4:
                stepsInOneWord<4>(numbers, count);
                break;
            default:
                break;
            }
            if (count == 0) {
                return;
            }
        }
        const std::size_t take = std::min(count, m_rows - m_zeile);
        std::uint16_t* cells = m_cells.data() + m_zeile;
        const std::uint16_t* keep = m_keep;
        const std::uint16_t* set = m_set;
        for (std::size_t k = 0; k < take; ++k) {
            const std::size_t n = numbers[k];
            cells[k] = static_cast<std::uint16_t>((cells[k] & keep[n]) | set[n]);
        }
        numbers += take;
        count -= take;
        m_zeile += take;
        if (m_zeile == m_rows) {
            finishStep();
        }
    }
}

} // namespace cr
