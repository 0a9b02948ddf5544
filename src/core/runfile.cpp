// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/runfile.h"

#include "core/texts.h"

#include <algorithm>

namespace cr {

std::string runAsPermanence(std::string_view origin, std::string_view savedAt,
                            const std::vector<int>& spins) {
    std::string text;
    text.reserve(128 + 4 * spins.size());
    const auto line = [&text](std::string_view part1, std::string_view part2 = {}) {
        text += part1;
        text += part2;
        text += texts::kExportLineEnd;
    };
    line(texts::kSavedFirstLine);
    line(origin);
    line(texts::kSavedAt, savedAt);
    line(std::to_string(spins.size()), texts::kSavedCount);
    for (const int n : spins) {
        line(std::to_string(n));
    }
    return text;
}

std::optional<long long> lastFirstSpin(const PermanenceOutcome& read) {
    const auto total = static_cast<long long>(read.count);
    if (read.kind != PermanenceOutcome::Kind::Read || total <= kMostReplayedSpins) {
        return std::nullopt;
    }
    return std::min(total, kMostAskedFirstSpin);
}

PermanenceOutcome numbersAsPermanence(std::span<const std::uint8_t> numbers) {
    PermanenceOutcome read;
    read.kind = PermanenceOutcome::Kind::Read;
    read.count = static_cast<double>(numbers.size());
    // Cell k holds spin k; the reader leaves 20 empty cells after the last.
    read.cells.assign(numbers.size() + 21, kEmptyCell);
    for (std::size_t k = 0; k < numbers.size(); ++k) {
        read.cells[k + 1] = numbers[k];
    }
    return read;
}

} // namespace cr
