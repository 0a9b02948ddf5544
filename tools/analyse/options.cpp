// SPDX-License-Identifier: GPL-3.0-or-later
#include "options.h"

#include "analysis/entries.h"
#include "analysis/sources.h"
#include "core/limits.h"

#include <charconv>
#include <map>
#include <set>
#include <string_view>

namespace cr::batch {

namespace {

// A whole number written in decimal digits only, within [least, most].
std::optional<unsigned long long> wholeNumber(std::string_view text, unsigned long long least,
                                              unsigned long long most) {
    unsigned long long value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || text.front() == '+' || ec != std::errc() || ptr != end || value < least ||
        value > most) {
        return std::nullopt;
    }
    return value;
}

std::string rangeError(std::string_view option, std::string_view value, unsigned long long least,
                       unsigned long long most) {
    return std::string(option) + " takes a whole number from " + std::to_string(least) + " to " +
           std::to_string(most) + ", not \"" + std::string(value) + "\"";
}

// The options with a number, and the numbers each takes.
struct NumberOption {
    std::string_view name;
    unsigned long long least;
    unsigned long long most;
};
constexpr NumberOption kNumberOptions[] = {
    {"--steprate", 1, kMaxSteprate},
    {"--spins", 1, kMostSpins},
    {"--runs-of", 1, kMostSpins},
    {"--simulate", 1, kMostRuns},
    {"--seed", 0, ~0ULL},
    {"--threads", 1, analysis::kMostThreads},
};

const NumberOption* numberOption(std::string_view name) {
    for (const NumberOption& option : kNumberOptions) {
        if (option.name == name) {
            return &option;
        }
    }
    return nullptr;
}

using Numbers = std::map<std::string, unsigned long long, std::less<>>;

std::string checkCombination(const Options& o, const Numbers& numbers) {
    if (!numbers.count("--steprate")) {
        return "--steprate is missing";
    }
    if (o.mode == Mode::Simulate) {
        if (numbers.count("--runs-of")) {
            return "--simulate and --runs-of exclude each other";
        }
        if (!o.spins) {
            return "--simulate needs --spins, the length of each run";
        }
        if (!o.files.empty()) {
            return "--simulate reads no files, but got \"" + o.files.front() + "\"";
        }
    } else {
        if (o.files.empty()) {
            return "no permanence file given";
        }
        if (o.seed) {
            return "--seed only applies to --simulate";
        }
    }
    if (o.pool && o.mode != Mode::RunsOf) {
        return "--pool only applies to --runs-of";
    }
    if (o.mode != Mode::Replay) {
        analysis::JobInput entries;
        entries.steprate = o.steprate;
        entries.runLength = o.runLength;
        entries.simulate = o.mode == Mode::Simulate;
        entries.runs = o.runs;
        entries.files = o.files;
        if (std::string refusal = analysis::entriesRefusal(entries, Language::English);
            !refusal.empty()) {
            return refusal;
        }
    }
    return {};
}

// The options from the numbers and flags read.
Options optionsOf(const Numbers& numbers, const std::set<std::string, std::less<>>& flags,
                  std::vector<std::string> files) {
    const auto number = [&](std::string_view name) -> std::optional<unsigned long long> {
        const auto it = numbers.find(name);
        return it == numbers.end() ? std::nullopt : std::optional(it->second);
    };
    Options o;
    o.steprate = static_cast<int>(number("--steprate").value_or(0));
    if (const auto spins = number("--spins")) {
        o.spins = static_cast<long long>(*spins);
    }
    if (const auto runs = number("--simulate")) {
        o.mode = Mode::Simulate;
        o.runs = static_cast<long long>(*runs);
        o.runLength = o.spins.value_or(0);
    } else if (const auto length = number("--runs-of")) {
        o.mode = Mode::RunsOf;
        o.runLength = static_cast<long long>(*length);
    }
    o.seed = number("--seed");
    o.threads = static_cast<int>(number("--threads").value_or(0));
    o.json = flags.count("--json") > 0;
    o.pool = flags.count("--pool") > 0;
    o.files = std::move(files);
    return o;
}

} // namespace

ParsedArguments parseArguments(const std::vector<std::string>& args) {
    Numbers numbers;
    std::set<std::string, std::less<>> flags;
    std::vector<std::string> files;
    bool optionsEnd = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnd || arg.size() < 2 || arg[0] != '-') {
            files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnd = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            Options help;
            help.help = true;
            return {help, {}};
        }
        if (arg == "--version") {
            Options version;
            version.version = true;
            return {version, {}};
        }
        const auto eq = arg.find('=');
        const std::string name = arg.substr(0, eq);
        std::optional<std::string> value;
        if (eq != std::string::npos) {
            value = arg.substr(eq + 1);
        }
        const NumberOption* option = numberOption(name);
        if (!option && name != "--json" && name != "--pool") {
            return {std::nullopt, "unknown option \"" + arg + "\""};
        }
        if (numbers.count(name) || flags.count(name)) {
            return {std::nullopt, name + " given twice"};
        }
        if (!option) {
            if (value) {
                return {std::nullopt, name + " takes no value"};
            }
            flags.insert(name);
            continue;
        }
        if (!value) {
            if (i + 1 >= args.size()) {
                return {std::nullopt, name + " needs a value"};
            }
            value = args[++i];
        }
        // The seed follows the rule the "Auswertung" form follows.
        const std::optional<unsigned long long> n =
            name == "--seed" ? std::optional<unsigned long long>(analysis::parseSeed(*value))
                             : wholeNumber(*value, option->least, option->most);
        if (!n && name == "--seed") {
            return {std::nullopt, "--seed: " + analysis::seedRefusal(*value, Language::English)};
        }
        if (!n) {
            return {std::nullopt, rangeError(name, *value, option->least, option->most)};
        }
        numbers[name] = *n;
    }
    Options o = optionsOf(numbers, flags, std::move(files));
    if (std::string error = checkCombination(o, numbers); !error.empty()) {
        return {std::nullopt, error};
    }
    return {o, {}};
}

std::string helpText() {
    return R"help(Usage:
  chancenraster-analyse --steprate N [--spins K] [--json] [--threads T] FILE...
  chancenraster-analyse --steprate N --runs-of K [--spins M] [--pool] [--json]
                        [--threads T] FILE...
  chancenraster-analyse --steprate N --simulate RUNS --spins K [--seed S] [--json]
                        [--threads T]
  chancenraster-analyse --help
  chancenraster-analyse --version

Evaluates spins with the program's own rules, without the window: per pair
R/S, M/P and G/U the fields never hit ("leer") and the fields hit in step 1
and never since ("einmal"), step by step, beside the window's statistic
("statistisch", halved from step to step) and the exact expectation.

Modes:
  --steprate N        step rate, 1 to 16383 (required in every mode)
  (no mode option)    replay: one run over each FILE from its first spin,
                      one line per completed step with the six counters
  --spins K           only the first K spins of each file; with --simulate
                      the length of every run
  --runs-of K         cut each FILE into consecutive runs of K spins, each
                      starting afresh as after "Reset" (a remainder shorter
                      than K is left out), and give per step the mean and
                      standard deviation of each counter over the runs
  --pool              with --runs-of: after the tables of the files, one
                      table over the runs of all files together
  --simulate RUNS     the same table over RUNS runs of random numbers 0..36
  --seed S            start value of the simulation, 0 to 2^64-1; the same
                      seed gives the same output whatever the thread count
                      (without it, one is taken from the clock and shown)
  --threads T         worker threads, 1 to 256 (default: one per processor)
  --json              one JSON object per table and line instead of
                      tab-separated text

Files: a permanence as the window imports it (four header fields, the first
beginning with "Spielbank"; same reader, rules and refusals), or a plain list
of numbers without a header, comma- or line-separated, as recorded tables are
often published. A file whose first field does not begin with "Spielbank" is
read as such a list, and then every field must be a number (digits and at
most one decimal point) that rounds, half to even, to 0..36. In both, an
empty field (two commas in a row, a comma at a line's end) is no spin, and a
field longer than 4096 bytes refuses the file.

Output, tab-separated with one header line:
  replay:           file, step, statistisch, expected, leer_rs, leer_mp,
                    leer_gu, einmal_rs, einmal_mp, einmal_gu
  runs-of/simulate: file, runs, step, statistisch, expected, sigma, then
                    mean and sd of each counter (leer_rs_mean, leer_rs_sd, ...)
"expected" is the exact mean 2 N (18/37)^k of each counter at step k, "sigma"
its standard deviation sqrt(N q (1 - q)) with q = 2 (18/37)^k; "sd" is the
standard deviation over the runs (divided by the number of runs). In JSON,
Z is (MEAN - expected) / (sigma / sqrt(runs)), "empty_share" the share of
runs with at least one empty field of the pair, and "empty_share_exact" its
exact value 1 - (1 - q)^N. In the
file column a simulation shows as "(simulation, seed S)" and a pooled table
as "(all files)". Control characters, backslashes and bytes that are no
valid UTF-8 in file names (and in fields quoted in messages) are written as
\t, \n, \r, \\ or \xNN; in JSON such bytes become the text \xNN.

With --json, per table:
  replay:  {"file": PATH, "steprate": N, "spins": TAKEN, "steps": [{"step": k,
           "statistisch": S, "expected": MEAN, "leer": [RS, MP, GU],
           "einmal": [RS, MP, GU]}, ...]}
  runs:    {"file": PATH or null, "steprate": N, "spins": K, "runs": R, "steps":
           [{"step": k, "statistisch": S, "expected": MEAN, "sigma": SIGMA,
           "leer": [[MEAN, SD, Z] x3], "einmal": [[MEAN, SD, Z] x3],
           "empty_share": [RS, MP, GU], "empty_share_exact": P}, ...]}
           (a simulation adds "seed", a pooled table has "file": null and
           "files": [PATH, ...])

A file that is refused or cannot be read gets one line on stderr naming the
file, the position and the reason; the other files are still analysed. A
file too short for one run gets a note on stderr and a table without steps.
While work runs longer than a second, a progress line shows on stderr if it
is a terminal.

Exit status: 0 done, 1 a file was refused or unreadable, memory ran out or
the output could not be written, 2 bad arguments.
)help";
}

} // namespace cr::batch
