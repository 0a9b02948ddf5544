// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/betlog.h"

#include <array>
#include <charconv>

namespace cr::analysis {

namespace {

// The shortest text that reads back as the value.
void append(std::string& text, double value) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    text.append(buffer.data(), result.ptr);
}

} // namespace

std::string betLog(const std::vector<Bet>& bets) {
    std::string text = "spin\tnumber\tpair\tside\tstake\treturn\tbalance\n";
    for (const Bet& b : bets) {
        text += std::to_string(b.spin) + '\t' + std::to_string(b.number) + '\t';
        text += pairName(b.pair);
        text += '\t';
        text += sideName(b.pair, b.side);
        text += '\t';
        append(text, b.stake);
        text += '\t';
        append(text, b.paidBack);
        text += '\t';
        append(text, b.balance);
        text += '\n';
    }
    return text;
}

} // namespace cr::analysis
