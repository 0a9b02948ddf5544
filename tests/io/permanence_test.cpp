#include "core/numparse.h"
#include "io/permanence_reader.h"
#include "temp_dir.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
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

void expectSpins(const PermanenceOutcome& o, const std::vector<double>& spins) {
    ASSERT_EQ(o.kind, Kind::Read);
    ASSERT_EQ(o.count, static_cast<double>(spins.size()));
    expectWellFormed(o);
    for (std::size_t k = 0; k < spins.size(); ++k) {
        EXPECT_DOUBLE_EQ(o.cells[k + 1], spins[k]) << "spin " << k + 1;
    }
}

TEST(Permanence, ReadsTheExampleFromMemoryAndFromAFile) {
    const std::string bytes = kHeaderLines + "12\r\n0\r\n31\r\n-----\r\n7\r\n=====\r\n19\r\n";
    const TempDir dir;
    for (const auto& outcome : {read(bytes), readPermanenceFile(dir.write("example.txt", bytes))}) {
        expectSpins(outcome, {12, 0, 31, 7});
        EXPECT_EQ(outcome.cells.size(), 25u);
        EXPECT_EQ(outcome.header, kHeader);
    }
}

struct HeaderCase {
    std::string name;
    std::string bytes;
    Kind kind;
    Header header;
    double count = 0; // for Read
};

class Headers : public testing::TestWithParam<HeaderCase> {};

TEST_P(Headers, DecideTheOutcome) {
    const HeaderCase& c = GetParam();
    const PermanenceOutcome o = read(c.bytes);
    EXPECT_EQ(o.kind, c.kind);
    EXPECT_EQ(o.header, c.header);
    if (c.kind == Kind::Read) {
        EXPECT_EQ(o.count, c.count);
    }
    expectWellFormed(o);
}

const HeaderCase kHeaderCases[] = {
    {"Empty", "", Kind::EmptyFile, {}},
    {"LowerCase", "spielbank hamburg\r\nA\r\nB\r\nC\r\n1\r\n", Kind::NotSpielbank, {}},
    {"ShorterThanTheWord", "Spielban\r\nA\r\nB\r\nC\r\n", Kind::NotSpielbank, {}},
    {"TabInFront", "\tSpielbank\r\nA\r\nB\r\nC\r\n", Kind::NotSpielbank, {}},
    {"LongerWordAccepted",
     "Spielbanken Nord\nA\nB\nC\n5\n",
     Kind::Read,
     {"Spielbanken Nord", "A", "B"},
     1},
    {"BlanksInFrontAccepted", "   Spielbank\rA\rB\rC\r5\r", Kind::Read, {"Spielbank", "A", "B"}, 1},
    {"CommaSplitsTheFirstLine",
     "Spielbank,Hamburg\r\nTisch 1\r\nCoup\r\n3\r\n",
     Kind::Read,
     {"Spielbank", "Hamburg", "Tisch 1"},
     1},
    {"HeaderOnly", kHeaderLines, Kind::Read, kHeader, 0},
    {"EndFieldFirst", kHeaderLines + "=\r\n5\r\n", Kind::Read, kHeader, 0},
    {"EndsAfterFieldTwo", "Spielbank X\r\nF2\r\n", Kind::ReadFailure, {"Spielbank X", "F2"}},
    {"EndsAfterFieldThree", "Spielbank X,F2,F3", Kind::ReadFailure, {"Spielbank X", "F2", "F3"}},
    {"OnlyBlankLines", "\r\n   \r\n\t\r\n", Kind::ReadFailure, {}},
    {"Windows1252Header",
     "Spielbank M\xFCnchen\r\nEinsatz 5 \x80\r\n\"\x84Tag\x93\"\r\nC\r\n",
     Kind::Read,
     {"Spielbank München", "Einsatz 5 €", "„Tag“"},
     0},
};

INSTANTIATE_TEST_SUITE_P(Files, Headers, testing::ValuesIn(kHeaderCases), caseName<HeaderCase>);

TEST(Permanence, FilesThatHoldNoPermanence) {
    const TempDir dir;
    EXPECT_EQ(readPermanenceFile(dir.write("empty.txt", "")).kind, Kind::EmptyFile);
    for (const std::string& path : {dir.path(), dir.path() + "/missing.txt"}) {
        const PermanenceOutcome o = readPermanenceFile(path);
        EXPECT_EQ(o.kind, Kind::ReadFailure) << path;
        EXPECT_TRUE(o.header.empty());
    }
}

struct BodyCase {
    std::string name;
    std::string body;
    std::vector<double> spins;
};

class Bodies : public testing::TestWithParam<BodyCase> {};

TEST_P(Bodies, GiveTheSpinsUnrounded) {
    expectSpins(read(kHeaderLines + GetParam().body), GetParam().spins);
}

const BodyCase kBodyCases[] = {
    {"NumberThenLetter", "7 R\r\n", {7}},
    {"Letters", "Zero\r\n", {0}},
    {"MinusIsASeparator", "-3\r\n -0.4\r\n5\r\n", {5}},
    {"EmptyFieldsAreZeros", "1,,2,\r\n", {1, 0, 2, 0}},
    {"FractionsRoundingIntoRange", "12.4\r\n36.5\r\n-----\r\n0.5\r\n", {12.4, 36.5, 0.5}},
    {"LenientForms", "&H1F,&h24,&O7,3e1,+4,\" 6 \"\r\n", {31, 36, 7, 30, 4, 6}},
    {"TabInFrontIsNoSeparator", "\t-0.4\r\n", {-0.4}},
    {"NothingCountsAfterTheEnd", "1\r\n=====\r\n99\r\n", {1}},
};

INSTANTIATE_TEST_SUITE_P(Spins, Bodies, testing::ValuesIn(kBodyCases), caseName<BodyCase>);

struct RefusalCase {
    std::string name;
    std::string body;
    long long spin;
    std::string text;
};

class Refusals : public testing::TestWithParam<RefusalCase> {};

TEST_P(Refusals, NameTheSpinAndItsText) {
    const RefusalCase& c = GetParam();
    const PermanenceOutcome o = read(kHeaderLines + c.body);
    EXPECT_EQ(o.kind, Kind::Refused);
    EXPECT_EQ(o.refusedSpin, c.spin);
    EXPECT_EQ(o.refusedText, c.text);
    EXPECT_EQ(o.header, kHeader);
    expectWellFormed(o);
}

const RefusalCase kRefusalCases[] = {
    {"ThirtySeven", "37\r\n", 1, "37"},
    {"SeparatorsNotCounted", "5\r\n-----\r\n,99,40\r\n", 3, "99"},
    {"HugeExponent", "1E400", 1, "1E400"},
    {"Hexadecimal", "&HFF", 1, "&HFF"},
    {"FractionRoundingOutside", "36.6", 1, "36.6"},
    {"QuotedBlanksTrimmed", "\"  40  \"", 1, "40"},
    {"CutToTwentyCharacters", "\"  123456789012345678901234 \"", 1, "12345678901234567890"},
    {"CutByCharactersNotBytes",
     "99\xFC\xFC\xFC\xFC\xFC\xFC\xFC\xFC\xFC\xFC\xFC\xFC\xFC\xFC\xFC"
     "\xFC\xFC\xFC\xFC\xFC",
     1, "99üüüüüüüüüüüüüüüüüü"},
};

INSTANTIATE_TEST_SUITE_P(Spins, Refusals, testing::ValuesIn(kRefusalCases), caseName<RefusalCase>);

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

TEST(Permanence, LineOfAMillionCommas) {
    const PermanenceOutcome o = read(kHeaderLines + std::string(999'999, ',') + "\r\n");
    ASSERT_EQ(o.kind, Kind::Read);
    EXPECT_EQ(o.count, 1'000'000);
    expectWellFormed(o);
    EXPECT_EQ(std::count(o.cells.begin(), o.cells.end(), 0.0), 1'000'000);
}

TEST(Permanence, TwentyMegabyteFile) {
    std::string bytes = kHeaderLines;
    bytes.reserve(20'000'000 + 64);
    std::size_t spins = 0;
    while (bytes.size() < 20'000'000 || spins % 16 != 0) {
        bytes += std::to_string(spins % 37);
        bytes += ++spins % 16 == 0 ? "\r\n" : ",";
    }
    const TempDir dir;
    const PermanenceOutcome o = readPermanenceFile(dir.write("big.txt", bytes));
    ASSERT_EQ(o.kind, Kind::Read);
    ASSERT_EQ(o.count, static_cast<double>(spins));
    ASSERT_EQ(o.cells.size(), spins + 21);
    for (std::size_t k = 1; k <= spins; ++k) {
        ASSERT_EQ(o.cells[k], static_cast<double>((k - 1) % 37)) << "cell " << k;
    }
}

TEST(Permanence, RecordedWiesbadenTableWithAHeader) {
    const std::string path = CR_WIESBADEN_DIR "/wiesbaden_t1_2019-04-24.csv";
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        GTEST_SKIP() << "no recorded data at " << path;
    }
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
