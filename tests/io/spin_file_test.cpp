// SPDX-License-Identifier: GPL-3.0-or-later
#include "chunked_source.h"
#include "io/permanence_reader.h"
#include "io/spin_file.h"

#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <string>
#include <string_view>
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
        ReadCase{"PlainListEmptyFields", "5,\n7,,\n ,\t,9,", SpinLayout::NumberList, {5, 7, 9}}),
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
          kHeader + "\"1\"x,  2  ,3.5\r\n=\r\n", std::string(), std::string("\r\n \r\n\t\r\n"),
          "\xEF\xBB\xBF" + kHeader + "5\r\n", std::string("\xEF\xBB\xBF")}) {
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

// A byte order mark in front, as editors on Windows write it, belongs to
// no field in either layout, however the blocks split it; anywhere else its
// bytes are ordinary bytes. A mark and nothing else is an empty file.
TEST(SpinFile, ByteOrderMarkInFrontIsSkipped) {
    const std::string bom = "\xEF\xBB\xBF";
    const struct {
        std::string name;
        std::string bytes;
        Kind kind;
        SpinLayout layout;
        std::vector<double> spins = {};
        long long refusedSpin = 0;
        std::string text = {};
    } cases[] = {
        {"list", bom + "12,0\r\n36", Kind::Read, SpinLayout::NumberList, {12, 0, 36}},
        {"permanence",
         bom + kHeader + "7\r\n-----\r\n5\r\n",
         Kind::Read,
         SpinLayout::Permanence,
         {7, 5}},
        {"one digit", bom + "7", Kind::Read, SpinLayout::NumberList, {7}},
        {"short file", "7", Kind::Read, SpinLayout::NumberList, {7}},
        {"refusal names its spin",
         bom + "12,0\r\n37\r\n",
         Kind::Refused,
         SpinLayout::NumberList,
         {},
         3,
         "37"},
        {"refused first field", bom + "x1\r\n", Kind::Refused, SpinLayout::NumberList, {}, 1, "x1"},
        {"mark alone", bom, Kind::EmptyFile, SpinLayout::Permanence},
        {"mark and blank lines", bom + "\r\n \r\n", Kind::ReadFailure, SpinLayout::Permanence},
        {"mark in the middle",
         "12\r\n" + bom + "5\r\n",
         Kind::Refused,
         SpinLayout::NumberList,
         {},
         2,
         "<FEFF>5"},
        {"mark twice", bom + bom + "5", Kind::Refused, SpinLayout::NumberList, {}, 1, "<FEFF>5"},
        {"start of a mark",
         "\xEF\xBB"
         "5",
         Kind::Refused,
         SpinLayout::NumberList,
         {},
         1,
         "\u00EF\u00BB"
         "5"},
    };
    for (const auto& c : cases) {
        for (const std::size_t chunk : {std::size_t{1}, std::size_t{2}, c.bytes.size()}) {
            SCOPED_TRACE(c.name + ", chunk " + std::to_string(chunk));
            cr::testing::ChunkedSource source(c.bytes, chunk);
            const auto result = cr::io::readSpinFile(source);
            const PermanenceOutcome& o = result.permanence;
            EXPECT_EQ(result.layout, c.layout);
            ASSERT_EQ(o.kind, c.kind);
            EXPECT_EQ(o.refusedSpin, c.refusedSpin);
            EXPECT_EQ(o.refusedText, c.text);
            if (c.layout == SpinLayout::Permanence && c.kind == Kind::Read) {
                EXPECT_EQ(o.header.front(), "Spielbank Wiesbaden");
            }
            if (c.kind == Kind::Read) {
                ASSERT_EQ(o.count, static_cast<double>(c.spins.size()));
                EXPECT_EQ(
                    std::vector<double>(o.cells.begin() + 1,
                                        o.cells.begin() + 1 + static_cast<long>(c.spins.size())),
                    c.spins);
            }
        }
    }
}

} // namespace

namespace {

// A long list in every way a table may write its numbers, and the numbers it holds.
struct WrittenList {
    std::string bytes;
    std::vector<std::uint8_t> numbers;
};

WrittenList writtenList(unsigned seed, std::size_t count) {
    std::mt19937 random(seed);
    const std::vector<std::string> separators = {",",   ",", "\n", "\r\n", ",\r\n",     ",,",
                                                 " , ", ";", "\t", "\n\n", "\r\n \r\n", ", "};
    WrittenList list;
    bool fieldStart = true; // a quote opens a field only at its start
    for (std::size_t k = 0; k < count; ++k) {
        const auto n = static_cast<std::uint8_t>(random() % 37);
        list.numbers.push_back(n);
        std::string text = std::to_string(n);
        const unsigned how = random() % 32;
        if (how == 0) {
            text = "0" + text; // "07", "012"
        } else if (how == 1 && fieldStart) {
            text = "\"" + text + "\"";
        } else if (how == 2) {
            text += ".0";
        } else if (how == 3) {
            text = "  " + text + " ";
        }
        // Behind a closing quote everything up to the next comma is dropped.
        // Mostly plain, as the tables are, so that long stretches go in bulk.
        const bool plain = random() % 4 != 0;
        const std::string separator = text.front() == '"' || plain
                                          ? std::string(random() % 8 == 0 ? "\r\n" : ",")
                                          : separators[random() % separators.size()];
        list.bytes += text + separator;
        fieldStart = separator.back() == ',' || separator.back() == '\n' || separator == ", " ||
                     separator == " , ";
    }
    return list;
}

std::vector<std::uint8_t> keptOf(const cr::io::SpinFileOutcome& result) {
    if (!result.numbers.empty() || result.permanence.cells.empty()) {
        return result.numbers;
    }
    std::vector<std::uint8_t> kept;
    for (std::size_t k = 1; k < result.permanence.cells.size(); ++k) {
        if (!cr::isEmptyCell(result.permanence.cells[k])) {
            kept.push_back(static_cast<std::uint8_t>(result.permanence.cells[k]));
        }
    }
    return kept;
}

// Whatever the blocks and the store, and wherever the kept stretch starts
// and ends (also across the bulk path's batches of 4096), a list gives the
// numbers it was written with.
TEST(SpinFile, ListsReadTheSameInAnyBlocksAndStore) {
    const WrittenList list = writtenList(5, 12000);
    const struct {
        long long kept;
        long long first;
    } windows[] = {{cr::io::kAllSpins, 1},
                   {5000, 4000},
                   {1, 4097},
                   {9999, 11000},
                   {0, 1},
                   {3, 2},
                   {3, 3},
                   {2, 4096},
                   {7, 4095},
                   {1, 12000}};
    for (const std::size_t chunk :
         {std::size_t{1}, std::size_t{2}, std::size_t{7}, list.bytes.size()}) {
        for (const auto store : {cr::io::SpinStore::Cells, cr::io::SpinStore::Numbers}) {
            for (const auto& w : windows) {
                cr::testing::ChunkedSource source(list.bytes, chunk);
                const auto result = cr::io::readSpinFile(source, w.kept, w.first, store);
                const std::string where = "chunk " + std::to_string(chunk) + ", from " +
                                          std::to_string(w.first) + ", store " +
                                          std::to_string(static_cast<int>(store));
                ASSERT_EQ(result.permanence.kind, Kind::Read) << where;
                EXPECT_EQ(result.layout, SpinLayout::NumberList);
                EXPECT_EQ(result.permanence.count, static_cast<double>(list.numbers.size()))
                    << where;
                const auto from = static_cast<std::size_t>(w.first - 1);
                const std::size_t to =
                    std::min(list.numbers.size(),
                             from + static_cast<std::size_t>(std::min(w.kept, 1LL << 40)));
                const std::vector<std::uint8_t> expected(
                    list.numbers.begin() + static_cast<long>(from),
                    list.numbers.begin() + static_cast<long>(to));
                EXPECT_EQ(keptOf(result), expected) << where;
            }
        }
    }
}

// A refusal behind many short numbers names the same spin and text whether
// the numbers before it were taken in bulk or field by field.
TEST(SpinFile, RefusalAfterBulkNumbersNamesTheSameSpin) {
    WrittenList list = writtenList(9, 6000);
    for (const std::string& bad :
         {std::string("37"), std::string("123"), std::string("4x"), std::string("-1")}) {
        const std::string bytes = list.bytes + "\n" + bad + ",5\n";
        for (const std::size_t chunk : {std::size_t{1}, bytes.size()}) {
            cr::testing::ChunkedSource source(bytes, chunk);
            const auto o =
                cr::io::readSpinFile(source, cr::io::kAllSpins, 1, cr::io::SpinStore::Numbers)
                    .permanence;
            ASSERT_EQ(o.kind, Kind::Refused) << bad << ", chunk " << chunk;
            EXPECT_EQ(o.refusedSpin, 6001) << bad << ", chunk " << chunk;
            EXPECT_EQ(o.refusedText, bad) << bad << ", chunk " << chunk;
        }
    }
}

// The first field that tells the layouts apart is not read again: a list is
// read once, a permanence once a pass, however long its first field.
TEST(SpinFile, FirstFieldReadOnce) {
    const std::string longField(3 * cr::io::FieldStream::kKeptBytes, '7');
    const std::string list = longField + ",5\r\n6\r\n";
    cr::testing::ChunkedSource listSource(list, 1000);
    const auto fromList = cr::io::readSpinFile(listSource);
    EXPECT_EQ(fromList.permanence.refusal, Refusal::TooLong);
    EXPECT_EQ(listSource.delivered(), list.size());
    const std::string permanence = "Spielbank" + longField + "\r\nA\r\nB\r\nC\r\n5\r\n6\r\n";
    cr::testing::ChunkedSource permanenceSource(permanence, 1000);
    const auto fromPermanence = cr::io::readSpinFile(permanenceSource);
    EXPECT_EQ(fromPermanence.permanence.kind, Kind::Read);
    EXPECT_EQ(fromPermanence.permanence.count, 2);
    EXPECT_EQ(permanenceSource.delivered(), 2 * permanence.size());
}

} // namespace
