// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/spin_field.h"

#include "core/numparse.h"
#include "io/cp1252.h"
#include "io/fields.h"

namespace cr::io {

namespace {

constexpr std::size_t kShownLength = 20;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isHexDigit(char c) {
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
bool isOctalDigit(char c) {
    return c >= '0' && c <= '7';
}

} // namespace

bool isEmptyField(std::string_view field) {
    return field.find_first_not_of(" \t") == std::string_view::npos;
}

bool holdsNumber(std::string_view field) {
    // The first three characters that are no blank, tab or line feed decide.
    char head[3] = {};
    std::size_t got = 0;
    for (std::size_t i = 0; i < field.size() && got < 3; ++i) {
        const char c = field[i];
        if (c != ' ' && c != '\t' && c != '\n') {
            head[got++] = c;
        }
    }
    if (head[0] == '&') {
        const char base = head[1];
        return ((base == 'H' || base == 'h') && isHexDigit(head[2])) ||
               ((base == 'O' || base == 'o') && isOctalDigit(head[2]));
    }
    const std::size_t at = (head[0] == '+' || head[0] == '-') ? 1 : 0;
    const char first = head[at];
    const char second = at + 1 < 3 ? head[at + 1] : '\0';
    return isDigit(first) || (first == '.' && isDigit(second));
}

std::string shownField(std::string_view field) {
    const auto first = field.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = field.find_last_not_of(' ');
    return decodeForMessage(field.substr(first, last - first + 1), kShownLength);
}

PermanenceOutcome::Refusal checkSpin(std::string_view field, std::size_t length, double& value,
                                     NumberTest holds) {
    using Refusal = PermanenceOutcome::Refusal;
    if (length > FieldStream::kKeptBytes) {
        return Refusal::TooLong;
    }
    // The usual spin, one or two digits, is a number by either test and
    // reads as its digits say: no need of the general parse.
    if (const int number = shortNumber(field); number >= 0) {
        value = number;
        return number <= 36 ? Refusal::None : Refusal::OutOfRange;
    }
    if (!holds(field)) {
        return Refusal::NotANumber;
    }
    value = lenientParse(field);
    const double rounded = roundHalfEven(value);
    return rounded >= 0 && rounded <= 36 ? Refusal::None : Refusal::OutOfRange;
}

} // namespace cr::io
