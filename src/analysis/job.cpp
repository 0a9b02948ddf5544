// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/job.h"

#include "analysis/runs.h"
#include "core/refusal.h"
#include "io/spin_file.h"

#include <algorithm>

namespace cr::analyse {

namespace {

using Kind = PermanenceOutcome::Kind;

// Reads the files; each read one joins the numbers, each other one the refusals.
void readFiles(const JobInput& input, std::vector<JobInput::Numbers>& sources,
               std::vector<FileRefusal>& refused) {
    for (const std::string& path : input.files) {
        io::SpinFileOutcome read = io::readSpinFile(path, io::kAllSpins, 1, io::SpinStore::Numbers);
        LoadedSpins loaded;
        if (read.permanence.kind == Kind::Read) {
            loaded = spinsOf(std::move(read));
        }
        if (read.permanence.kind == Kind::Read && loaded.error.empty()) {
            sources.push_back({path, std::move(loaded.numbers)});
            continue;
        }
        FileRefusal r;
        r.file = path;
        if (read.permanence.kind == Kind::Refused) {
            r.lines = refusalLines(read.permanence);
        } else {
            r.refused = false;
            r.lines[0] = loaded.error.empty() ? "nicht lesbar" : "zu groß für den Speicher";
        }
        refused.push_back(std::move(r));
    }
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
        result.stopped = progress.stop;
        return result;
    }
    std::vector<JobInput::Numbers> sources = input.loaded;
    readFiles(input, sources, result.refused);
    long long total = 0;
    for (const JobInput::Numbers& source : sources) {
        const auto spins = static_cast<long long>(source.numbers.size());
        total += spins - spins % length;
        result.spinsLeftOver += spins % length;
    }
    progress.spinsPerUnit = 1;
    progress.unitsTotal = total;
    for (const JobInput::Numbers& source : sources) {
        result.stats.merge(runsOf(source.numbers, input.steprate, length, &progress.unitsDone,
                                  &progress.stop, true));
    }
    result.stopped = progress.stop;
    return result;
}

} // namespace cr::analyse
