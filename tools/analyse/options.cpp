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
    {"--unit", 1, kMostMoney},
    {"--limit", 1, kMostMoney},
    {"--capital", 0, kMostMoney},
    {"--paroli", 1, kMostParoliWins},
};

// The options with a word or a name.
constexpr std::string_view kTextOptions[] = {"--system", "--pairs", "--progression", "--zero",
                                             "--log"};
// Those that only --system takes.
constexpr std::string_view kSystemOnly[] = {"--pairs", "--progression", "--zero",    "--log",
                                            "--unit",  "--limit",       "--capital", "--paroli"};

bool isTextOption(std::string_view name) {
    for (const std::string_view option : kTextOptions) {
        if (option == name) {
            return true;
        }
    }
    return false;
}

const NumberOption* numberOption(std::string_view name) {
    for (const NumberOption& option : kNumberOptions) {
        if (option.name == name) {
            return &option;
        }
    }
    return nullptr;
}

using Numbers = std::map<std::string, unsigned long long, std::less<>>;
using Texts = std::map<std::string, std::string, std::less<>>;

std::string choiceError(std::string_view option, std::string_view choices, std::string_view value) {
    return std::string(option) + " takes " + std::string(choices) + ", not \"" +
           std::string(value) + "\"";
}

// The rules of --system from the words and numbers given, or what is wrong.
std::string readSystem(Options& o, const Numbers& numbers, const Texts& texts) {
    const auto text = [&](std::string_view name) -> const std::string* {
        const auto it = texts.find(name);
        return it == texts.end() ? nullptr : &it->second;
    };
    if (!text("--system")) {
        for (const std::string_view name : kSystemOnly) {
            if (numbers.count(name) || texts.count(name)) {
                return std::string(name) + " only applies to --system";
            }
        }
        return {};
    }
    analysis::SystemRules r;
    const std::string& marsch = *text("--system");
    const auto named = analysis::marschNamed(marsch);
    if (!named) {
        return choiceError("--system",
                           "rot, schwarz, manque, passe, gerade, ungerade, leer, folge, gegen or "
                           "letzter",
                           marsch);
    }
    r.marsch = *named;
    if (!text("--progression")) {
        return "--system needs --progression (flat, martingale, paroli or dalembert)";
    }
    const auto progression = analysis::progressionNamed(*text("--progression"));
    if (!progression) {
        return choiceError("--progression", "flat, martingale, paroli or dalembert",
                           *text("--progression"));
    }
    r.progression = *progression;
    if (const std::string* zero = text("--zero")) {
        const auto rule = analysis::zeroRuleNamed(*zero);
        if (!rule) {
            return choiceError("--zero", "partage, prison or verloren", *zero);
        }
        r.zero = *rule;
    }
    if (const std::string* pairs = text("--pairs")) {
        if (r.marsch < analysis::Marsch::Leer) {
            return "--pairs does not apply to --system " + marsch + ", which bets its own chance";
        }
        const auto chosen = analysis::pairsNamed(*pairs);
        if (!chosen) {
            return choiceError("--pairs", "a comma-separated list of rs, mp and gu, each once",
                               *pairs);
        }
        r.pairs = *chosen;
    }
    const auto number = [&](std::string_view name, long long otherwise) {
        const auto it = numbers.find(name);
        return it == numbers.end() ? otherwise : static_cast<long long>(it->second);
    };
    r.unit = number("--unit", r.unit);
    r.limit = number("--limit", r.limit);
    r.capital = number("--capital", r.capital);
    if (numbers.count("--paroli") && r.progression != analysis::Progression::Paroli) {
        return "--paroli only applies to --progression paroli";
    }
    r.paroliWins = static_cast<int>(number("--paroli", r.paroliWins));
    if (r.limit < r.unit) {
        return "--limit " + std::to_string(r.limit) + " is below --unit " + std::to_string(r.unit) +
               ": the table would take no stake";
    }
    if (const std::string* log = text("--log"); log && log->empty()) {
        return "--log needs a file name";
    }
    r.steprate = o.steprate;
    o.system = r;
    o.logFile = text("--log") ? *text("--log") : std::string();
    return {};
}

// What --series takes: files (each one sequence) or a simulation; no step rate.
std::string checkSeries(const Options& o, const Numbers& numbers) {
    if (o.system) {
        return "--series and --system exclude each other";
    }
    if (numbers.count("--steprate")) {
        return "--steprate does not apply to --series, which counts every spin alike";
    }
    if (numbers.count("--runs-of")) {
        return "--runs-of does not apply to --series: each file is one sequence of its own";
    }
    if (o.mode == Mode::Simulate) {
        if (!o.spins) {
            return "--simulate needs --spins, the length of each run";
        }
        if (!o.files.empty()) {
            return "--simulate reads no files, but got \"" + o.files.front() + "\"";
        }
        if (o.pool) {
            return "--pool only applies to files";
        }
        if (o.runLength > kMostSpins / o.runs) {
            return "--simulate " + std::to_string(o.runs) + " --spins " +
                   std::to_string(o.runLength) + " would draw more than 10^12 spins";
        }
        return {};
    }
    if (o.files.empty()) {
        return "no permanence file given";
    }
    if (o.seed) {
        return "--seed only applies to --simulate";
    }
    return {};
}

std::string checkCombination(const Options& o, const Numbers& numbers) {
    if (o.series) {
        return checkSeries(o, numbers);
    }
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
    if (o.system && o.pool && o.mode == Mode::Simulate) {
        return "--pool only applies to files";
    }
    if (!o.system && o.pool && o.mode != Mode::RunsOf) {
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
    o.series = flags.count("--series") > 0;
    o.files = std::move(files);
    return o;
}

} // namespace

ParsedArguments parseArguments(const std::vector<std::string>& args) {
    Numbers numbers;
    Texts texts;
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
        const bool isText = isTextOption(name);
        if (!option && !isText && name != "--json" && name != "--pool" && name != "--series") {
            return {std::nullopt, "unknown option \"" + arg + "\""};
        }
        if (numbers.count(name) || flags.count(name) || texts.count(name)) {
            return {std::nullopt, name + " given twice"};
        }
        if (!option && !isText) {
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
        if (isText) {
            texts[name] = *value;
            continue;
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
    if (std::string error = readSystem(o, numbers, texts); !error.empty()) {
        return {std::nullopt, error};
    }
    if (std::string error = checkCombination(o, numbers); !error.empty()) {
        return {std::nullopt, error};
    }
    return {o, {}};
}

} // namespace cr::batch
