// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/series.h"

#include "analysis/runs.h"
#include "core/lazytwister.h"
#include "core/random.h"
#include "core/wheel.h"

#include <algorithm>
#include <cmath>

namespace cr::analysis {

namespace {

// Series shorter than this are counted in a table; longer ones (rare on a
// fair wheel) are kept one by one.
constexpr long long kShort = 64;

// Bit p of a number's entry: its side in pair p is the second one. A zero,
// and any byte that is no number, is no decision.
constexpr std::uint8_t kNoDecision = 8;

std::array<std::uint8_t, 256> makeSideBits() {
    std::array<std::uint8_t, 256> bits{};
    bits.fill(kNoDecision);
    const ColourTable farbe = makeColourTable();
    for (int n = 1; n <= 36; ++n) {
        std::uint8_t b = 0;
        for (int p = 0; p < kSeriesPairs; ++p) {
            if (sideOf(static_cast<Pair>(p), n, farbe) == 2) {
                b = static_cast<std::uint8_t>(b | (1U << p));
            }
        }
        bits[static_cast<std::size_t>(n)] = b;
    }
    return bits;
}

const std::array<std::uint8_t, 256>& sideBits() {
    static const std::array<std::uint8_t, 256> bits = makeSideBits();
    return bits;
}

struct LongSeries {
    int pair;
    int side;
    long long length;
};

// Counts the series of the sequences fed to it, one after the other; the
// series tables are added to the statistics on flush(), everything else at
// the end of each sequence.
class SeriesCounter {
public:
    explicit SeriesCounter(SeriesStats& into) : m_stats(into), m_bits(sideBits()) {}

    void feed(const std::uint8_t* numbers, std::size_t count) {
        // Locals, so that the compiler keeps them in registers; the side
        // changes at random, so no branch may depend on it.
        std::array<std::uint64_t, kSeriesPairs> length = m_length;
        std::array<std::uint64_t, kSeriesPairs> side = m_side;
        constexpr auto kShortU = static_cast<std::uint64_t>(kShort);
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint8_t n = numbers[i];
            ++m_counts[n];
            const unsigned bits = m_bits[n];
            if (bits & kNoDecision) {
                continue;
            }
            for (std::size_t p = 0; p < kSeriesPairs; ++p) {
                const std::uint64_t s = (bits >> p) & 1U;
                const std::uint64_t change = s ^ side[p];
                const std::uint64_t len = length[p];
                // A series ends where the side changes: counted by its length
                // (the first spin of a sequence "ends" one of length 0).
                m_short[p][side[p]][len < kShortU ? len : kShortU] += change;
                if ((change & static_cast<std::uint64_t>(len >= kShortU)) != 0) [[unlikely]] {
                    m_long.push_back({static_cast<int>(p), static_cast<int>(side[p]),
                                      static_cast<long long>(len)});
                }
                length[p] = (len & (change - 1)) + 1; // 1 on a change, else one more
                side[p] = s;
            }
        }
        m_length = length;
        m_side = side;
    }

    // Closes the sequence: its last series, its decisions and runs test.
    void endSequence() {
        long long spins = 0;
        for (int n = 0; n < kNumbers; ++n) {
            spins += m_counts[static_cast<std::size_t>(n)];
            m_stats.numbers.counts[static_cast<std::size_t>(n)] +=
                m_counts[static_cast<std::size_t>(n)];
        }
        m_stats.numbers.spins += spins;
        ++m_stats.sequences;
        for (int p = 0; p < kSeriesPairs; ++p) {
            const auto pi = static_cast<std::size_t>(p);
            if (m_length[pi] > 0) {
                if (m_length[pi] < static_cast<std::uint64_t>(kShort)) {
                    ++m_short[pi][m_side[pi]][m_length[pi]];
                } else {
                    m_long.push_back(
                        {p, static_cast<int>(m_side[pi]), static_cast<long long>(m_length[pi])});
                }
            }
            std::array<long long, 2> sides{};
            for (int n = 1; n <= 36; ++n) {
                sides[static_cast<std::size_t>((m_bits[static_cast<std::size_t>(n)] >> p) & 1U)] +=
                    m_counts[static_cast<std::size_t>(n)];
            }
            PairSeries& pair = m_stats.pairs[pi];
            const long long decisions = sides[0] + sides[1];
            pair.decisions += decisions;
            pair.sides[0] += sides[0];
            pair.sides[1] += sides[1];
            ++pair.sequences[decisions];
            const auto n = static_cast<double>(decisions);
            const double twice =
                2.0 * static_cast<double>(sides[0]) * static_cast<double>(sides[1]);
            if (decisions > 0) {
                pair.m_runsMean += 1 + twice / n;
            }
            if (decisions > 1) {
                pair.m_runsVariance += twice * (twice - n) / (n * n * (n - 1));
            }
            m_length[pi] = 0;
            m_side[pi] = 0;
        }
        m_counts.fill(0);
    }

    // The series counted so far into the statistics.
    void flush() {
        for (int p = 0; p < kSeriesPairs; ++p) {
            const auto pi = static_cast<std::size_t>(p);
            PairSeries& pair = m_stats.pairs[pi];
            for (std::size_t s = 0; s < 2; ++s) {
                std::vector<long long>& byLength = pair.byLength[s];
                for (std::size_t k = 1; k < static_cast<std::size_t>(kShort); ++k) {
                    const long long c = m_short[pi][s][k];
                    if (c != 0) {
                        if (byLength.size() < k) {
                            byLength.resize(k, 0);
                        }
                        byLength[k - 1] += c;
                    }
                }
                m_short[pi][s].fill(0);
            }
        }
        for (const LongSeries& l : m_long) {
            std::vector<long long>& byLength = m_stats.pairs[static_cast<std::size_t>(l.pair)]
                                                   .byLength[static_cast<std::size_t>(l.side)];
            const auto k = static_cast<std::size_t>(l.length);
            if (byLength.size() < k) {
                byLength.resize(k, 0);
            }
            ++byLength[k - 1];
        }
        m_long.clear();
        for (PairSeries& pair : m_stats.pairs) {
            long long runs = 0;
            for (std::size_t s = 0; s < 2; ++s) {
                pair.longest[s] = static_cast<long long>(pair.byLength[s].size());
                for (long long c : pair.byLength[s]) {
                    runs += c;
                }
            }
            pair.runs = runs;
        }
    }

private:
    SeriesStats& m_stats;
    const std::array<std::uint8_t, 256>& m_bits;
    // [pair][side][length]: series ended, by length; index 0 is no series.
    std::array<std::array<std::array<long long, kShort + 1>, 2>, kSeriesPairs> m_short{};
    std::vector<LongSeries> m_long;
    std::array<std::uint64_t, kSeriesPairs> m_length{};
    std::array<std::uint64_t, kSeriesPairs> m_side{};
    std::array<long long, 256> m_counts{}; // of the sequence in progress
};

constexpr long long kRunsPerTask = 64;
constexpr std::size_t kDrawBlock = 4096;

} // namespace

void addSequence(SeriesStats& stats, const std::uint8_t* numbers, std::size_t count) {
    SeriesCounter counter(stats);
    counter.feed(numbers, count);
    counter.endSequence();
    counter.flush();
}

void mergeSeries(SeriesStats& into, const SeriesStats& from) {
    for (std::size_t p = 0; p < into.pairs.size(); ++p) {
        PairSeries& a = into.pairs[p];
        const PairSeries& b = from.pairs[p];
        a.decisions += b.decisions;
        for (std::size_t s = 0; s < 2; ++s) {
            a.sides[s] += b.sides[s];
            if (a.byLength[s].size() < b.byLength[s].size()) {
                a.byLength[s].resize(b.byLength[s].size(), 0);
            }
            for (std::size_t k = 0; k < b.byLength[s].size(); ++k) {
                a.byLength[s][k] += b.byLength[s][k];
            }
            a.longest[s] = std::max(a.longest[s], b.longest[s]);
        }
        a.runs += b.runs;
        for (const auto& [n, c] : b.sequences) {
            a.sequences[n] += c;
        }
        a.m_runsMean += b.m_runsMean;
        a.m_runsVariance += b.m_runsVariance;
    }
    into.numbers.spins += from.numbers.spins;
    for (std::size_t n = 0; n < into.numbers.counts.size(); ++n) {
        into.numbers.counts[n] += from.numbers.counts[n];
    }
    into.sequences += from.sequences;
}

SeriesStats simulateSeries(long long runs, long long spins, std::uint64_t seed, int threads,
                           std::atomic<long long>* spinsDone, const std::atomic<bool>* stop) {
    const long long tasks = runs > 0 ? (runs + kRunsPerTask - 1) / kRunsPerTask : 0;
    std::vector<SeriesStats> perWorker(static_cast<std::size_t>(std::max(threads, 1)));
    // The runs test's sums are no whole numbers: kept per task and added in
    // the tasks' order, so that any number of threads gives the same sums.
    std::vector<std::array<double, 2 * kSeriesPairs>> perTask(static_cast<std::size_t>(tasks));
    parallelFor(
        static_cast<std::size_t>(tasks), threads,
        [&](std::size_t task, std::size_t worker) {
            SeriesStats own;
            SeriesCounter counter(own);
            LazyTwister random;
            const auto block = static_cast<std::size_t>(
                std::clamp<long long>(spins, 1, static_cast<long long>(kDrawBlock)));
            std::vector<std::uint64_t> words(block);
            std::vector<std::uint8_t> drawn(block);
            const long long first = static_cast<long long>(task) * kRunsPerTask;
            const long long last = std::min(runs, first + kRunsPerTask);
            const auto stopped = [stop] { return stop && stop->load(std::memory_order_relaxed); };
            for (long long run = first; run < last && !stopped(); ++run) {
                random.seed(runSeed(seed, run));
                for (long long left = spins; left > 0 && !stopped();) {
                    const auto take = static_cast<std::size_t>(
                        std::min<long long>(left, static_cast<long long>(kDrawBlock)));
                    random.draw(words.data(), take);
                    for (std::size_t i = 0; i < take; ++i) {
                        const auto bits = static_cast<std::int64_t>(words[i] >> 11);
                        const double r = static_cast<double>(bits) * 0x1.0p-53;
                        drawn[i] = static_cast<std::uint8_t>(numberFromUniform(r));
                    }
                    counter.feed(drawn.data(), take);
                    left -= static_cast<long long>(take);
                    if (spinsDone) {
                        spinsDone->fetch_add(static_cast<long long>(take),
                                             std::memory_order_relaxed);
                    }
                }
                counter.endSequence();
            }
            counter.flush();
            auto& sums = perTask[task];
            for (std::size_t p = 0; p < own.pairs.size(); ++p) {
                sums[2 * p] = own.pairs[p].m_runsMean;
                sums[2 * p + 1] = own.pairs[p].m_runsVariance;
                own.pairs[p].m_runsMean = 0;
                own.pairs[p].m_runsVariance = 0;
            }
            mergeSeries(perWorker[worker], own);
        },
        stop);
    SeriesStats total = std::move(perWorker.front());
    for (std::size_t i = 1; i < perWorker.size(); ++i) {
        mergeSeries(total, perWorker[i]);
    }
    for (const auto& sums : perTask) {
        for (std::size_t p = 0; p < total.pairs.size(); ++p) {
            total.pairs[p].m_runsMean += sums[2 * p];
            total.pairs[p].m_runsVariance += sums[2 * p + 1];
        }
    }
    return total;
}

} // namespace cr::analysis
