// SPDX-License-Identifier: GPL-3.0-or-later
#include "analyse.h"

#include "analysis/entries.h"
#include "analysis/runs.h"
#include "analysis/sources.h"
#include "chancenraster/version.h"
#include "options.h"
#include "output.h"
#include "progress.h"
#include "seriesrun.h"
#include "systemrun.h"

#include <chrono>
#include <cstring>
#include <new>
#include <random>
#include <thread>

namespace cr::batch {

using namespace analysis;

namespace {

int threadCount(const Options& o) {
    return o.threads > 0 ? o.threads : processorCount();
}

std::uint64_t clockSeed() {
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    return static_cast<std::uint64_t>(ticks) ^ std::random_device{}();
}

int analyseFiles(const Options& o, std::ostream& out, std::ostream& err, bool showProgress) {
    std::vector<Source> sources;
    std::vector<std::vector<StepResult>> replays; // Replay
    std::vector<RunStatistics> stats;             // RunsOf
    {
        Progress progress(showProgress, err, static_cast<long long>(o.files.size()), "files");
        sources = readSources(o.files, threadCount(o), o.spins, &progress.done());
    }
    if (o.mode == Mode::Replay) {
        replays.resize(sources.size());
        parallelFor(sources.size(), threadCount(o), [&](std::size_t i, std::size_t) {
            replays[i] = replay(sources[i].numbers, o.steprate);
        });
    } else {
        stats = runsOfEach(sources, o.steprate, o.runLength, threadCount(o));
    }

    const bool json = o.json;
    if (!json && o.mode == Mode::Replay) {
        writeReplayHeader(out);
    } else if (!json) {
        writeSummaryHeader(out);
    }
    int status = kDone;
    RunStatistics pooled;
    SummaryTable pool{std::nullopt, {}, std::nullopt, o.runLength, &pooled};
    for (std::size_t i = 0; i < sources.size(); ++i) {
        const Source& source = sources[i];
        if (source.problem) {
            reportUnreadable(out, err, o.files[i], *source.problem);
            status = kFileFailed;
            continue;
        }
        const auto spins = static_cast<long long>(source.numbers.size());
        if (o.mode == Mode::Replay) {
            writeReplay(out, ReplayTable{o.files[i], spins, replays[i]}, o.steprate, json);
            continue;
        }
        if (stats[i].runs() == 0) {
            out << std::flush;
            err << kName << escaped(o.files[i]) << ": " << spins << " spins, not one run of "
                << o.runLength << std::endl;
        }
        writeSummary(out, SummaryTable{o.files[i], {}, std::nullopt, o.runLength, &stats[i]},
                     o.steprate, json);
        pooled.merge(stats[i]);
        pool.pooledFiles.push_back(o.files[i]);
    }
    if (o.pool) {
        writeSummary(out, pool, o.steprate, json);
    }
    return status;
}

int simulateRuns(const Options& o, std::ostream& out, std::ostream& err, bool showProgress) {
    const std::uint64_t seed = o.seed ? *o.seed : clockSeed();
    RunStatistics stats;
    {
        // Hours of work get a word first, as in the window.
        JobInput entries;
        entries.simulate = true;
        entries.runs = o.runs;
        entries.runLength = o.runLength;
        entries.steprate = o.steprate;
        entries.threads = threadCount(o);
        if (const Cost cost = estimateCost(entries, 0); worthAsking(cost)) {
            err << kName << costLine(cost, entries.threads, Language::English) << std::endl;
        }
        Progress progress(showProgress, err, o.runs, "runs");
        stats = simulate(o.steprate, o.runLength, o.runs, seed, threadCount(o), &progress.done());
    }
    if (!o.json) {
        writeSummaryHeader(out);
    }
    writeSummary(out, SummaryTable{std::nullopt, {}, seed, o.runLength, &stats}, o.steprate,
                 o.json);
    return kDone;
}

} // namespace

int runAnalysis(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                bool showProgress) {
    const ParsedArguments parsed = parseArguments(args);
    if (!parsed.options) {
        err << kName << escaped(parsed.error) << " (see --help)" << std::endl;
        return kBadArguments;
    }
    const Options& o = *parsed.options;
    int status = kDone;
    try {
        if (o.help) {
            out << helpText();
        } else if (o.version) {
            out << "chancenraster-analyse " << kVersion << '\n';
        } else if (o.series) {
            status = runSeries(o, out, err, showProgress, o.seed ? *o.seed : clockSeed());
        } else if (o.system) {
            status = runSystem(o, out, err, showProgress, o.seed ? *o.seed : clockSeed());
        } else {
            status = o.mode == Mode::Simulate ? simulateRuns(o, out, err, showProgress)
                                              : analyseFiles(o, out, err, showProgress);
        }
    } catch (const std::bad_alloc&) {
        out << std::flush;
        err << kName << "not memory enough for the tables asked for (one line a step)" << std::endl;
        return kFileFailed;
    }
    out << std::flush;
    if (!out) {
        err << kName << "the output could not be written";
        if (outputError() != 0) {
            err << ": " << std::strerror(outputError());
        }
        err << std::endl;
        return kFileFailed;
    }
    return status;
}

} // namespace cr::batch
