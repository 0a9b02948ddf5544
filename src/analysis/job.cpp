// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/job.h"

#include "analysis/runs.h"
#include "core/refusal.h"
#include "io/spin_file.h"

#include <algorithm>
#include <atomic>
#include <optional>
#include <string_view>

namespace cr::analysis {

namespace {

using Kind = PermanenceOutcome::Kind;

// A file's blocks until the job is told to stop: then the file ends as if it
// could not be read, so a stop is heard within a block even in a huge file.
class StoppableSource final : public io::BlockSource {
public:
    StoppableSource(const std::string& path, const std::atomic<bool>& stop)
        : m_file(path), m_stop(stop) {}
    bool open() override { return m_file.open(); }
    bool empty() const override { return m_file.empty(); }
    std::optional<std::string_view> nextBlock() override {
        if (m_stop.load(std::memory_order_relaxed)) {
            m_stopped = true;
            return std::nullopt;
        }
        return m_file.nextBlock();
    }
    bool failed() const override { return m_stopped || m_file.failed(); }
    void close() override { m_file.close(); }

private:
    io::FileSource m_file;
    const std::atomic<bool>& m_stop;
    bool m_stopped = false;
};

// Reads the files; each read one joins the numbers, each other one the
// refusals. Once stop is set, no further file is read, nor the one being read
// kept or refused.
void readFiles(const JobInput& input, std::vector<JobInput::Numbers>& sources,
               std::vector<FileRefusal>& refused, const std::atomic<bool>& stop) {
    for (const std::string& path : input.files) {
        StoppableSource source(path, stop);
        io::SpinFileOutcome read =
            io::readSpinFile(source, io::kAllSpins, 1, io::SpinStore::Numbers);
        if (stop.load(std::memory_order_relaxed)) {
            return;
        }
        const Kind kind = read.permanence.kind;
        LoadedSpins loaded;
        if (kind == Kind::Read) {
            loaded = spinsOf(std::move(read));
        }
        if (kind == Kind::Read && loaded.error.empty()) {
            sources.push_back({path, std::move(loaded.numbers)});
            continue;
        }
        FileRefusal r;
        r.file = path;
        if (kind == Kind::Refused) {
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
    readFiles(input, sources, result.refused, progress.stop);
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

} // namespace cr::analysis
