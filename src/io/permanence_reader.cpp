#include "io/permanence_reader.h"

#include "core/numparse.h"
#include "io/cp1252.h"

namespace cr::io {

namespace {

using Kind = PermanenceOutcome::Kind;

constexpr std::string_view kMagic = "Spielbank";
constexpr std::size_t kRefusedTextLength = 20;
constexpr int kHeaderFields = 4;

enum class BodyField { Separator, End, Spin };

BodyField classify(std::string_view field) {
    if (!field.empty() && field.front() == '-') {
        return BodyField::Separator;
    }
    if (!field.empty() && field.front() == '=') {
        return BodyField::End;
    }
    return BodyField::Spin;
}

bool inRange(double value) {
    const double rounded = roundHalfEven(value);
    return rounded >= 0 && rounded <= 36;
}

std::string trimmedForDisplay(std::string_view field) {
    const auto first = field.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = field.find_last_not_of(' ');
    const std::string decoded = decodeWindows1252(field.substr(first, last - first + 1));
    // Cut after the 20th character, not inside one.
    std::size_t chars = 0;
    for (std::size_t i = 0; i < decoded.size(); ++i) {
        if ((static_cast<unsigned char>(decoded[i]) & 0xC0) != 0x80 &&
            ++chars > kRefusedTextLength) {
            return decoded.substr(0, i);
        }
    }
    return decoded;
}

// Reads the four header fields; false when the source ends inside them.
bool readHeader(FieldStream& fields, PermanenceOutcome& outcome) {
    std::string_view field;
    for (int i = 0; i < kHeaderFields; ++i) {
        if (!fields.next(field)) {
            return false;
        }
        if (i == 0 && field.substr(0, kMagic.size()) != kMagic) {
            outcome.kind = Kind::NotSpielbank;
            return false;
        }
        if (i < 3) {
            outcome.header.push_back(decodeWindows1252(field));
        }
    }
    return true;
}

// Hands every spin field of the body to take, up to the end field; stops
// early when take returns false.
template <typename Take> bool forEachSpin(FieldStream& fields, Take take) {
    std::string_view field;
    while (fields.next(field)) {
        const BodyField kind = classify(field);
        if (kind == BodyField::End) {
            break;
        }
        if (kind == BodyField::Spin && !take(field)) {
            return false;
        }
    }
    return true;
}

// First pass: count the spins, refusing the file at a value outside 0..36.
bool countSpins(FieldStream& fields, PermanenceOutcome& outcome) {
    long long count = 0;
    const bool allInRange = forEachSpin(fields, [&](std::string_view field) {
        ++count;
        if (inRange(lenientParse(field))) {
            return true;
        }
        outcome.kind = Kind::Refused;
        outcome.refusedSpin = count;
        outcome.refusedText = trimmedForDisplay(field);
        return false;
    });
    outcome.count = static_cast<double>(count);
    return allInRange;
}

// Second pass: store every spin; false if the file no longer reads as it did.
bool storeSpins(FieldStream& fields, PermanenceOutcome& outcome) {
    std::string_view field;
    for (int i = 0; i < kHeaderFields; ++i) {
        if (!fields.next(field)) {
            return false;
        }
    }
    std::size_t cell = 0;
    const auto count = static_cast<std::size_t>(outcome.count);
    const bool same = forEachSpin(fields, [&](std::string_view spin) {
        const double value = lenientParse(spin);
        if (++cell > count || !inRange(value)) {
            return false;
        }
        outcome.cells[cell] = value;
        return true;
    });
    return same && cell == count;
}

} // namespace

PermanenceOutcome readPermanence(BlockSource& source) {
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
    {
        FieldStream fields(source);
        const bool counted = readHeader(fields, outcome) && countSpins(fields, outcome);
        const bool failed = source.failed();
        source.close();
        if (!counted || failed) {
            if (failed) {
                outcome.kind = Kind::ReadFailure;
            }
            return outcome;
        }
    }

    outcome.cells.assign(static_cast<std::size_t>(outcome.count) + 21, kEmptyCell);
    if (!source.open()) {
        outcome.cells.clear();
        return outcome;
    }
    FieldStream fields(source);
    const bool stored = storeSpins(fields, outcome) && !source.failed();
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

PermanenceOutcome readPermanenceFile(const std::string& path) {
    FileSource source(path);
    return readPermanence(source);
}

} // namespace cr::io
