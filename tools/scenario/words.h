// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <charconv>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace cr::scenario {

// Splits "word rest" at the first blank; the rest stays verbatim.
inline std::pair<std::string, std::string> splitWord(const std::string& line) {
    const auto blank = line.find(' ');
    if (blank == std::string::npos) {
        return {line, std::string()};
    }
    return {line.substr(0, blank), line.substr(blank + 1)};
}

// The main window's buttons a script may click, in the order the monkey
// draws from (its streams depend on it).
inline const std::vector<std::string> kButtonNames{
    "okstart",  "okweiter",    "okstep", "okreset",    "okclip",         "okinfo",
    "okextern", "okabbrechen", "okende", "okexternok", "okexternabbruch"};

inline std::optional<long long> wholeNumber(const std::string& text) {
    long long value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

} // namespace cr::scenario
