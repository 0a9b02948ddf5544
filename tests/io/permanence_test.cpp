// SPDX-License-Identifier: GPL-3.0-or-later
#include "chunked_source.h"
#include "core/numparse.h"
#include "io/permanence_reader.h"
#include "temp_dir.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Table cases go by their names.
template <typename Case> std::string caseName(const testing::TestParamInfo<Case>& info) {
    return info.param.name;
}

using cr::isEmptyCell;
using cr::PermanenceOutcome;
using cr::io::readPermanenceFile;
using cr::testing::TempDir;
using Kind = PermanenceOutcome::Kind;
using Header = std::vector<std::string>;

const std::string kHeaderLines = "Spielbank Permanenz\r\nTisch 5, Tag 14\r\nCoup\r\n";
const Header kHeader{"Spielbank Permanenz", "Tisch 5", "Tag 14"};

PermanenceOutcome read(std::string_view bytes) {
    cr::io::MemorySource source(bytes);
    return cr::io::readPermanence(source);
}

// What any outcome must keep to: only a read file has cells, and every spin
// in them rounds into 0..36.
void expectWellFormed(const PermanenceOutcome& o) {
    EXPECT_LE(o.header.size(), 3u);
    if (o.kind != Kind::Read) {
        EXPECT_TRUE(o.cells.empty());
        return;
    }
    const auto count = static_cast<std::size_t>(o.count);
    ASSERT_EQ(o.cells.size(), count + 21);
    for (std::size_t k = 0; k < o.cells.size(); ++k) {
        const bool spin = k >= 1 && k <= count;
        ASSERT_EQ(isEmptyCell(o.cells[k]), !spin) << "cell " << k;
        if (spin) {
            const double n = cr::roundHalfEven(o.cells[k]);
            ASSERT_TRUE(n >= 0 && n <= 36) << "cell " << k << " = " << o.cells[k];
        }
    }
}

// Files the scenario files do not cover: how the header decides, the spins
// read unrounded, and a refused spin named with its text.
struct FileCase {
    std::string name;
    std::string bytes;
    Kind kind;
    Header header;
    std::vector<double> spins = {}; // for Read
    long long refusedSpin = 0;
    std::string refusedText = {};
};

class Files : public testing::TestWithParam<FileCase> {};

TEST_P(Files, GiveTheirOutcome) {
    const FileCase& c = GetParam();
    const PermanenceOutcome o = read(c.bytes);
    EXPECT_EQ(o.kind, c.kind);
    EXPECT_EQ(o.header, c.header);
    EXPECT_EQ(o.refusedSpin, c.refusedSpin);
    EXPECT_EQ(o.refusedText, c.refusedText);
    expectWellFormed(o);
    if (c.kind == Kind::Read) {
        ASSERT_EQ(o.count, static_cast<double>(c.spins.size()));
        for (std::size_t k = 0; k < c.spins.size(); ++k) {
            EXPECT_DOUBLE_EQ(o.cells[k + 1], c.spins[k]) << "spin " << k + 1;
        }
    }
}

const FileCase kFileCases[] = {
    {"ShorterThanTheWord", "Spielban\r\nA\r\nB\r\nC\r\n", Kind::NotSpielbank, {}},
    {"TabInFront", "\tSpielbank\r\nA\r\nB\r\nC\r\n", Kind::NotSpielbank, {}},
    {"EndsAfterFieldThree", "Spielbank X,F2,F3", Kind::ReadFailure, {"Spielbank X", "F2", "F3"}},
    {"EndFieldFirst", kHeaderLines + "=\r\n5\r\n", Kind::Read, kHeader},
    {"MinusAfterBlanksIsASeparator", kHeaderLines + " -0.4\r\n5\r\n", Kind::Read, kHeader, {5}},
    {"TabInFrontIsNoSeparator", kHeaderLines + "\t-0.4\r\n", Kind::Read, kHeader, {-0.4}},
    {"LenientForms",
     kHeaderLines + "&h24,&O7,3e1,+4,\" 6 \",0.5\r\n",
     Kind::Read,
     kHeader,
     {36, 7, 30, 4, 6, 0.5}},
    {"HugeExponent", kHeaderLines + "1E400", Kind::Refused, kHeader, {}, 1, "1E400"},
    {"Hexadecimal", kHeaderLines + "&HFF", Kind::Refused, kHeader, {}, 1, "&HFF"},
    {"QuotedBlanksTrimmed", kHeaderLines + "\"  40  \"", Kind::Refused, kHeader, {}, 1, "40"},
    // An empty field is no spin; a field without a number refuses the file.
    {"TrailingCommas", kHeaderLines + "5,\r\n7,\r\n9,\r\n", Kind::Read, kHeader, {5, 7, 9}},
    {"EmptyAndBlankFields", kHeaderLines + ",,5, \t ,\" \",\t,6", Kind::Read, kHeader, {5, 6}},
    {"TableName", kHeaderLines + "5\r\nTisch 2\r\n", Kind::Refused, kHeader, {}, 2, "Tisch 2"},
    {"TabThenDashesIsASpinWithoutNumber",
     kHeaderLines + "\t-----",
     Kind::Refused,
     kHeader,
     {},
     1,
     "<09>-----"},
    {"CutByCharactersNotBytes",
     kHeaderLines + "99" + std::string(20, '\xFC'),
     Kind::Refused,
     kHeader,
     {},
     1,
     "99üüüüüüüüüüüüüüüüüü"},
};

INSTANTIATE_TEST_SUITE_P(Bytes, Files, testing::ValuesIn(kFileCases), caseName<FileCase>);

TEST(Permanence, RandomBytesNeverGiveASpinOutsideTheWheel) {
    std::mt19937 random(20240611);
    const std::string alphabets[] = {"0123456789 ,,,\r\n\t\"-=.eE&HhO+x", ""};
    for (int round = 0; round < 400; ++round) {
        const std::string& alphabet = alphabets[round % 2];
        std::string bytes = round % 4 < 2 ? kHeaderLines : "";
        const auto length = std::uniform_int_distribution<std::size_t>(0, 3000)(random);
        for (std::size_t i = 0; i < length; ++i) {
            bytes += alphabet.empty() ? static_cast<char>(random())
                                      : alphabet[std::uniform_int_distribution<std::size_t>(
                                            0, alphabet.size() - 1)(random)];
        }
        SCOPED_TRACE("round " + std::to_string(round));
        expectWellFormed(read(bytes));
    }
}

// Empty fields are no spins; a million spins on one line without a line end.
TEST(Permanence, LineOfAMillionSpins) {
    EXPECT_EQ(read(kHeaderLines + std::string(999'999, ',') + "\r\n").count, 0);
    std::string line;
    for (int i = 0; i < 1'000'000; ++i) {
        line += "0,";
    }
    const PermanenceOutcome o = read(kHeaderLines + line);
    ASSERT_EQ(o.kind, Kind::Read);
    EXPECT_EQ(o.count, 1'000'000);
    expectWellFormed(o);
    EXPECT_EQ(std::count(o.cells.begin(), o.cells.end(), 0.0), 1'000'000);
}

// Which spin fields hold a number at all, and the range check at its
// boundaries: the value rounded half to even must lie in 0..36.
TEST(Permanence, SpinFieldsAtTheBoundaries) {
    struct Case {
        const char* field;
        bool accepted;
    };
    const Case cases[] = {
        {"36", true},      {"36.4", true},   {"36.5", true},  {"36.6", false},  {"37", false},
        {"35.5", true},    {"0", true},      {"0.5", true},   {"-0.4", true},   {"\t-0.5", true},
        {"\t-0.6", false}, {"1E400", false}, {"3.6E1", true}, {"3.7e1", false}, {"&h24", true},
        {"&H25", false},   {"&O44", true},   {"&o45", false}, {"+.5", true},    {"+ 5", true},
        {"&h1F", true},    {"12abc", true},  {"7 R", true},   {"abc", false},   {"Tisch 2", false},
        {"x1", false},     {"+", false},     {".", false},    {"&H", false},    {"e5", false},
        {"&O8", false},    {"&Hg", false},   {"+-1", false},  {".x", false},
    };
    for (const Case& c : cases) {
        const PermanenceOutcome o = read(kHeaderLines + c.field + "\r\n");
        EXPECT_EQ(o.kind, c.accepted ? Kind::Read : Kind::Refused) << c.field;
        if (!c.accepted) {
            EXPECT_EQ(o.refusedSpin, 1) << c.field;
        }
    }
}

// A header field is cut before it reaches the window, however long it is;
// the reader neither keeps it whole nor takes longer than once through it.
TEST(Permanence, HugeHeaderFieldIsCut) {
    const std::string huge = "Spielbank" + std::string(20'000'000, 'Z');
    const PermanenceOutcome o = read(huge + "\r\nTisch 1\r\nTag 2\r\nCoup\r\n7\r\n");
    ASSERT_EQ(o.kind, Kind::Read);
    ASSERT_EQ(o.header.size(), 3u);
    EXPECT_EQ(o.header[0], huge.substr(0, cr::io::kHeaderShown));
    EXPECT_EQ(o.count, 1);
}

// The window keeps no more cells than a run can replay.
TEST(Permanence, KeepsOnlyTheSpinsAsked) {
    const PermanenceOutcome o = cr::io::readPermanence(
        *std::make_unique<cr::io::MemorySource>(kHeaderLines + "1,2,3,4,5,6\r\n"), 4);
    ASSERT_EQ(o.kind, Kind::Read);
    EXPECT_EQ(o.count, 6);
    ASSERT_EQ(o.cells.size(), 4u + 21u);
    EXPECT_EQ(o.cells[4], 4);
    EXPECT_TRUE(isEmptyCell(o.cells[5]));
}

// Spins, separators and end fields read alike whether the spins are taken in
// bulk from a whole block or field by field, whatever stretch is kept.
TEST(Permanence, BulkSpinsReadAsFieldByField) {
    std::string many;
    for (int i = 0; i < 9000; ++i) {
        many += std::to_string(i * 7 % 37) + (i % 50 == 49 ? "\r\n-----\r\n" : "\r\n");
    }
    const std::string bodies[] = {
        many,
        many + "37\r\n",
        many + "=====\r\n99\r\n",
        "1,-----,2,-,3\r\n-5\r\n-0.4,7\n8\r9",
        "1\r\n-- --\r\n ---\r\n--- \r\n---,4\r\n\t---\r\n2\r\n",
        "1\r\n007\r\n05\r\n36\r\n12.4\r\n,,\r\n \r\n1,\"2\", 3 ,4\r\n-",
        "3\r\n-----\r\n=====\r\n99",
        "5\r\n-" + std::string(9000, '-') + "\r\n6\r\n",
    };
    const long long windows[][2] = {{cr::io::kAllSpins, 1}, {5000, 4000}, {3, 4095}, {1, 2}};
    for (const std::string& body : bodies) {
        const std::string bytes = kHeaderLines + body;
        for (const auto& w : windows) {
            cr::io::MemorySource whole(bytes);
            const PermanenceOutcome bulk = cr::io::readPermanence(whole, w[0], w[1]);
            cr::testing::ChunkedSource bytewise(bytes, 1);
            const PermanenceOutcome slow = cr::io::readPermanence(bytewise, w[0], w[1]);
            const std::string where = body.substr(0, 40) + ", from " + std::to_string(w[1]);
            EXPECT_EQ(bulk.kind, slow.kind) << where;
            EXPECT_EQ(bulk.count, slow.count) << where;
            EXPECT_EQ(bulk.refusedSpin, slow.refusedSpin) << where;
            EXPECT_EQ(bulk.refusedText, slow.refusedText) << where;
            EXPECT_EQ(bulk.firstKept, slow.firstKept) << where;
            ASSERT_EQ(bulk.cells.size(), slow.cells.size()) << where;
            for (std::size_t k = 0; k < bulk.cells.size(); ++k) {
                ASSERT_EQ(isEmptyCell(bulk.cells[k]), isEmptyCell(slow.cells[k])) << where << k;
                if (!isEmptyCell(bulk.cells[k])) {
                    ASSERT_EQ(bulk.cells[k], slow.cells[k]) << where << ", cell " << k;
                }
            }
        }
    }
}

// Table 1 is kept with the tests, so this runs wherever they do.
TEST(Permanence, RecordedWiesbadenTableWithAHeader) {
    const std::string path = CR_TEST_DATA_DIR "/wiesbaden_t1_2019-04-24.csv";
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << "the recorded table is missing: " << path;
    std::ostringstream bytes;
    bytes << "Spielbank Wiesbaden\r\nTisch 1\r\n24.04.2019\r\nCoup\r\n" << in.rdbuf();
    const TempDir dir;
    const PermanenceOutcome o = readPermanenceFile(dir.write("t1.txt", bytes.str()));
    ASSERT_EQ(o.kind, Kind::Read);
    EXPECT_EQ(o.header, (Header{"Spielbank Wiesbaden", "Tisch 1", "24.04.2019"}));
    EXPECT_EQ(o.count, 187'630);
    expectWellFormed(o);
    EXPECT_EQ(o.cells[1], 12); // the file begins 12,13,16,18,0,12
    EXPECT_EQ(o.cells[5], 0);
}

} // namespace
