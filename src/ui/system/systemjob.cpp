// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/system/systemjob.h"

#include "analysis/runs.h"
#include "analysis/sources.h"
#include "core/readproblem.h"

#include <algorithm>

namespace cr::ui {

using namespace analysis;

namespace {

// Simulated sessions for the luck of a session under a progression, at most
// this many spins in all so that the answer comes within a moment.
constexpr long long kLuckSpins = 5'000'000;
constexpr long long kLeastLuckTrials = 100;
constexpr long long kMostLuckTrials = 10'000;
constexpr std::uint64_t kLuckSeed = 1;
constexpr long long kRunsPerBlock = 256; // summed as simulateSystem sums, so figures match

// Every session of numbers cut into sessions of `length` (0: one session of
// them all), added to the line; the first session's numbers kept once.
// systemOfRuns plays the same sessions, but the histogram needs each result.
void playAll(const SystemRequest& r, const std::vector<std::uint8_t>& numbers, SystemLine& line,
             SystemOutcome& out, std::optional<std::vector<std::uint8_t>>& first,
             JobProgress& progress) {
    const std::size_t length = r.length > 0 ? static_cast<std::size_t>(r.length) : numbers.size();
    for (std::size_t start = 0; length > 0 && numbers.size() - start >= length; start += length) {
        if (progress.stop) {
            out.stopped = true;
            return;
        }
        const SessionResult session = playSession(r.rules, numbers.data() + start, length);
        line.totals.add(session);
        out.sessionResults.push_back(session.result);
        if (!first) {
            first.emplace(numbers.begin() + static_cast<std::ptrdiff_t>(start),
                          numbers.begin() + static_cast<std::ptrdiff_t>(start + length));
        }
        progress.unitsDone += static_cast<long long>(length);
    }
}

void simulateAll(const SystemRequest& r, SystemLine& line, SystemOutcome& out,
                 std::optional<std::vector<std::uint8_t>>& first, JobProgress& progress) {
    for (long long block = 0; block < r.sessions && !out.stopped; block += kRunsPerBlock) {
        SystemTotals part;
        for (long long run = block; run < std::min(r.sessions, block + kRunsPerBlock); ++run) {
            if (progress.stop) {
                out.stopped = true;
                break;
            }
            const std::vector<std::uint8_t> numbers = simulatedRun(r.seed, run, r.length);
            const SessionResult session = playSession(r.rules, numbers);
            part.add(session);
            out.sessionResults.push_back(session.result);
            if (!first) {
                first = numbers;
            }
            progress.unitsDone += r.length;
        }
        line.totals.merge(part);
    }
}

} // namespace

void computeSystem(const SystemRequest& r, SystemOutcome& out, JobProgress& progress) {
    std::optional<std::vector<std::uint8_t>> first;
    if (r.from == From::Run) {
        progress.unitsTotal = static_cast<long long>(r.run.numbers.size());
        SystemLine line{std::nullopt, std::nullopt, r.run.name, {}};
        playAll(r, r.run.numbers, line, out, first, progress);
        out.lines.push_back(line);
    } else if (r.from == From::Simulation) {
        progress.unitsTotal = r.sessions * r.length;
        SystemLine line{std::nullopt,
                        r.seed,
                        QStringLiteral("Simulation, Seed %1").arg(QString::number(r.seed)),
                        {}};
        simulateAll(r, line, out, first, progress);
        out.lines.push_back(line);
    } else {
        const std::vector<Source> sources =
            readSources(r.files, processorCount(), std::nullopt, nullptr, &progress.stop);
        long long total = 0;
        for (const Source& source : sources) {
            total += static_cast<long long>(source.numbers.size());
        }
        progress.unitsTotal = total;
        SystemLine pool{std::nullopt, std::nullopt, QStringLiteral("Alle Dateien"), {}};
        for (std::size_t i = 0; i < sources.size() && !out.stopped; ++i) {
            if (sources[i].problem) {
                out.problems << QStringLiteral("%1: %2").arg(
                    r.fileNames.value(static_cast<qsizetype>(i)),
                    QString::fromStdString(readMessage(*sources[i].problem, Language::German)));
                continue;
            }
            SystemLine line{
                r.files[i], std::nullopt, r.fileNames.value(static_cast<qsizetype>(i)), {}};
            playAll(r, sources[i].numbers, line, out, first, progress);
            pool.totals.merge(line.totals);
            out.lines.push_back(line);
        }
        if (out.lines.size() > 1) {
            out.lines.push_back(pool);
        }
    }
    if (!first || out.stopped) {
        return;
    }
    out.first = playSession(r.rules, *first, &out.trace);
    const auto spins = static_cast<long long>(first->size());
    if (stakesFixedInAdvance(r.rules, spins)) {
        out.luck = luckOf(r.rules, spins, out.first.result, 0, kLuckSeed);
    } else if (const long long trials = std::min(kLuckSpins / spins, kMostLuckTrials);
               trials >= kLeastLuckTrials && !progress.stop) {
        out.luck = luckOf(r.rules, spins, out.first.result, trials, kLuckSeed, processorCount());
    }
}

} // namespace cr::ui
