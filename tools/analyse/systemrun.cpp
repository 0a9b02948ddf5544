// SPDX-License-Identifier: GPL-3.0-or-later
#include "systemrun.h"

#include "analyse.h"
#include "analysis/betlog.h"
#include "analysis/entries.h"
#include "analysis/runs.h"
#include "analysis/sources.h"
#include "output.h"
#include "progress.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace cr::batch {

using namespace analysis;

namespace {

constexpr int kDecimals = 4;

double share(long long part, long long whole) {
    return whole > 0 ? static_cast<double>(part) / static_cast<double>(whole) : 0;
}

std::string fileColumn(const SystemLine& line) {
    if (line.file) {
        return escaped(*line.file);
    }
    if (line.seed) {
        return "(simulation, seed " + std::to_string(*line.seed) + ")";
    }
    return "(all files)";
}

// Writes the log of the session; false, with a message, when the file fails.
bool writeLogFile(const std::string& path, const std::vector<Bet>& bets, std::ostream& err) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (file) {
        writeBetLog(file, bets);
        file.close();
    }
    if (!file) {
        const int error = errno;
        err << kName << "the bet log " << escaped(path) << " could not be written";
        if (error != 0) {
            err << ": " << std::strerror(error);
        }
        err << std::endl;
        return false;
    }
    return true;
}

int threadCount(const Options& o) {
    return o.threads > 0 ? o.threads : processorCount();
}

} // namespace

void writeSystemHeader(std::ostream& out) {
    out << "file\tsessions\tbets\tturnover\tresult\texpected\tsd\tz\twon_share\truined_share\t"
           "max_drawdown\tmax_stake\n";
}

void writeSystemLine(std::ostream& out, const SystemLine& line, bool json) {
    const SystemTotals& t = line.totals;
    const std::optional<double> z = t.z();
    if (!json) {
        out << fileColumn(line) << '\t' << t.sessions << '\t' << t.bets << '\t'
            << shortest(t.turnover) << '\t' << shortest(t.result) << '\t'
            << fixed(t.expected, kDecimals) << '\t' << fixed(t.sd(), kDecimals) << '\t'
            << (z ? fixed(*z, kDecimals) : std::string()) << '\t'
            << fixed(share(t.won, t.sessions), kDecimals) << '\t'
            << fixed(share(t.ruined, t.sessions), kDecimals) << '\t' << shortest(t.maxDrawdown)
            << '\t' << shortest(t.maxStake) << '\n';
        return;
    }
    std::string text = "{\"file\":" + (line.file ? jsonString(*line.file) : std::string("null"));
    for (std::size_t i = 0; i < line.pooledFiles.size(); ++i) {
        text += (i == 0 ? ",\"files\":[" : ",") + jsonString(line.pooledFiles[i]);
    }
    if (!line.pooledFiles.empty()) {
        text += "]";
    }
    if (line.seed) {
        text += ",\"seed\":" + std::to_string(*line.seed);
    }
    text += ",\"sessions\":" + std::to_string(t.sessions) + ",\"bets\":" + std::to_string(t.bets) +
            ",\"turnover\":" + shortest(t.turnover) + ",\"result\":" + shortest(t.result) +
            ",\"expected\":" + shortest(t.expected) + ",\"sd\":" + shortest(t.sd()) +
            ",\"z\":" + (z ? shortest(*z) : std::string("null")) +
            ",\"won_share\":" + shortest(share(t.won, t.sessions)) +
            ",\"ruined_share\":" + shortest(share(t.ruined, t.sessions)) +
            ",\"max_drawdown\":" + shortest(t.maxDrawdown) +
            ",\"max_stake\":" + shortest(t.maxStake) + "}\n";
    out << text;
}

void writeBetLog(std::ostream& out, const std::vector<Bet>& bets) {
    out << betLog(bets);
}

int runSystem(const Options& o, std::ostream& out, std::ostream& err, bool showProgress,
              std::uint64_t seed) {
    const SystemRules& rules = *o.system;
    int status = kDone;
    std::optional<std::vector<std::uint8_t>> firstSession; // for --log
    if (o.mode == Mode::Simulate) {
        SystemTotals totals;
        if (const Cost cost = estimateSystemCost(o.runs, o.runLength, threadCount(o), false);
            worthAsking(cost)) {
            err << kName << costLine(cost, threadCount(o), Language::English) << std::endl;
        }
        {
            Progress progress(showProgress, err, o.runs, "sessions");
            totals =
                simulateSystem(rules, o.runLength, o.runs, seed, threadCount(o), &progress.done());
        }
        if (!o.json) {
            writeSystemHeader(out);
        }
        writeSystemLine(out, SystemLine{std::nullopt, seed, {}, totals}, o.json);
        firstSession = simulatedRun(seed, 0, o.runLength);
    } else {
        std::vector<Source> sources;
        {
            Progress progress(showProgress, err, static_cast<long long>(o.files.size()), "files");
            sources = readSources(o.files, threadCount(o), o.spins, &progress.done());
        }
        std::vector<SystemTotals> totals(sources.size());
        parallelFor(sources.size(), threadCount(o), [&](std::size_t i, std::size_t) {
            const std::vector<std::uint8_t>& numbers = sources[i].numbers;
            if (sources[i].problem) {
                return;
            }
            // A file alone is one session from its first spin.
            const auto length =
                o.mode == Mode::RunsOf ? o.runLength : static_cast<long long>(numbers.size());
            totals[i] = systemOfRuns(rules, numbers, length);
        });
        if (!o.json) {
            writeSystemHeader(out);
        }
        SystemLine pool;
        for (std::size_t i = 0; i < sources.size(); ++i) {
            const Source& source = sources[i];
            if (source.problem) {
                reportUnreadable(out, err, o.files[i], *source.problem);
                status = kFileFailed;
                continue;
            }
            const auto spins = static_cast<long long>(source.numbers.size());
            if (o.mode == Mode::RunsOf && totals[i].sessions == 0) {
                out << std::flush;
                err << kName << escaped(o.files[i]) << ": " << spins
                    << " spins, not one session of " << o.runLength << std::endl;
            }
            writeSystemLine(out, SystemLine{o.files[i], std::nullopt, {}, totals[i]}, o.json);
            pool.totals.merge(totals[i]);
            pool.pooledFiles.push_back(o.files[i]);
            if (!firstSession && totals[i].sessions > 0) {
                const auto length = o.mode == Mode::RunsOf ? static_cast<std::size_t>(o.runLength)
                                                           : source.numbers.size();
                firstSession.emplace(source.numbers.begin(),
                                     source.numbers.begin() + static_cast<std::ptrdiff_t>(length));
            }
        }
        if (o.pool) {
            writeSystemLine(out, pool, o.json);
        }
    }
    if (!o.logFile.empty()) {
        SessionTrace trace;
        if (firstSession) {
            playSession(rules, *firstSession, &trace);
        }
        if (!writeLogFile(o.logFile, trace.bets, err)) {
            status = kFileFailed;
        }
    }
    return status;
}

} // namespace cr::batch
