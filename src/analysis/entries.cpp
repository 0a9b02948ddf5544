// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/entries.h"

#include "analysis/analysisform.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace cr::analysis {

namespace {

bool german(Language language) {
    return language == Language::German;
}

// A whole number with its thousands grouped: "1.234.567" or "1,234,567".
std::string grouped(unsigned long long value, Language language) {
    std::string digits = std::to_string(value);
    const char mark = german(language) ? '.' : ',';
    for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3) {
        digits.insert(static_cast<std::size_t>(at), 1, mark);
    }
    return digits;
}

// One decimal, with the language's separator.
std::string oneDecimal(double value, Language language) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    std::string s = text;
    if (german(language)) {
        std::replace(s.begin(), s.end(), '.', ',');
    }
    return s;
}

// A count as a reader takes it in at a glance: grouped below a million,
// else in millions, billions or trillions with one decimal below ten.
std::string roughCount(long long count, Language language) {
    struct Scale {
        double size;
        const char* de;
        const char* en;
    };
    static constexpr Scale kScales[] = {
        {1e12, "Bio.", "trillion"}, {1e9, "Mrd.", "billion"}, {1e6, "Mio.", "million"}};
    for (const Scale& scale : kScales) {
        const double n = static_cast<double>(count) / scale.size;
        if (n >= 1) {
            const std::string figure =
                n < 10 ? oneDecimal(n, language)
                       : grouped(static_cast<unsigned long long>(std::llround(n)), language);
            return figure + ' ' + (german(language) ? scale.de : scale.en);
        }
    }
    return grouped(static_cast<unsigned long long>(std::max(count, 0LL)), language);
}

std::string roughTime(double seconds, Language language) {
    const bool de = german(language);
    if (seconds < 1) {
        return de ? "unter 1 s" : "under 1 s";
    }
    const std::string about = de ? "etwa " : "about ";
    const auto rounded = [](double v) { return std::to_string(std::llround(v)); };
    if (seconds < 90) {
        return about + rounded(seconds) + " s";
    }
    if (seconds < 90 * 60) {
        return about + rounded(seconds / 60) + " min";
    }
    if (seconds < 48 * 3600) {
        return about + rounded(seconds / 3600) + " h";
    }
    return about + rounded(seconds / 86400) + (de ? " Tage" : " days");
}

std::string roughBytes(long long bytes, Language language) {
    const double megabytes = static_cast<double>(bytes) / 1e6;
    if (megabytes < 1) {
        return german(language) ? "unter 1 MB" : "under 1 MB";
    }
    if (megabytes < 1000) {
        return std::to_string(std::llround(megabytes)) + " MB";
    }
    return oneDecimal(megabytes / 1000, language) + " GB";
}

// Measured on the evaluation of the batch tool (one thread of a 2-core
// machine, 2026): a spin costs about 10 ns, a step end 15 ns, a run's set-up
// 1.5 µs. The figure only has to tell seconds from hours.
constexpr double kSecondsPerSpin = 10e-9;
constexpr double kSecondsPerStep = 15e-9;
constexpr double kSecondsPerRun = 1.5e-6;
// A system bet on three pairs costs 8 to 45 ns a spin, the slow end where
// the Marsch changes sides at random (Nachsatz, letzter) under a progression;
// the estimate takes the slow end, drawing the spins included.
constexpr double kSystemSecondsPerSpin = 45e-9;
// A step keeps its sums and six histograms on every thread.
constexpr long long kStepBytes = 320;
constexpr long long kStepBytesPerRow = 48;

constexpr double kAskAbove = 60;                // seconds
constexpr long long kAskAboveBytes = 1LL << 30; // 1 GiB

} // namespace

std::optional<std::uint64_t> parseSeed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    if (text.empty() || text.front() < '0' || text.front() > '9') {
        return std::nullopt; // no sign, no "0x": digits only
    }
    std::uint64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end) {
        return std::nullopt;
    }
    return value;
}

std::string seedRefusal(std::string_view text, Language language) {
    const std::uint64_t most = std::numeric_limits<std::uint64_t>::max();
    if (german(language)) {
        return "Der Seed \u201e" + std::string(text) + "\u201c ist keine ganze Zahl von 0 bis " +
               grouped(most, language) + " (nur Ziffern).";
    }
    return "the seed \"" + std::string(text) + "\" is no whole number from 0 to " +
           std::to_string(most) + " (digits only)";
}

std::string entriesRefusal(const JobInput& input, Language language) {
    const bool de = german(language);
    if (input.steprate < 1 || input.steprate > kMaxSteprate) {
        return de ? "Die Step-Rate muss zwischen 1 und " + grouped(kMaxSteprate, language) +
                        " liegen."
                  : "the step rate must lie from 1 to " + std::to_string(kMaxSteprate);
    }
    if (input.runLength < input.steprate) {
        return de ? "Ein Lauf von " +
                        grouped(static_cast<unsigned long long>(input.runLength), language) +
                        " Würfen ist kürzer als ein Step von " +
                        grouped(static_cast<unsigned long long>(input.steprate), language) +
                        " Würfen: Es käme kein Step zustande."
                  : "runs of " + std::to_string(input.runLength) +
                        " spins are shorter than one step of " + std::to_string(input.steprate);
    }
    if (input.simulate && input.runs < 1) {
        return de ? "Es ist mindestens ein Lauf zu simulieren." : "at least one run is needed";
    }
    if (!input.simulate && input.files.empty() && input.loaded.empty()) {
        return de ? "Es ist keine Quelle gewählt: Bitte eine Datei hinzufügen und ankreuzen "
                    "oder \u201eSimulation\u201c wählen."
                  : "no permanence file given";
    }
    return {};
}

Cost estimateCost(const JobInput& input, long long fileSpins) {
    Cost cost;
    const long long length = std::max(input.runLength, 1LL);
    const long long runs = input.simulate ? input.runs : fileSpins / length;
    const double spins = static_cast<double>(runs) * static_cast<double>(length);
    cost.spins = static_cast<long long>(std::min(spins, 9e18));
    const long long stepsPerRun = length / std::max(input.steprate, 1);
    const double steps = static_cast<double>(runs) * static_cast<double>(stepsPerRun);
    const double threadSeconds = spins * kSecondsPerSpin + steps * kSecondsPerStep +
                                 static_cast<double>(runs) * kSecondsPerRun;
    cost.seconds = threadSeconds / std::max(input.threads, 1);
    const double sums = static_cast<double>(stepsPerRun) *
                        static_cast<double>(kStepBytes + kStepBytesPerRow * input.steprate) *
                        std::max(input.threads, 1);
    const double numbers = input.simulate ? 0 : static_cast<double>(fileSpins);
    cost.bytes = static_cast<long long>(std::min(sums + numbers, 9e18));
    return cost;
}

std::string costLine(const Cost& cost, int threads, Language language) {
    const bool de = german(language);
    const std::string cores =
        de ? (threads == 1 ? "1 Kern" : std::to_string(threads) + " Kernen")
           : (threads == 1 ? "1 thread" : std::to_string(threads) + " threads");
    return roughCount(cost.spins, language) + (de ? " Würfe, " : " spins, ") +
           roughTime(cost.seconds, language) + (de ? " auf " : " on ") + cores + ", " +
           roughBytes(cost.bytes, language) + (de ? " Speicher" : " of memory");
}

Cost estimateSystemCost(long long sessions, long long spins, int threads, bool keepResults,
                        long long fileSpins) {
    Cost cost;
    const double all =
        static_cast<double>(std::max(sessions, 0LL)) * static_cast<double>(std::max(spins, 0LL));
    cost.spins = static_cast<long long>(std::min(all, 9e18));
    cost.seconds = all * kSystemSecondsPerSpin / std::max(threads, 1);
    const double results =
        keepResults ? static_cast<double>(sessions) * static_cast<double>(sizeof(double)) : 0;
    cost.bytes = static_cast<long long>(std::min(results + static_cast<double>(fileSpins), 9e18));
    return cost;
}

bool worthAsking(const Cost& cost) {
    return cost.seconds > kAskAbove || cost.bytes > kAskAboveBytes;
}

} // namespace cr::analysis
