// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/permanence_reader.h"
#include "io/spin_file.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using cr::PermanenceOutcome;
using Refusal = cr::PermanenceOutcome::Refusal;
using cr::io::SpinLayout;
using Kind = PermanenceOutcome::Kind;

template <typename Case> std::string caseName(const testing::TestParamInfo<Case>& info) {
    return info.param.name;
}

cr::io::SpinFileOutcome read(const std::string& bytes) {
    cr::io::MemorySource source(bytes);
    return cr::io::readSpinFile(source);
}

const std::string kHeader = "Spielbank Wiesbaden\r\nTisch 1\r\n24.04.2019\r\nCoup\r\n";

struct ReadCase {
    std::string name;
    std::string bytes;
    SpinLayout layout;
    std::vector<double> spins;
};

class SpinFileRead : public testing::TestWithParam<ReadCase> {};

TEST_P(SpinFileRead, GivesTheSpinsInTheImportsShape) {
    const ReadCase& c = GetParam();
    const auto result = read(c.bytes);
    const PermanenceOutcome& o = result.permanence;
    EXPECT_EQ(result.layout, c.layout);
    ASSERT_EQ(o.kind, Kind::Read);
    ASSERT_EQ(o.count, static_cast<double>(c.spins.size()));
    ASSERT_EQ(o.cells.size(), c.spins.size() + 21); // cell 0 and 20 spare cells stay empty
    EXPECT_TRUE(cr::isEmptyCell(o.cells.front()));
    EXPECT_TRUE(cr::isEmptyCell(o.cells.back()));
    for (std::size_t k = 0; k < c.spins.size(); ++k) {
        EXPECT_EQ(o.cells[k + 1], c.spins[k]) << "spin " << k + 1;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, SpinFileRead,
    testing::Values(
        ReadCase{"PlainList",
                 "12,13,16,18,0,12\r\n4,33\r\n36",
                 SpinLayout::NumberList,
                 {12, 13, 16, 18, 0, 12, 4, 33, 36}},
        ReadCase{"PlainListLineEndsAndBlankLines",
                 "1\r\r\n\n 2 ,3\t\r4\n",
                 SpinLayout::NumberList,
                 {1, 2, 3, 4}},
        // Kept as written; rounded half to even where they are played.
        ReadCase{
            "PlainListFractions", "12.4,36.5,0.5,7.", SpinLayout::NumberList, {12.4, 36.5, 0.5, 7}},
        ReadCase{"QuotedNumber", "\"5\",6", SpinLayout::NumberList, {5, 6}},
        ReadCase{"SpielbankSeparatorsAndEnd",
                 kHeader + "1\r\n-----\r\n7 R\r\n,\r\n=====\r\n99\r\n",
                 SpinLayout::Permanence,
                 {1, 7}},
        // Empty fields are no spins, in either layout.
        ReadCase{"PlainListEmptyFields", "5,\n7,,\n ,\t,9,", SpinLayout::NumberList, {5, 7, 9}},
        ReadCase{"SpielbankTrailingCommas",
                 kHeader + "5,\n7,\n9,\n",
                 SpinLayout::Permanence,
                 {5, 7, 9}}),
    caseName<ReadCase>);

struct RefusalCase {
    std::string name;
    std::string bytes;
    SpinLayout layout;
    Refusal refusal;
    long long spin;
    std::string text;
};

class SpinFileRefusal : public testing::TestWithParam<RefusalCase> {};

TEST_P(SpinFileRefusal, NamesTheSpinAndWhy) {
    const RefusalCase& c = GetParam();
    const auto result = read(c.bytes);
    EXPECT_EQ(result.layout, c.layout);
    ASSERT_EQ(result.permanence.kind, Kind::Refused);
    EXPECT_EQ(result.permanence.refusal, c.refusal);
    EXPECT_EQ(result.permanence.refusedSpin, c.spin);
    EXPECT_EQ(result.permanence.refusedText, c.text);
    EXPECT_TRUE(result.permanence.cells.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Fields, SpinFileRefusal,
    testing::Values(
        RefusalCase{"AboveRange", "1,2\r\n37", SpinLayout::NumberList, Refusal::OutOfRange, 3,
                    "37"},
        RefusalCase{"RoundsAboveRange", "36.6", SpinLayout::NumberList, Refusal::OutOfRange, 1,
                    "36.6"},
        RefusalCase{"TextAfterNumber", "4,7 R", SpinLayout::NumberList, Refusal::NotANumber, 3,
                    "R"},
        RefusalCase{"AnySeparator", "4;5\t6 7\r\n 8 ; x", SpinLayout::NumberList,
                    Refusal::NotANumber, 6, "x"},
        RefusalCase{"Negative", "4\r\n-5", SpinLayout::NumberList, Refusal::NotANumber, 2, "-5"},
        RefusalCase{"Exponent", "1E1", SpinLayout::NumberList, Refusal::NotANumber, 1, "1E1"},
        RefusalCase{"Hexadecimal", "&H10", SpinLayout::NumberList, Refusal::NotANumber, 1, "&H10"},
        RefusalCase{"TwoPoints", "1.2.3", SpinLayout::NumberList, Refusal::NotANumber, 1, "1.2.3"},
        // Only "Spielbank" in its own case marks the import's layout.
        RefusalCase{"LowerCaseHeader", "spielbank hamburg\r\n1", SpinLayout::NumberList,
                    Refusal::NotANumber, 1, "spielbank"},
        RefusalCase{"LongTextCut", "12345678901234567890123", SpinLayout::NumberList,
                    Refusal::OutOfRange, 1, "12345678901234567890"},
        RefusalCase{"SpielbankAboveRange", kHeader + "1\r\n-----\r\n99\r\n", SpinLayout::Permanence,
                    Refusal::OutOfRange, 2, "99"},
        RefusalCase{"SpielbankNoNumber", kHeader + "1,,\r\nTisch 2\r\n", SpinLayout::Permanence,
                    Refusal::NotANumber, 2, "Tisch 2"},
        // A field far longer than any number, with no line end at all.
        RefusalCase{"OverlongField", "3," + std::string(5000, '1'), SpinLayout::NumberList,
                    Refusal::TooLong, 2, "11111111111111111111"},
        RefusalCase{"SpielbankOverlongField", kHeader + "1,2" + std::string(5000, ' ') + "3",
                    SpinLayout::Permanence, Refusal::TooLong, 2, "2"}),
    caseName<RefusalCase>);

// A file with the header is read by the import's own reader: whatever that
// reader makes of it, the analysis gets the same.
TEST(SpinFile, SpielbankFilesGetTheImportsVerdict) {
    for (const std::string& bytes :
         {kHeader + "12\r\n0\r\n31\r\n", std::string("Spielbank Nord\r\nTisch 1\r\n"),
          kHeader + "\"1\"x,  2  ,3.5\r\n=\r\n", std::string(), std::string("\r\n \r\n\t\r\n")}) {
        cr::io::MemorySource source(bytes);
        const PermanenceOutcome import = cr::io::readPermanence(source);
        const PermanenceOutcome analysis = read(bytes).permanence;
        EXPECT_EQ(analysis.kind, import.kind) << bytes;
        EXPECT_EQ(analysis.header, import.header) << bytes;
        EXPECT_EQ(analysis.count, import.count) << bytes;
        ASSERT_EQ(analysis.cells.size(), import.cells.size()) << bytes;
        for (std::size_t k = 1; k <= static_cast<std::size_t>(import.count); ++k) {
            EXPECT_EQ(analysis.cells[k], import.cells[k]) << bytes;
        }
    }
}

} // namespace
