// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/numparse.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <string>

namespace cr {
namespace {

bool isSkipped(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

// A cursor over the text that never shows the skipped characters.
class Cursor {
public:
    explicit Cursor(std::string_view text) : m_text(text) { skip(); }
    bool atEnd() const { return m_pos >= m_text.size(); }
    char peek() const { return atEnd() ? '\0' : m_text[m_pos]; }
    void advance() {
        ++m_pos;
        skip();
    }

private:
    void skip() {
        while (m_pos < m_text.size() && isSkipped(m_text[m_pos])) {
            ++m_pos;
        }
    }
    std::string_view m_text;
    std::size_t m_pos = 0;
};

int digitValue(char c, int base) {
    int v = -1;
    if (isDigit(c)) {
        v = c - '0';
    } else if (c >= 'a' && c <= 'f') {
        v = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
        v = c - 'A' + 10;
    }
    return v < base ? v : -1;
}

double parseRadix(Cursor& cur, int base) {
    double value = 0;
    for (int d = digitValue(cur.peek(), base); d >= 0; d = digitValue(cur.peek(), base)) {
        value = value * base + d; // grows to infinity at worst, never NaN
        cur.advance();
    }
    return value;
}

// Appends the digits under the cursor to out; returns how many were read.
std::size_t takeDigits(Cursor& cur, std::string& out) {
    std::size_t n = 0;
    while (isDigit(cur.peek())) {
        out.push_back(cur.peek());
        cur.advance();
        ++n;
    }
    return n;
}

// The power of ten of the first significant digit of a compacted number
// ("-12.5e3" gives 4); only asked when the value is out of range, so the
// digits are known not to be all zero.
long long decimalMagnitude(std::string_view number) {
    const std::size_t e = number.find('e');
    long long exponent = 0;
    if (e != std::string_view::npos) {
        std::string_view digits = number.substr(e + 1);
        const bool negative = !digits.empty() && digits.front() == '-';
        if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) {
            digits.remove_prefix(1);
        }
        for (char c : digits) {
            exponent = std::min(exponent * 10 + (c - '0'), 1'000'000'000LL);
        }
        exponent = negative ? -exponent : exponent;
        number = number.substr(0, e);
    }
    const std::size_t point = std::min(number.find('.'), number.size());
    const std::size_t first = number.find_first_of("123456789");
    if (first == std::string_view::npos) {
        return exponent;
    }
    const auto shift = static_cast<long long>(point) - static_cast<long long>(first);
    return exponent + (first < point ? shift - 1 : shift);
}

double parseDecimal(Cursor& cur) {
    std::string buf; // compacted text for from_chars: sign, digits, point, exponent
    if (cur.peek() == '-' || cur.peek() == '+') {
        if (cur.peek() == '-') {
            buf.push_back('-');
        }
        cur.advance();
    }
    std::size_t digits = takeDigits(cur, buf);
    if (cur.peek() == '.') {
        buf.push_back('.');
        cur.advance();
        digits += takeDigits(cur, buf);
    }
    if (digits == 0) {
        return 0;
    }
    if (cur.peek() == 'E' || cur.peek() == 'e') {
        std::string exponent = "e";
        cur.advance();
        if (cur.peek() == '-' || cur.peek() == '+') {
            exponent.push_back(cur.peek());
            cur.advance();
        }
        if (takeDigits(cur, exponent) > 0) {
            buf += exponent;
        }
    }
    double value = 0;
    const char* first = buf.data();
    auto [end, ec] = std::from_chars(first, first + buf.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // from_chars leaves the value alone here: tell overflow from underflow
        // by where the first significant digit stands.
        const bool negative = buf.front() == '-';
        const bool tiny = decimalMagnitude(buf) < 0;
        value = tiny ? 0.0 : HUGE_VAL;
        return negative ? -value : value;
    }
    return ec == std::errc() ? value : 0.0;
}

} // namespace

int shortNumber(std::string_view text) {
    if (text.empty() || text.size() > 2) {
        return -1;
    }
    // Without a branch on the length: a single digit is read as "0d".
    const auto first = static_cast<unsigned>(text[0] - '0');
    const auto last = static_cast<unsigned>(text[text.size() - 1] - '0');
    const unsigned tens = text.size() == 2 ? first : 0;
    return first <= 9 && last <= 9 ? static_cast<int>(tens * 10 + last) : -1;
}

double lenientParse(std::string_view text) {
    // Most texts are a plain number of a few digits: read those directly.
    if (!text.empty() && text.size() <= 9) {
        int value = 0;
        bool plain = true;
        for (char c : text) {
            if (!isDigit(c)) {
                plain = false;
                break;
            }
            value = value * 10 + (c - '0');
        }
        if (plain) {
            return value;
        }
    }
    Cursor cur(text);
    if (cur.peek() == '&') {
        cur.advance();
        const char prefix = cur.peek();
        if (prefix == 'H' || prefix == 'h') {
            cur.advance();
            return parseRadix(cur, 16);
        }
        if (prefix == 'O' || prefix == 'o') {
            cur.advance();
            return parseRadix(cur, 8);
        }
        return 0;
    }
    return parseDecimal(cur);
}

double roundHalfEven(double value) {
    // Spins and counts: whole numbers, or nearly, well inside an int, where
    // truncation is the floor and needs no call.
    if (value >= 0 && value < 0x1p31) {
        const auto whole = static_cast<long long>(value);
        const double diff = value - static_cast<double>(whole);
        if (diff != 0.5) {
            return static_cast<double>(whole + (diff > 0.5));
        }
        return static_cast<double>(whole + (whole % 2));
    }
    if (!std::isfinite(value)) {
        return value;
    }
    const double lower = std::floor(value);
    const double diff = value - lower;
    if (diff < 0.5) {
        return lower;
    }
    if (diff > 0.5) {
        return lower + 1;
    }
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1;
}

FirstSpinAnswer readFirstSpinAnswer(std::string_view text, long long last,
                                    const std::function<std::string(long long)>& number) {
    const auto first = text.find_first_not_of(" \t");
    const auto end = text.find_last_not_of(" \t");
    const std::string_view digits =
        first == std::string_view::npos ? std::string_view{} : text.substr(first, end - first + 1);
    if (!std::all_of(digits.begin(), digits.end(), isDigit)) {
        return {std::nullopt, "Bitte nur Ziffern eingeben."};
    }
    // Past last the value no longer matters: however many digits follow, it
    // stays last + 1 and never overflows.
    long long value = 0;
    for (const char c : digits) {
        value = value > last / 10 ? last + 1 : std::min(value * 10 + (c - '0'), last + 1);
    }
    const std::string range = "eine Zahl von 1 bis " + number(last) + " eingeben.";
    if (value > last) {
        return {std::nullopt, "Die Datei hat nur " + number(last) + " W\u00fcrfe; bitte " + range};
    }
    if (value < 1) { // nothing typed, or nought
        return {std::nullopt, "Bitte " + range};
    }
    return {value, {}};
}

} // namespace cr
