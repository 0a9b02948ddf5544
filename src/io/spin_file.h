// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/permanence.h"
#include "io/fields.h"
#include "io/permanence_reader.h"

#include <cstdint>
#include <string>
#include <vector>

namespace cr::io {

// How the spins of a file are laid out.
enum class SpinLayout {
    Permanence, // the import's layout: four header fields, the first beginning "Spielbank"
    NumberList, // numbers only, without a header, as recorded tables are often published
};

// What a reader keeps of the spins: the cells the window replays, or only
// the numbers, as a batch evaluation wants them.
enum class SpinStore {
    Cells,
    Numbers, // a number list's spins go to SpinFileOutcome::numbers instead of the cells
};

struct SpinFileOutcome {
    SpinLayout layout = SpinLayout::Permanence;
    // A number list read with SpinStore::Numbers: the kept spins, each
    // rounded half to even to its number 0..36; the cells stay empty then.
    std::vector<std::uint8_t> numbers;
    // Shaped as the import's reader gives it: for a read file the count and
    // the cells 0..count+20, spin k in cell k; for a refused one the spin's
    // position, its text (blanks removed, cut to 20 characters) and why.
    PermanenceOutcome permanence;
};

// Reads a list of numbers without a header, split into fields exactly as a
// permanence is. An empty field (nothing but blanks and tabs) is no spin, as
// in a permanence; every other field is one spin and must be written as a
// number: digits with at most one decimal point and nothing else once the
// blanks and tabs around it are gone (a sign, an exponent or a letter refuses
// the file). Its value, read as the import reads it and rounded half to even,
// must lie in 0..36. There are no separator or end fields. Running out of
// memory is a read failure.
SpinFileOutcome readNumberList(BlockSource& source, long long keptSpins = kAllSpins,
                               long long firstKept = 1, SpinStore store = SpinStore::Cells);

// Either layout, told apart by the first field: a file whose first field
// begins with "Spielbank", or that holds no field at all, goes unchanged to
// the import's reader (with its rules, verdicts and refusals); any other is
// read as a number list. Both count every spin and keep keptSpins of them
// from spin firstKept on (see PermanenceOutcome).
SpinFileOutcome readSpinFile(BlockSource& source, long long keptSpins = kAllSpins,
                             long long firstKept = 1, SpinStore store = SpinStore::Cells);
SpinFileOutcome readSpinFile(const std::string& path, long long keptSpins = kAllSpins,
                             long long firstKept = 1, SpinStore store = SpinStore::Cells);

} // namespace cr::io
