// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/numparse.h"

#include <gtest/gtest.h>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

struct ParseCase {
    const char* name;
    std::string text;
    double expected;
};

const std::string kZeros400(400, '0');

const std::vector<ParseCase> kParseCases{
    {"TrailingLetters", "12abc", 12},
    {"ExponentUpper", "1E3", 1000},
    {"ExponentLower", "1e3", 1000},
    {"NegativeExponent", "25E-1", 2.5},
    {"HexUpper", "&H1F", 31},
    {"HexLower", "&h1f", 31},
    {"OctalUpper", "&O17", 15},
    {"OctalLower", "&o17", 15},
    {"OctalStopsAtEight", "&O78", 7},
    {"HexAllOnes", "&HFFFFFFFF", 4294967295.0},
    // The edges of a 32-bit int, which no conversion may wrap.
    {"NineDigits", "999999999", 999999999},
    {"TenDigits", "9999999999", 9999999999.0},
    {"IntMax", "2147483647", 2147483647},
    {"IntMaxPlusOne", "2147483648", 2147483648.0},
    {"IntMin", "-2147483648", -2147483648.0},
    {"HexIntMax", "&H7FFFFFFF", 2147483647},
    {"HexIntMaxPlusOne", "&H80000000", 2147483648.0},
    {"OctalIntMaxPlusOne", "&O20000000000", 2147483648.0},
    {"BillionAsExponent", "1E9", 1e9},
    {"AmpersandOnly", "&", 0},
    {"HexWithoutDigits", "&H", 0},
    {"UnknownPrefix", "&X1", 0},
    {"BlanksBetweenDigits", "1 2 3", 123},
    {"BlanksAroundSign", " - 3", -3},
    {"TabsAndLineFeeds", "\t1\n2\t", 12},
    {"BlanksInPrefix", "& H 1 F", 31},
    {"CarriageReturnStops", "1\r2", 1},
    {"NoNumber", "abc", 0},
    {"Empty", "", 0},
    {"SignOnly", "-", 0},
    {"PlusSign", "+7", 7},
    {"LeadingPoint", ".5", 0.5},
    {"NegativeLeadingPoint", "-.5", -0.5},
    {"ExponentWithoutDigits", "1E", 1},
    {"ExponentSignWithoutDigits", "1E+", 1},
    {"SecondPointStops", "1.5.3", 1.5},
    {"Largest", "1E308", 1e308},
    {"Overflow", "1E400", kInf},
    {"NegativeOverflow", "-1E400", -kInf},
    {"Underflow", "1E-400", 0},
    {"HundredsOfNines", std::string(300, '9'), 1e300},
    {"DigitsBeyondDouble", "1" + kZeros400, kInf},
    {"LongMantissaNegativeExponent", "1" + kZeros400 + "E-398", 100},
    // A value too small or too large for a double, however it is written.
    {"UnderflowWrittenOut", "0." + kZeros400 + "1", 0},
    {"OverflowDespiteNegativeExponent", "1" + kZeros400 + "E-5", kInf},
};

TEST(LenientParse, ReadsTheLeadingNumber) {
    for (const ParseCase& c : kParseCases) {
        EXPECT_EQ(cr::lenientParse(c.text), c.expected) << c.name;
    }
}

struct RoundCase {
    const char* name;
    double value;
    double expected;
};

const std::vector<RoundCase> kRoundCases{
    {"TwoAndAHalf", 2.5, 2},
    {"ThreeAndAHalf", 3.5, 4},
    {"ZeroAndAHalf", 0.5, 0},
    {"OneAndAHalf", 1.5, 2},
    {"MinusTwoAndAHalf", -2.5, -2},
    {"AboveHalf", 0.6, 1},
    {"TwentyTwoAndAHalf", 22.5, 22},
    {"StepRateLimitAndAHalf", 16383.5, 16384},
    {"PlusInfinity", kInf, kInf},
    {"MinusInfinity", -kInf, -kInf},
    {"JustBelowAHalf", 0.49999999999999994, 0},
    {"JustAboveAHalf", 36.50000000000001, 37},
    {"IntLimitLessAHalf", 2147483646.5, 2147483646},
    {"IntLimitAndAHalf", 2147483647.5, 2147483648.0},
    {"AboveIntLimit", 2147483648.5, 2147483648.0},
    {"LargeOddAndAHalf", 4503599627370495.5, 4503599627370496.0},
};

TEST(RoundHalfEven, RoundsHalvesToEven) {
    for (const RoundCase& c : kRoundCases) {
        EXPECT_EQ(cr::roundHalfEven(c.value), c.expected) << c.name;
    }
}

// The answer to "ab Wurf" is taken as typed or not at all: never clamped,
// cut or read only as far as it goes.
TEST(FirstSpinAnswer, TakesOnlyASpinOfTheFile) {
    const auto grouped = [](long long n) { // as a German window writes it
        const std::string digits = std::to_string(n);
        std::string text;
        for (std::size_t i = 0; i < digits.size(); ++i) {
            if (i > 0 && (digits.size() - i) % 3 == 0) {
                text += '.';
            }
            text += digits[i];
        }
        return text;
    };
    const std::string digitsOnly = "Bitte nur Ziffern eingeben.";
    const std::string range = "Bitte eine Zahl von 1 bis 123.456 eingeben.";
    const std::string tooFew =
        "Die Datei hat nur 123.456 W\u00fcrfe; bitte eine Zahl von 1 bis 123.456 eingeben.";
    const struct {
        std::string text;
        std::optional<long long> spin;
        std::string problem;
    } cases[] = {
        {"1", 1, ""},
        {"123456", 123456, ""},
        {" \t0042 ", 42, ""},
        {"123457", std::nullopt, tooFew},
        {"999999", std::nullopt, tooFew},
        {"99999999999999999999999999", std::nullopt, tooFew}, // past any integer
        {"0", std::nullopt, range},
        {"", std::nullopt, range},
        {"   ", std::nullopt, range},
        {"12 3", std::nullopt, digitsOnly},
        {"-5", std::nullopt, digitsOnly},
        {"+5", std::nullopt, digitsOnly},
        {"1.000", std::nullopt, digitsOnly},
        {"5e3", std::nullopt, digitsOnly},
        {"\xEF\xBC\x95", std::nullopt, digitsOnly}, // a full-width digit
    };
    for (const auto& c : cases) {
        const cr::FirstSpinAnswer answer = cr::readFirstSpinAnswer(c.text, 123456, grouped);
        EXPECT_EQ(answer.spin, c.spin) << c.text;
        EXPECT_EQ(answer.problem, c.problem) << c.text;
    }
    // A file far beyond any int.
    EXPECT_EQ(cr::readFirstSpinAnswer("3000000000", 3000000000, grouped).spin, 3000000000);
}

} // namespace
