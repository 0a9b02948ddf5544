// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <limits>
#include <string>
#include <vector>

namespace cr {

// An empty cell of the imported permanence; a run reads it as 0.
inline const double kEmptyCell = std::numeric_limits<double>::quiet_NaN();
inline bool isEmptyCell(double cell) {
    return cell != cell;
}

// No run replays more spins than the spins box takes (fewer than 10000), so
// the window keeps no more cells than these of a longer permanence.
inline constexpr long long kMostReplayedSpins = 9999;

// What reading a permanence file found; the run control applies it.
struct PermanenceOutcome {
    enum class Kind {
        EmptyFile,    // length 0: nothing changes, the chooser stays open
        NotSpielbank, // first field does not begin with "Spielbank": likewise
        ReadFailure,  // cannot be opened or ends inside its header
        Refused,      // a spin outside 0..36 or without a number: nothing is taken over
        Read,         // header and spins read
    };
    // Why a file was refused.
    enum class Refusal {
        None,
        OutOfRange, // the value rounds, half to even, to a number outside 0..36
        NotANumber, // the field holds no number
        TooLong,    // a field far longer than any number
    };
    Kind kind = Kind::ReadFailure;
    Refusal refusal = Refusal::None;
    bool outOfMemory = false; // a ReadFailure because memory ran out
    // Header fields 1..3 as far as they were read, decoded for display.
    std::vector<std::string> header;
    // For Refused: the spin's position among the file's spins and its text.
    long long refusedSpin = 0;
    std::string refusedText;
    // For Read: the count of spins in the file and the cells 0..kept+20
    // (cell k = spin firstKept - 1 + k; an empty cell holds kEmptyCell),
    // kept the count or the fewer spins the reader was asked to keep.
    double count = 0;
    std::vector<double> cells;
    // The spin of the file in cell 1: the cells may hold a later stretch.
    long long firstKept = 1;
};

} // namespace cr
