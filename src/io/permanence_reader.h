// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/permanence.h"
#include "io/fields.h"

#include <limits>
#include <string>

namespace cr::io {

inline constexpr long long kAllSpins = std::numeric_limits<long long>::max();
// The characters of a header field that reach the window.
inline constexpr std::size_t kHeaderShown = 100;

// Reads a permanence in two passes over the source: the first checks the
// header, counts the spins and checks each holds a number that lies in
// 0..36; the second stores keptSpins of them, from spin firstKept on, into
// cells created once at their final size. The source is open only during
// each pass, and its memory does not grow with the file beyond those cells.
// Header fields are cut to their first kHeaderShown characters. Running out
// of memory is a read failure.
PermanenceOutcome readPermanence(BlockSource& source, long long keptSpins = kAllSpins,
                                 long long firstKept = 1);
PermanenceOutcome readPermanenceFile(const std::string& path, long long keptSpins = kAllSpins,
                                     long long firstKept = 1);

} // namespace cr::io
