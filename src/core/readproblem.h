// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/permanence.h"

#include <string>

namespace cr {

// Why a file gave no spins, as a value: every reader's caller (the window,
// "Auswertung", the batch tool) names it, and readMessage words it once for
// all of them, in the window's German or the tool's English.
struct ReadProblem {
    enum class Kind {
        NoSuchFile,
        CannotOpen, // the open failed: error
        Directory,
        NotRegular, // a device, FIFO or socket under the name
        Empty,      // length 0
        Neither,    // the first field is no number and no "Spielbank" header
        Refused,    // a spin field: spin, text, refusal
        CannotRead, // a read failed midway: error, call
        OutOfMemory,
        OnlyBlankLines,   // a permanence without a single field
        EndsInHeader,     // a permanence that ends after headerFields (< 3) fields
        HeaderUnfinished, // ends before the fourth header field, or not read to its end
        Unfinished,       // could not be read to its end
    };
    explicit ReadProblem(Kind k = Kind::Unfinished) : kind(k) {}

    Kind kind;
    int error = 0;      // errno of the failed call
    std::string call;   // the name of the failed call
    long long spin = 0; // Refused, Neither: the spin's position among the file's spins
    std::string text;   // Refused, Neither: the field as the refusal shows it
    PermanenceOutcome::Refusal refusal = PermanenceOutcome::Refusal::None;
    bool numberList = false;      // Refused: read as a list without header
    std::size_t headerFields = 0; // EndsInHeader
    long long spins = 0;          // OutOfMemory: the spins it holds, 0 when unknown
    std::size_t fieldLimit = 0;   // Refused as too long: the bytes a field may have
};

enum class Language { German, English };

// The reason in a few words: the German one completes the window's "Die
// Datei … kann nicht geöffnet werden:" (a Refused spin as the three status
// lines, joined by line feeds); the English one follows the tool's
// "chancenraster-analyse: FILE: ".
std::string readMessage(const ReadProblem& problem, Language language);

// The problems that refuse a file as a whole; a Refused spin past the first
// one is the import's refusal, shown in the status label.
bool refusesWholeFile(const ReadProblem& problem);

} // namespace cr
