// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/permanence_reader.h"

#include "io/cp1252.h"
#include "io/spin_field.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <new>
#include <optional>

namespace cr::io {

namespace {

using Kind = PermanenceOutcome::Kind;
using Refusal = PermanenceOutcome::Refusal;

constexpr std::string_view kMagic = "Spielbank";
constexpr int kHeaderFields = 4;
constexpr std::size_t kSpareCells = 20; // the empty cells behind the last spin

enum class BodyField { Separator, End, Spin };

BodyField classify(std::string_view field) {
    if (isEmptyField(field)) {
        return BodyField::Separator; // an empty field is no spin
    }
    if (field.front() == '-') {
        return BodyField::Separator;
    }
    if (field.front() == '=') {
        return BodyField::End;
    }
    return BodyField::Spin;
}

// Reads the four header fields, the first of them already read; false when
// the source ends inside them.
bool readHeader(FieldStream& fields, std::string_view first, PermanenceOutcome& outcome) {
    std::string_view field = first;
    for (int i = 0; i < kHeaderFields; ++i) {
        if (i > 0 && !fields.next(field)) {
            return false;
        }
        if (i == 0 && field.substr(0, kMagic.size()) != kMagic) {
            outcome.kind = Kind::NotSpielbank;
            return false;
        }
        if (i < 3) {
            // One byte a character: no widget ever gets more than it can show.
            outcome.header.push_back(decodeWindows1252(field.substr(0, kHeaderShown)));
        }
    }
    return true;
}

// Hands the spins of the body to take, up to the end field, and stops early
// when take returns false. Most spins are one or two digits on a line of
// their own, between separator lines: those come in bulk, as whole numbers,
// to takeShort; every other spin field comes with its whole length to take.
template <typename TakeShort, typename Take>
bool forEachSpin(FieldStream& fields, TakeShort takeShort, Take take) {
    std::array<std::uint8_t, 4096> numbers{};
    std::string_view field;
    while (true) {
        while (const std::size_t taken =
                   fields.shortNumbers(numbers.data(), numbers.size(), FieldStream::Dashes::Skip)) {
            if (!takeShort(numbers.data(), taken)) {
                return false;
            }
        }
        if (!fields.next(field)) {
            return true;
        }
        const BodyField kind = classify(field);
        if (kind == BodyField::End) {
            return true;
        }
        if (kind == BodyField::Spin && !take(field, fields.length())) {
            return false;
        }
    }
}

// First pass: count the spins, refusing the file at a field that is no spin.
bool countSpins(FieldStream& fields, PermanenceOutcome& outcome) {
    long long count = 0;
    const auto takeShort = [&](const std::uint8_t*, std::size_t taken) {
        count += static_cast<long long>(taken);
        return true;
    };
    const bool allSpins =
        forEachSpin(fields, takeShort, [&](std::string_view field, std::size_t length) {
            ++count;
            double value = 0;
            const Refusal refusal = checkSpin(field, length, value);
            if (refusal == Refusal::None) {
                return true;
            }
            outcome.kind = Kind::Refused;
            outcome.refusal = refusal;
            outcome.refusedSpin = count;
            outcome.refusedText = shownField(field);
            return false;
        });
    outcome.count = static_cast<double>(count);
    return allSpins;
}

// Second pass: store the spins kept, from spin outcome.firstKept on; false if
// the file no longer reads as it did.
bool storeSpins(FieldStream& fields, PermanenceOutcome& outcome, std::size_t kept) {
    std::string_view field;
    for (int i = 0; i < kHeaderFields; ++i) {
        if (!fields.next(field)) {
            return false;
        }
    }
    long long cell = 0;
    const auto count = static_cast<long long>(outcome.count);
    const auto keptSpins = static_cast<long long>(kept);
    // Spin cell + 1 .. cell + taken go to the slots from cell + 1 - firstKept + 1 on.
    const auto takeShort = [&](const std::uint8_t* numbers, std::size_t taken) {
        const auto n = static_cast<long long>(taken);
        if (n > count - cell) {
            return false;
        }
        const long long firstSlot = cell - outcome.firstKept + 2;
        const long long from = std::clamp(1 - firstSlot, 0LL, n);
        const long long to = std::clamp(keptSpins - firstSlot + 1, from, n);
        double* const cells = outcome.cells.data();
        for (long long i = from; i < to; ++i) {
            cells[firstSlot + i] = numbers[i];
        }
        cell += n;
        return true;
    };
    const bool same =
        forEachSpin(fields, takeShort, [&](std::string_view spin, std::size_t length) {
            double value = 0;
            if (++cell > count || checkSpin(spin, length, value) != Refusal::None) {
                return false;
            }
            const long long slot = cell - outcome.firstKept + 1;
            if (slot >= 1 && static_cast<std::size_t>(slot) <= kept) {
                outcome.cells[static_cast<std::size_t>(slot)] = value;
            }
            return true;
        });
    return same && cell == count;
}

// The first pass goes on from the first field, which fields has just
// returned (nothing when the source holds no field); the second pass reads
// the source again from its start.
PermanenceOutcome readFrom(BlockSource& source, FieldStream& fields,
                           std::optional<std::string_view> first, long long keptSpins,
                           long long firstKept) {
    PermanenceOutcome outcome;
    outcome.kind = Kind::ReadFailure;
    const bool counted =
        first && readHeader(fields, *first, outcome) && countSpins(fields, outcome);
    const bool failed = source.failed();
    source.close();
    if (!counted || failed) {
        if (failed) {
            outcome.kind = Kind::ReadFailure;
        }
        return outcome;
    }

    const auto count = static_cast<long long>(outcome.count);
    outcome.firstKept = std::clamp(firstKept, 1LL, std::max(count, 1LL));
    const auto kept =
        static_cast<std::size_t>(std::min(count - outcome.firstKept + 1, std::max(keptSpins, 0LL)));
    outcome.cells.assign(kept + 1 + kSpareCells, kEmptyCell);
    if (!source.open()) {
        outcome.cells.clear();
        return outcome;
    }
    FieldStream again(source);
    const bool stored = storeSpins(again, outcome, kept) && !source.failed();
    source.close();
    if (!stored) {
        // The file changed between the passes: take nothing over.
        outcome.cells.clear();
        outcome.kind = Kind::ReadFailure;
        return outcome;
    }
    outcome.kind = Kind::Read;
    return outcome;
}

PermanenceOutcome outOfMemory(BlockSource& source) {
    source.close();
    PermanenceOutcome outcome;
    outcome.kind = Kind::ReadFailure;
    outcome.outOfMemory = true;
    return outcome;
}

PermanenceOutcome read(BlockSource& source, long long keptSpins, long long firstKept) {
    FieldStream fields(source);
    std::optional<std::string_view> first;
    if (auto ended = openAtFirstField(source, fields, first)) {
        return std::move(*ended);
    }
    return readFrom(source, fields, first, keptSpins, firstKept);
}

} // namespace

std::optional<PermanenceOutcome> openAtFirstField(BlockSource& source, FieldStream& fields,
                                                  std::optional<std::string_view>& first) {
    PermanenceOutcome outcome;
    outcome.kind = Kind::ReadFailure;
    if (!source.open()) {
        return outcome;
    }
    if (source.empty()) {
        source.close();
        outcome.kind = Kind::EmptyFile;
        return outcome;
    }
    try {
        std::string_view field;
        if (fields.next(field)) {
            first = field;
        } else if (fields.onlyByteOrderMark() && !source.failed()) {
            // Nothing but the mark an editor put in front: as empty as it looks.
            source.close();
            outcome.kind = Kind::EmptyFile;
            return outcome;
        }
    } catch (const std::bad_alloc&) {
        return outOfMemory(source);
    }
    return std::nullopt;
}

PermanenceOutcome readPermanence(BlockSource& source, long long keptSpins, long long firstKept) {
    try {
        return read(source, keptSpins, firstKept);
    } catch (const std::bad_alloc&) {
        return outOfMemory(source);
    }
}

PermanenceOutcome readPermanenceAfter(BlockSource& source, FieldStream& fields,
                                      std::optional<std::string_view> first, long long keptSpins,
                                      long long firstKept) {
    try {
        return readFrom(source, fields, first, keptSpins, firstKept);
    } catch (const std::bad_alloc&) {
        return outOfMemory(source);
    }
}

PermanenceOutcome readPermanenceFile(const std::string& path, long long keptSpins,
                                     long long firstKept) {
    FileSource source(path);
    return readPermanence(source, keptSpins, firstKept);
}

} // namespace cr::io
