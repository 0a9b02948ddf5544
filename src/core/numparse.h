// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace cr {

inline bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A number written as one or two digits and nothing else, as nearly every
// table writes its spins; -1 for any other text. It is the value the
// lenient parse gives such a text, without the parse.
int shortNumber(std::string_view text);

// Reads the leading number of a text the forgiving way the input boxes and the
// permanence files are read: blanks, tabs and line feeds anywhere are skipped,
// then an optional sign, digits with an optional point and exponent (E or e),
// or an integer after &H (hexadecimal) or &O (octal). Reading stops at the
// first character that does not fit; a text without a number gives 0.
// The result is finite or an infinity (for a huge exponent), never NaN.
double lenientParse(std::string_view text);

// Rounds to the nearest integer, halves to even (2.5 -> 2, 3.5 -> 4).
// Stays a double so that callers can range-check before converting.
double roundHalfEven(double value);

// The answer typed to the question from which spin a long file is replayed
// ("ab Wurf"): digits only, blanks around them allowed, a spin from 1 to
// last. An answer outside is neither clamped nor cut: it is no spin, and
// problem says why in German, each count written by `number` (the window
// groups its digits as the locale does).
struct FirstSpinAnswer {
    std::optional<long long> spin;
    std::string problem; // empty when spin holds a spin
};
FirstSpinAnswer readFirstSpinAnswer(std::string_view text, long long last,
                                    const std::function<std::string(long long)>& number);

} // namespace cr
