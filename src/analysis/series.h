// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

// Is the table fair? The series (runs of one side) of the three even-chance
// pairs, the runs test, the écart and the 37 numbers of a permanence, each
// beside its exact law. A file or a simulated run is a sequence of its own:
// series never cross from one into the next; a source of several sequences
// (a simulation, a pool) sums their counts, expectations, means and variances.
//
// A zero belongs to no side: it neither ends nor extends a series, and it is
// no decision of any pair.
namespace cr::analysis {

inline constexpr int kSeriesPairs = 3; // R/S, M/P, G/U, in this order
inline constexpr int kNumbers = 37;
// Below this many spins the chi-square test of the numbers says nothing
// (fewer than five expected per number).
inline constexpr long long kLeastChiSquareSpins = 185;

// One pair over every sequence of a source.
struct PairSeries {
    long long decisions = 0;          // spins that were not zero
    std::array<long long, 2> sides{}; // n1 (Rot, Manque, Gerade), n2 (Schwarz, Passe, Ungerade)
    // [side][k − 1]: the series of exactly k spins of that side.
    std::array<std::vector<long long>, 2> byLength;
    std::array<long long, 2> longest{}; // the longest series of each side (0: none)
    long long runs = 0;                 // series of both sides: the runs test's R
    // The decisions of each sequence (how many sequences had that many), which
    // every exact figure below is computed from.
    std::map<long long, long long> sequences;

    // The exact expectation of series of exactly k of SIDE (0 or 1), summed
    // over the sequences, for k = 1, 2, …
    double expectedOfLength(int side, long long k) const;
    // The exact probability that some sequence has a series of SIDE at least
    // `length` long (for the longest: so long a series by chance).
    double chanceOfSeries(int side, long long length) const;
    // The runs test (Wald–Wolfowitz), each sequence given its own n1 and n2:
    // the mean 1 + 2·n1·n2/n and the variance 2·n1·n2·(2·n1·n2 − n)/(n²·(n − 1))
    // summed over the sequences; z = (runs − mean) / √variance, none where
    // no sequence has decisions of both sides.
    double runsMean() const { return m_runsMean; }
    double runsVariance() const { return m_runsVariance; }
    std::optional<double> runsZ() const;
    long long ecart() const { return sides[0] - sides[1]; }
    double ecartPerRoot() const; // ecart ÷ √decisions; 0 without decisions

    // Internal sums of the runs test, kept as sequences are added.
    double m_runsMean = 0;
    double m_runsVariance = 0;
};

// The 37 numbers of a source against n/37 each.
struct NumberCounts {
    long long spins = 0;
    std::array<long long, kNumbers> counts{};

    double expected() const { return static_cast<double>(spins) / kNumbers; }
    // The standard deviation of one number's count: √(n · 1/37 · 36/37).
    double sd() const;
    // The chi-square statistic with 36 degrees of freedom, and its p-value
    // (the upper tail); no p-value below kLeastChiSquareSpins spins.
    double chiSquare() const;
    std::optional<double> chiSquareP() const;
    // The most and the least frequent number (the smaller on a tie).
    int most() const;
    int least() const;
    // How likely a count at least as far from n/37 as NUMBER's is for one
    // given number (the exact binomial tail on that side), and among 37
    // numbers by the bound 1 − (1 − p)^37.
    double chanceForOne(int number) const;
    double chanceAmong37(int number) const;
};

struct SeriesStats {
    std::array<PairSeries, kSeriesPairs> pairs;
    NumberCounts numbers;
    long long sequences = 0;
};

// Adds one sequence (a file, a run) to STATS.
void addSequence(SeriesStats& stats, const std::uint8_t* numbers, std::size_t count);
inline void addSequence(SeriesStats& stats, const std::vector<std::uint8_t>& numbers) {
    addSequence(stats, numbers.data(), numbers.size());
}
// Adds everything of FROM to INTO, as if its sequences had been added there.
void mergeSeries(SeriesStats& into, const SeriesStats& from);

// R simulated runs of K spins, drawn as simulatedRun draws them (the same
// numbers as `--simulate` for the same seed, whatever the threads); each run
// one sequence. spinsDone counts spins; a set stop ends within a run.
SeriesStats simulateSeries(long long runs, long long spins, std::uint64_t seed, int threads,
                           std::atomic<long long>* spinsDone = nullptr,
                           const std::atomic<bool>* stop = nullptr);

} // namespace cr::analysis
