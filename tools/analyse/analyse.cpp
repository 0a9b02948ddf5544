// SPDX-License-Identifier: GPL-3.0-or-later
#include "analyse.h"

#include "chancenraster/version.h"
#include "modes.h"
#include "options.h"
#include "output.h"
#include "progress.h"

#include <chrono>
#include <cstring>
#include <new>
#include <random>
#include <thread>

namespace cr::batch {

using namespace analysis;

namespace {

constexpr const char* kName = "chancenraster-analyse: ";

int threadCount(const Options& o) {
    if (o.threads > 0) {
        return o.threads;
    }
    const unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : static_cast<int>(std::min(cores, unsigned{kMostThreads}));
}

std::uint64_t clockSeed() {
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    return static_cast<std::uint64_t>(ticks) ^ std::random_device{}();
}

// What became of one file.
struct FileResult {
    std::string error;
    long long spins = 0;
    std::vector<StepResult> steps; // replay
    RunStatistics stats;           // runs-of
};

int analyseFiles(const Options& o, std::ostream& out, std::ostream& err, bool showProgress) {
    std::vector<FileResult> results(o.files.size());
    {
        Progress progress(showProgress, err, static_cast<long long>(o.files.size()), "files");
        parallelFor(o.files.size(), threadCount(o), [&](std::size_t i, std::size_t) {
            FileResult& r = results[i];
            LoadedSpins loaded = loadSpins(o.files[i], o.spins);
            r.error = std::move(loaded.error);
            r.spins = static_cast<long long>(loaded.numbers.size());
            if (r.error.empty() && o.mode == Mode::Replay) {
                r.steps = replay(loaded.numbers, o.steprate);
            } else if (r.error.empty()) {
                r.stats = runsOf(loaded.numbers, o.steprate, o.runLength);
            }
            progress.done().fetch_add(1, std::memory_order_relaxed);
        });
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
    for (std::size_t i = 0; i < results.size(); ++i) {
        const FileResult& r = results[i];
        if (!r.error.empty()) {
            out << std::flush;
            err << kName << escaped(o.files[i]) << ": " << r.error << std::endl;
            status = kFileFailed;
            continue;
        }
        if (o.mode == Mode::Replay) {
            writeReplay(out, ReplayTable{o.files[i], r.spins, r.steps}, o.steprate, json);
            continue;
        }
        if (r.stats.runs() == 0) {
            out << std::flush;
            err << kName << escaped(o.files[i]) << ": " << r.spins << " spins, not one run of "
                << o.runLength << std::endl;
        }
        writeSummary(out, SummaryTable{o.files[i], {}, std::nullopt, o.runLength, &r.stats},
                     o.steprate, json);
        pooled.merge(r.stats);
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
