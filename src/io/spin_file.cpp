#include "io/spin_file.h"

#include "core/numparse.h"
#include "io/cp1252.h"
#include "io/permanence_reader.h"

#include <filesystem>
#include <optional>
#include <string_view>

namespace cr::io {

namespace {

using Kind = PermanenceOutcome::Kind;

constexpr std::string_view kMagic = "Spielbank";
constexpr std::size_t kShownLength = 20;
constexpr std::size_t kSpareCells = 20; // the empty cells behind the last spin

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view trimmed(std::string_view field) {
    const auto first = field.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return field.substr(first, field.find_last_not_of(" \t") - first + 1);
}

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

// The field as a message shows it: decoded, cut after its 20th character.
std::string shown(std::string_view text) {
    const std::string decoded = decodeWindows1252(text);
    std::size_t chars = 0;
    for (std::size_t i = 0; i < decoded.size(); ++i) {
        if ((static_cast<unsigned char>(decoded[i]) & 0xC0) != 0x80 && ++chars > kShownLength) {
            return decoded.substr(0, i);
        }
    }
    return decoded;
}

// The first field of the source; nothing when it cannot be opened or holds none.
std::optional<std::string> firstField(BlockSource& source) {
    if (!source.open()) {
        return std::nullopt;
    }
    std::optional<std::string> first;
    {
        FieldStream fields(source);
        std::string_view field;
        if (fields.next(field)) {
            first = std::string(field);
        }
    }
    source.close();
    return first;
}

} // namespace

SpinFileOutcome readNumberList(BlockSource& source, std::size_t sizeHint) {
    SpinFileOutcome result;
    result.layout = SpinLayout::NumberList;
    PermanenceOutcome& outcome = result.permanence;
    outcome.kind = Kind::ReadFailure;
    if (!source.open()) {
        return result;
    }
    if (source.empty()) {
        source.close();
        outcome.kind = Kind::EmptyFile;
        return result;
    }
    std::vector<double> cells{kEmptyCell};
    // A spin takes at least two bytes, its digit and a comma or line end.
    cells.reserve(sizeHint / 2 + 2 + kSpareCells);
    {
        FieldStream fields(source);
        std::string_view field;
        while (fields.next(field)) {
            const std::string_view text = trimmed(field);
            const bool number = writtenAsNumber(text);
            const double value = number ? lenientParse(text) : 0;
            const double rounded = roundHalfEven(value);
            if (!number || rounded < 0 || rounded > 36) {
                source.close();
                outcome.kind = Kind::Refused;
                outcome.refusedSpin = static_cast<long long>(cells.size());
                outcome.refusedText = shown(text);
                result.refusal = number ? Refusal::OutOfRange : Refusal::NotANumber;
                return result;
            }
            cells.push_back(value);
        }
    }
    const bool failed = source.failed();
    source.close();
    if (failed) {
        return result;
    }
    outcome.count = static_cast<double>(cells.size() - 1);
    cells.resize(cells.size() + kSpareCells, kEmptyCell);
    outcome.cells = std::move(cells);
    outcome.kind = Kind::Read;
    return result;
}

SpinFileOutcome readSpinFile(BlockSource& source, std::size_t sizeHint) {
    const std::optional<std::string> first = firstField(source);
    if (first && first->compare(0, kMagic.size(), kMagic) != 0) {
        return readNumberList(source, sizeHint);
    }
    SpinFileOutcome result;
    result.permanence = readPermanence(source);
    if (result.permanence.kind == Kind::Refused) {
        result.refusal = Refusal::OutOfRange;
    }
    return result;
}

SpinFileOutcome readSpinFile(const std::string& path) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    FileSource source(path);
    return readSpinFile(source, ec ? 0 : static_cast<std::size_t>(size));
}

} // namespace cr::io
