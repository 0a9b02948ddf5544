// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/spin_file.h"

#include "core/numparse.h"
#include "io/permanence_reader.h"
#include "io/spin_field.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <new>
#include <optional>
#include <string_view>

namespace cr::io {

namespace {

using Kind = PermanenceOutcome::Kind;
using Refusal = PermanenceOutcome::Refusal;

constexpr std::string_view kMagic = "Spielbank";
constexpr std::size_t kSpareCells = 20; // the empty cells behind the last spin

// Digits with at most one decimal point, at least one digit.
bool writtenAsNumber(std::string_view text) {
    bool digit = false;
    bool point = false;
    for (const char c : text) {
        if (isDigit(c)) {
            digit = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digit;
}

// A number list also separates its numbers by semicolons, blanks and tabs,
// any number of them, as published tables and online logs do.
bool isListSeparator(char c) {
    return c == ';' || c == ' ' || c == '\t';
}

std::size_t skipSeparators(std::string_view field, std::size_t at) {
    while (at < field.size() && isListSeparator(field[at])) {
        ++at;
    }
    return at;
}

// The kept spins as the window's cells: cell 0 empty, then one a spin.
class CellStore {
public:
    CellStore() : m_cells{kEmptyCell} {}
    long long kept() const { return static_cast<long long>(m_cells.size()) - 1; }
    void add(double value) { m_cells.push_back(value); }
    void add(const std::uint8_t* numbers, std::size_t count) {
        m_cells.insert(m_cells.end(), numbers, numbers + count);
    }
    void finish(SpinFileOutcome& result) {
        m_cells.resize(m_cells.size() + kSpareCells, kEmptyCell);
        result.permanence.cells = std::move(m_cells);
    }

private:
    std::vector<double> m_cells;
};

// The kept spins as whole numbers only.
class NumberStore {
public:
    long long kept() const { return static_cast<long long>(m_numbers.size()); }
    void add(double value) { m_numbers.push_back(static_cast<std::uint8_t>(roundHalfEven(value))); }
    void add(const std::uint8_t* numbers, std::size_t count) {
        m_numbers.insert(m_numbers.end(), numbers, numbers + count);
    }
    void finish(SpinFileOutcome& result) { result.numbers = std::move(m_numbers); }

private:
    std::vector<std::uint8_t> m_numbers;
};

// Counts every spin and keeps keptSpins of them from spin firstKept on,
// going on from the first field, which fields has just returned (nothing
// when the source holds no field).
template <class Store>
void readList(BlockSource& source, FieldStream& fields, std::optional<std::string_view> first,
              SpinFileOutcome& result, long long keptSpins, long long firstKept) {
    PermanenceOutcome& outcome = result.permanence;
    Store store;
    long long spins = 0;
    std::array<std::uint8_t, 4096> numbers{};
    const auto keep = [&](double value) {
        ++spins;
        if (spins >= firstKept && store.kept() < keptSpins) {
            store.add(value);
        }
    };
    // One field; false when it refuses the file.
    const auto take = [&](std::string_view field) {
        if (const int quick = shortNumber(field); quick >= 0 && quick <= 36) {
            keep(quick); // the usual field: one spin of one or two digits
            return true;
        }
        const bool whole = fields.length() <= FieldStream::kKeptBytes;
        for (std::size_t start = skipSeparators(field, 0); start < field.size();) {
            std::size_t end = start;
            while (end < field.size() && !isListSeparator(field[end])) {
                ++end;
            }
            const std::string_view text = field.substr(start, end - start);
            start = skipSeparators(field, end);
            const int quick = whole ? shortNumber(text) : -1;
            double value = quick;
            const Refusal refusal = quick >= 0 && quick <= 36
                                        ? Refusal::None
                                        : checkSpin(text, whole ? text.size() : fields.length(),
                                                    value, writtenAsNumber);
            if (refusal != Refusal::None) {
                outcome.kind = Kind::Refused;
                outcome.refusal = refusal;
                outcome.refusedSpin = spins + 1;
                outcome.refusedText = shownField(text);
                return false;
            }
            keep(value);
        }
        return true;
    };
    if (first && !take(*first)) {
        return;
    }
    std::string_view field;
    while (first) {
        // Most fields are one spin of one or two digits: taken in bulk.
        while (const std::size_t taken = fields.shortNumbers(numbers.data(), numbers.size())) {
            const auto count = static_cast<long long>(taken);
            const long long from = std::clamp(firstKept - spins - 1, 0LL, count);
            const long long kept = std::min(count - from, keptSpins - store.kept());
            store.add(numbers.data() + from, static_cast<std::size_t>(kept));
            spins += count;
        }
        if (!fields.next(field)) {
            break;
        }
        if (!take(field)) {
            return;
        }
    }
    if (source.failed()) {
        return;
    }
    outcome.count = static_cast<double>(spins);
    outcome.firstKept = std::clamp(firstKept, 1LL, std::max(spins, 1LL));
    store.finish(result);
    outcome.kind = Kind::Read;
}

// Reads a number list from a source already opened and not empty, going on
// from its first field (see readList); closes the source.
SpinFileOutcome readListAfter(BlockSource& source, FieldStream& fields,
                              std::optional<std::string_view> first, long long keptSpins,
                              long long firstKept, SpinStore store) {
    SpinFileOutcome result;
    result.layout = SpinLayout::NumberList;
    PermanenceOutcome& outcome = result.permanence;
    outcome.kind = Kind::ReadFailure;
    try {
        if (store == SpinStore::Numbers) {
            readList<NumberStore>(source, fields, first, result, keptSpins, firstKept);
        } else {
            readList<CellStore>(source, fields, first, result, keptSpins, firstKept);
        }
    } catch (const std::bad_alloc&) {
        outcome = PermanenceOutcome{};
        outcome.kind = Kind::ReadFailure;
        outcome.outOfMemory = true;
    }
    source.close();
    return result;
}

// What openAtFirstField found when reading cannot go on, in the given layout.
std::optional<SpinFileOutcome> openInLayout(BlockSource& source, FieldStream& fields,
                                            std::optional<std::string_view>& first,
                                            SpinLayout layout) {
    std::optional<PermanenceOutcome> ended = openAtFirstField(source, fields, first);
    if (!ended) {
        return std::nullopt;
    }
    SpinFileOutcome result;
    result.layout = layout;
    result.permanence = std::move(*ended);
    return result;
}

} // namespace

SpinFileOutcome readNumberList(BlockSource& source, long long keptSpins, long long firstKept,
                               SpinStore store) {
    FieldStream fields(source);
    std::optional<std::string_view> first;
    if (auto ended = openInLayout(source, fields, first, SpinLayout::NumberList)) {
        return std::move(*ended);
    }
    return readListAfter(source, fields, first, keptSpins, firstKept, store);
}

SpinFileOutcome readSpinFile(BlockSource& source, long long keptSpins, long long firstKept,
                             SpinStore store) {
    // The first field tells the layouts apart; the reader of either goes on
    // from it, so that it is read once.
    FieldStream fields(source);
    std::optional<std::string_view> first;
    if (auto ended = openInLayout(source, fields, first, SpinLayout::Permanence)) {
        return std::move(*ended);
    }
    if (first && first->substr(0, kMagic.size()) != kMagic) {
        return readListAfter(source, fields, first, keptSpins, firstKept, store);
    }
    SpinFileOutcome result;
    result.permanence = readPermanenceAfter(source, fields, first, keptSpins, firstKept);
    return result;
}

SpinFileOutcome readSpinFile(const std::string& path, long long keptSpins, long long firstKept,
                             SpinStore store) {
    FileSource source(path);
    return readSpinFile(source, keptSpins, firstKept, store);
}

} // namespace cr::io
