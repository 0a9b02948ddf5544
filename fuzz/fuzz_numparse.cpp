// SPDX-License-Identifier: GPL-3.0-or-later
// The lenient number parse against a slow, obvious reading of the same text.
#include "core/numparse.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

// Straightforward reference: drop the skipped characters, then read the
// longest prefix of the accepted form by hand.
double reference(std::string_view text) {
    std::string s;
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != '\n') {
            s += c;
        }
    }
    std::size_t i = 0;
    auto digitOf = [](char c, int base) {
        int v = -1;
        if (c >= '0' && c <= '9') {
            v = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            v = c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            v = c - 'A' + 10;
        }
        return v < base ? v : -1;
    };
    if (!s.empty() && s[0] == '&') {
        int base = 0;
        if (s.size() > 1 && (s[1] == 'H' || s[1] == 'h')) {
            base = 16;
        } else if (s.size() > 1 && (s[1] == 'O' || s[1] == 'o')) {
            base = 8;
        } else {
            return 0;
        }
        long double v = 0;
        for (i = 2; i < s.size() && digitOf(s[i], base) >= 0; ++i) {
            v = v * base + digitOf(s[i], base);
        }
        return static_cast<double>(v);
    }
    std::string number;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        number += s[i++];
    }
    std::size_t digits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
        number += s[i++];
        ++digits;
    }
    if (i < s.size() && s[i] == '.') {
        number += s[i++];
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
            number += s[i++];
            ++digits;
        }
    }
    if (digits == 0) {
        return 0;
    }
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::string exponent = "e";
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
            exponent += s[j++];
        }
        std::size_t expDigits = 0;
        while (j < s.size() && s[j] >= '0' && s[j] <= '9') {
            exponent += s[j++];
            ++expDigits;
        }
        if (expDigits > 0) {
            number += exponent;
        }
    }
    return std::strtod(number.c_str(), nullptr); // the C locale: a point
}

bool same(double a, double b) {
    if (std::isinf(a) || std::isinf(b)) {
        return a == b;
    }
    // Above 2^53 the two may round differently in the last place.
    if (std::fabs(b) > 9007199254740992.0) {
        return std::fabs(a - b) <= std::fabs(b) * 1e-12;
    }
    return a == b;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double value = cr::lenientParse(text);
    if (std::isnan(value)) {
        std::abort();
    }
    if (!same(value, reference(text))) {
        std::abort();
    }
    // The short way for spins of one or two digits reads what the parse reads.
    const int quick = cr::shortNumber(text);
    const bool digits =
        (size == 1 || size == 2) && cr::isDigit(text.front()) && cr::isDigit(text.back());
    if (digits != (quick >= 0) || (digits && quick != value)) {
        std::abort();
    }
    const double rounded = cr::roundHalfEven(value);
    if (std::isfinite(value) && std::fabs(rounded - value) > 0.5) {
        std::abort();
    }
    return 0;
}
