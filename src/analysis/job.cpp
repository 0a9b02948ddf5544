// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/job.h"

#include "analysis/runs.h"
#include "core/refusal.h"

#include <algorithm>

namespace cr::analysis {

namespace {

// A source the job cannot use, as the window lists it: a refused spin in
// the import's three lines, any other problem in its one sentence.
FileRefusal refusalOf(const Source& source) {
    FileRefusal r;
    r.file = source.name;
    if (source.problem->kind == ReadProblem::Kind::Refused) {
        PermanenceOutcome outcome;
        outcome.refusedSpin = source.problem->spin;
        outcome.refusedText = source.problem->text;
        r.lines = refusalLines(outcome);
    } else {
        r.refused = false;
        r.lines[0] = readMessage(*source.problem, Language::German);
    }
    return r;
}

} // namespace

JobResult runJob(const JobInput& input, JobProgress& progress) {
    JobResult result;
    result.stats.keepHistograms(true);
    const long long length = std::max(input.runLength, 1LL);
    if (input.simulate) {
        progress.spinsPerUnit = length;
        progress.unitsTotal = input.runs;
        result.stats = simulate(input.steprate, length, input.runs, input.seed, input.threads,
                                &progress.unitsDone, &progress.stop, true);
        if (!progress.stop) {
            // The same runs again, drawn as the simulation drew them: drawing is
            // cheap beside the evaluation, and neither needs the other's numbers.
            result.series = simulateSeries(input.runs, length, input.seed, input.threads, nullptr,
                                           &progress.stop);
        }
        result.sources.push_back({"Simulation", result.stats, result.series});
        result.stopped = progress.stop;
        return result;
    }
    std::vector<Source> read =
        readSources(input.files, input.threads, std::nullopt, nullptr, &progress.stop);
    if (progress.stop) {
        result.stopped = true;
        return result;
    }
    std::vector<Source> sources = input.loaded;
    long long total = 0;
    for (Source& source : read) {
        if (source.problem) {
            result.refused.push_back(refusalOf(source));
        } else {
            sources.push_back(std::move(source));
        }
    }
    for (const Source& source : sources) {
        const auto spins = static_cast<long long>(source.numbers.size());
        total += spins - spins % length;
        result.spinsLeftOver += spins % length;
    }
    progress.spinsPerUnit = 1;
    progress.unitsTotal = total;
    std::vector<RunStatistics> each = runsOfEach(sources, input.steprate, length, input.threads,
                                                 &progress.unitsDone, &progress.stop, true);
    for (std::size_t k = 0; k < each.size() && !progress.stop; ++k) {
        result.stats.merge(each[k]);
        // Every spin of a source counts, the ends too short for a run as well.
        SeriesStats series;
        addSequence(series, sources[k].numbers);
        mergeSeries(result.series, series);
        result.sources.push_back({sources[k].name, std::move(each[k]), std::move(series)});
    }
    result.read = std::move(sources);
    result.stopped = progress.stop;
    return result;
}

} // namespace cr::analysis
