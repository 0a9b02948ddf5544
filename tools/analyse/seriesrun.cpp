// SPDX-License-Identifier: GPL-3.0-or-later
#include "seriesrun.h"

#include "analyse.h"
#include "analysis/runs.h"
#include "analysis/sources.h"
#include "output.h"
#include "progress.h"

#include <algorithm>
#include <cmath>

namespace cr::batch {

using namespace analysis;

namespace {

constexpr int kDecimals = 4;
constexpr const char* kPairNames[kSeriesPairs] = {"rs", "mp", "gu"};

int threadCount(const Options& o) {
    return o.threads > 0 ? o.threads : processorCount();
}

std::string fileColumn(const SeriesSource& source) {
    if (source.file) {
        return escaped(*source.file);
    }
    if (source.seed) {
        return "(simulation, seed " + std::to_string(*source.seed) + ")";
    }
    return "(all files)";
}

template <typename T, typename Write> std::string joined(const T& values, Write write) {
    std::string text;
    for (const auto& v : values) {
        if (!text.empty()) {
            text += ',';
        }
        text += write(v);
    }
    return text;
}

std::string counts(const std::vector<long long>& values) {
    return joined(values, [](long long v) { return std::to_string(v); });
}

std::string orNull(const std::optional<double>& value) {
    return value ? shortest(*value) : std::string("null");
}

// The expected series of each length up to the longest seen (and at least
// one length), as JSON.
std::string expectedSeries(const PairSeries& pair, int side) {
    const long long upTo = std::max<long long>(pair.longest[static_cast<std::size_t>(side)], 1);
    std::string text = "[";
    for (long long k = 1; k <= upTo; ++k) {
        if (k > 1) {
            text += ',';
        }
        text += shortest(pair.expectedOfLength(side, k));
    }
    return text + "]";
}

std::string pairJson(const PairSeries& pair) {
    std::string text = "{\"decisions\":" + std::to_string(pair.decisions) + ",\"sides\":[" +
                       std::to_string(pair.sides[0]) + "," + std::to_string(pair.sides[1]) +
                       "],\"runs\":" + std::to_string(pair.runs) +
                       ",\"runs_expected\":" + shortest(pair.runsMean()) +
                       ",\"runs_sd\":" + shortest(std::sqrt(pair.runsVariance())) +
                       ",\"runs_z\":" + orNull(pair.runsZ());
    for (int side = 0; side < 2; ++side) {
        const std::string s = std::to_string(side + 1);
        const long long longest = pair.longest[static_cast<std::size_t>(side)];
        text += ",\"longest_" + s + "\":" + std::to_string(longest) + ",\"longest_" + s +
                "_chance\":" + shortest(pair.chanceOfSeries(side, longest));
    }
    text += ",\"ecart\":" + std::to_string(pair.ecart()) +
            ",\"ecart_per_root\":" + shortest(pair.ecartPerRoot());
    for (int side = 0; side < 2; ++side) {
        const std::string s = std::to_string(side + 1);
        text += ",\"series_" + s + "\":[" + counts(pair.byLength[static_cast<std::size_t>(side)]) +
                "],\"series_" + s + "_expected\":" + expectedSeries(pair, side);
    }
    return text + "}";
}

std::string extremeJson(const NumberCounts& numbers, const char* name, int number) {
    const std::string n = name;
    return ",\"" + n + "\":" + std::to_string(number) + ",\"" + n +
           "_count\":" + std::to_string(numbers.counts[static_cast<std::size_t>(number)]) + ",\"" +
           n + "_chance\":" + shortest(numbers.chanceForOne(number)) + ",\"" + n +
           "_chance_37\":" + shortest(numbers.chanceAmong37(number));
}

std::string extremeColumns(const NumberCounts& numbers, int number) {
    return std::to_string(number) + '\t' +
           std::to_string(numbers.counts[static_cast<std::size_t>(number)]) + '\t' +
           shortest(numbers.chanceForOne(number)) + '\t' + shortest(numbers.chanceAmong37(number));
}

} // namespace

void writeSeriesPairsHeader(std::ostream& out) {
    out << "file\tpair\tdecisions\tside_1\tside_2\truns\truns_expected\truns_z\tlongest_1\t"
           "longest_1_chance\tlongest_2\tlongest_2_chance\tecart\tecart_per_root\tseries_1\t"
           "series_2\n";
}

void writeSeriesPairs(std::ostream& out, const SeriesSource& source) {
    for (int p = 0; p < kSeriesPairs; ++p) {
        const PairSeries& pair = source.stats.pairs[static_cast<std::size_t>(p)];
        const std::optional<double> z = pair.runsZ();
        out << fileColumn(source) << '\t' << kPairNames[p] << '\t' << pair.decisions << '\t'
            << pair.sides[0] << '\t' << pair.sides[1] << '\t' << pair.runs << '\t'
            << fixed(pair.runsMean(), kDecimals) << '\t'
            << (z ? fixed(*z, kDecimals) : std::string()) << '\t' << pair.longest[0] << '\t'
            << shortest(pair.chanceOfSeries(0, pair.longest[0])) << '\t' << pair.longest[1] << '\t'
            << shortest(pair.chanceOfSeries(1, pair.longest[1])) << '\t' << pair.ecart() << '\t'
            << fixed(pair.ecartPerRoot(), kDecimals) << '\t' << counts(pair.byLength[0]) << '\t'
            << counts(pair.byLength[1]) << '\n';
    }
}

void writeSeriesNumbersHeader(std::ostream& out) {
    out << "file\tspins\tchi2\tchi2_p\tmost\tmost_count\tmost_chance\tmost_chance_37\tleast\t"
           "least_count\tleast_chance\tleast_chance_37\tnumbers\n";
}

void writeSeriesNumbers(std::ostream& out, const SeriesSource& source) {
    const NumberCounts& numbers = source.stats.numbers;
    const std::optional<double> p = numbers.chiSquareP();
    out << fileColumn(source) << '\t' << numbers.spins << '\t'
        << fixed(numbers.chiSquare(), kDecimals) << '\t' << (p ? shortest(*p) : std::string())
        << '\t' << extremeColumns(numbers, numbers.most()) << '\t'
        << extremeColumns(numbers, numbers.least()) << '\t'
        << joined(numbers.counts, [](long long v) { return std::to_string(v); }) << '\n';
}

void writeSeriesJson(std::ostream& out, const SeriesSource& source) {
    const SeriesStats& s = source.stats;
    const NumberCounts& numbers = s.numbers;
    std::string text =
        "{\"file\":" + (source.file ? jsonString(*source.file) : std::string("null"));
    for (std::size_t i = 0; i < source.pooledFiles.size(); ++i) {
        text += (i == 0 ? ",\"files\":[" : ",") + jsonString(source.pooledFiles[i]);
    }
    if (!source.pooledFiles.empty()) {
        text += "]";
    }
    if (source.seed) {
        text += ",\"seed\":" + std::to_string(*source.seed);
    }
    text += ",\"sequences\":" + std::to_string(s.sequences) +
            ",\"spins\":" + std::to_string(numbers.spins) + ",\"numbers\":[" +
            joined(numbers.counts, [](long long v) { return std::to_string(v); }) +
            "],\"number_expected\":" + shortest(numbers.expected()) +
            ",\"number_sd\":" + shortest(numbers.sd()) +
            ",\"chi2\":" + shortest(numbers.chiSquare()) +
            ",\"chi2_p\":" + orNull(numbers.chiSquareP()) +
            extremeJson(numbers, "most", numbers.most()) +
            extremeJson(numbers, "least", numbers.least());
    for (int p = 0; p < kSeriesPairs; ++p) {
        text += ",\"" + std::string(kPairNames[p]) +
                "\":" + pairJson(s.pairs[static_cast<std::size_t>(p)]);
    }
    out << text << "}\n";
}

int runSeries(const Options& o, std::ostream& out, std::ostream& err, bool showProgress,
              std::uint64_t seed) {
    std::vector<SeriesSource> lines;
    int status = kDone;
    std::vector<std::optional<ReadProblem>> problems;
    if (o.mode == Mode::Simulate) {
        SeriesSource simulation{std::nullopt, seed, {}, {}};
        {
            Progress progress(showProgress, err, o.runs * o.runLength, "spins");
            simulation.stats =
                simulateSeries(o.runs, o.runLength, seed, threadCount(o), &progress.done());
        }
        lines.push_back(std::move(simulation));
        problems.emplace_back();
    } else {
        std::vector<Source> sources;
        {
            Progress progress(showProgress, err, static_cast<long long>(o.files.size()), "files");
            sources = readSources(o.files, threadCount(o), o.spins, &progress.done());
        }
        lines.resize(sources.size());
        parallelFor(sources.size(), threadCount(o), [&](std::size_t i, std::size_t) {
            if (!sources[i].problem) {
                addSequence(lines[i].stats, sources[i].numbers);
            }
            sources[i].numbers = {}; // counted: its memory is free again
        });
        SeriesSource pool;
        for (std::size_t i = 0; i < sources.size(); ++i) {
            lines[i].file = o.files[i];
            problems.push_back(sources[i].problem);
            if (!sources[i].problem) {
                mergeSeries(pool.stats, lines[i].stats);
                pool.pooledFiles.push_back(o.files[i]);
            }
        }
        if (o.pool) {
            lines.push_back(std::move(pool));
            problems.emplace_back();
        }
    }
    if (o.json) {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (problems[i]) {
                reportUnreadable(out, err, *lines[i].file, *problems[i]);
                status = kFileFailed;
                continue;
            }
            writeSeriesJson(out, lines[i]);
        }
        return status;
    }
    writeSeriesPairsHeader(out);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (problems[i]) {
            reportUnreadable(out, err, *lines[i].file, *problems[i]);
            status = kFileFailed;
            continue;
        }
        writeSeriesPairs(out, lines[i]);
    }
    out << '\n';
    writeSeriesNumbersHeader(out);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!problems[i]) {
            writeSeriesNumbers(out, lines[i]);
        }
    }
    return status;
}

} // namespace cr::batch
