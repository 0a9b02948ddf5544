// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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

} // namespace cr
