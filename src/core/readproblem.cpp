// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/readproblem.h"

#include "core/refusal.h"

#include <cstring>

namespace cr {

namespace {

using Kind = ReadProblem::Kind;
using Refusal = PermanenceOutcome::Refusal;

const char* const kGermanEmpty = "Sie ist leer.";
const char* const kGermanNeither =
    "Sie ist weder eine Permanenz (erste Angabe \u201eSpielbank \u2026\u201c) noch eine Liste "
    "von Zahlen.";
const char* const kGermanEndsInHeader = "Sie endet schon im Kopf der Permanenz.";
const char* const kGermanNotRegular = "Unter diesem Namen steht keine gewöhnliche Datei.";
const char* const kGermanTooLarge = "Sie ist zu groß für den Speicher.";

std::string systemError(int error) {
    return std::strerror(error);
}

std::string german(const ReadProblem& p) {
    switch (p.kind) {
    case Kind::NoSuchFile:
        return systemError(ENOENT) + '.';
    case Kind::CannotOpen:
    case Kind::CannotRead:
        return systemError(p.error) + '.';
    case Kind::Directory:
    case Kind::NotRegular:
        return kGermanNotRegular;
    case Kind::Empty:
        return kGermanEmpty;
    case Kind::Neither:
        return kGermanNeither;
    case Kind::Refused: {
        PermanenceOutcome outcome;
        outcome.refusedSpin = p.spin;
        outcome.refusedText = p.text;
        const auto lines = refusalLines(outcome);
        return lines[0] + '\n' + lines[1] + '\n' + lines[2];
    }
    case Kind::OutOfMemory:
        return kGermanTooLarge;
    case Kind::OnlyBlankLines:
    case Kind::EndsInHeader:
    case Kind::HeaderUnfinished:
    case Kind::Unfinished:
        return kGermanEndsInHeader;
    }
    return {};
}

std::string englishRefusal(const ReadProblem& p) {
    const std::string spin = "spin " + std::to_string(p.spin);
    if (p.refusal == Refusal::TooLong) {
        return spin + " is a field of more than " + std::to_string(p.fieldLimit) +
               " bytes, no number";
    }
    const std::string where = spin + " reads \"" + p.text + "\"";
    if (p.refusal == Refusal::OutOfRange) {
        return where + ", allowed are 0 to 36";
    }
    return p.numberList ? where + ", which is not a number (a file without a \"Spielbank\" "
                                  "header must hold numbers only)"
                        : where + ", which holds no number";
}

std::string english(const ReadProblem& p) {
    switch (p.kind) {
    case Kind::NoSuchFile:
        return "no such file";
    case Kind::CannotOpen:
        return "cannot be opened: " + systemError(p.error);
    case Kind::Directory:
        return "a directory, not a file";
    case Kind::NotRegular:
        return "not a regular file";
    case Kind::Empty:
        return "the file is empty";
    case Kind::Neither:
    case Kind::Refused:
        return englishRefusal(p);
    case Kind::CannotRead:
        return "cannot be read (" + p.call + "): " + systemError(p.error);
    case Kind::OutOfMemory:
        return p.spins > 0 ? "not memory enough for its " + std::to_string(p.spins) + " spins"
                           : "not memory enough to hold its spins";
    case Kind::OnlyBlankLines:
        return "the file holds no field, only blank lines";
    case Kind::EndsInHeader:
        return "the file ends after " + std::to_string(p.headerFields) + " of its 4 header fields";
    case Kind::HeaderUnfinished:
        return "the file ends before its 4th header field, or could not be read to its end";
    case Kind::Unfinished:
        return "the file could not be read to its end";
    }
    return {};
}

} // namespace

std::string readMessage(const ReadProblem& problem, Language language) {
    return language == Language::German ? german(problem) : english(problem);
}

bool refusesWholeFile(const ReadProblem& problem) {
    return problem.kind != Kind::Refused;
}

} // namespace cr
