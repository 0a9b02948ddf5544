// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/permanence.h"
#include "io/fields.h"

#include <limits>
#include <optional>
#include <string>
#include <string_view>

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
// Opens the source and reads its first field into first (nothing when the
// source holds none). The outcome, with the source closed again, when it
// cannot be opened, is empty (or holds only a byte order mark) or memory runs
// out; nothing when reading goes on.
std::optional<PermanenceOutcome> openAtFirstField(BlockSource& source, FieldStream& fields,
                                                  std::optional<std::string_view>& first);
// The same as readPermanence for a source already opened (and not empty) whose first field
// fields has just returned as first (nothing when the source holds no
// field): the first pass goes on from there, so that the first field is read
// no more than once a pass. Closes the source as readPermanence does.
PermanenceOutcome readPermanenceAfter(BlockSource& source, FieldStream& fields,
                                      std::optional<std::string_view> first,
                                      long long keptSpins = kAllSpins, long long firstKept = 1);
PermanenceOutcome readPermanenceFile(const std::string& path, long long keptSpins = kAllSpins,
                                     long long firstKept = 1);

} // namespace cr::io
