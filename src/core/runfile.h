// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/permanence.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cr {

// A run saved as a permanence in the import's layout, so that "Import"
// replays exactly the same spins: four header lines, the first beginning
// with "Spielbank", saying where the numbers come from, when they were
// saved and how many there are; then one number a line; every line ends
// with CR LF. The text is UTF-8; whoever writes it encodes the header as
// the import decodes it.
std::string runAsPermanence(std::string_view origin, std::string_view savedAt,
                            const std::vector<int>& spins);

// A file read with more spins than a run replays is replayed from a spin
// the user picks: the last spin that may be picked (the file's last, or the
// largest the question can take). Nothing for a file that asks nothing.
inline constexpr long long kMostAskedFirstSpin = 2147483647;
std::optional<long long> lastFirstSpin(const PermanenceOutcome& read);

// Numbers already at hand (a simulated run to watch) as a read permanence of
// their own, spin 1 first, for RunControl::applyOpened.
PermanenceOutcome numbersAsPermanence(std::span<const std::uint8_t> numbers);

} // namespace cr
