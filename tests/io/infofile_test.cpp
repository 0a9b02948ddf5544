// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/cp1252.h"
#include "io/infofile.h"
#include "temp_dir.h"

#include <gtest/gtest.h>
#include <string>

namespace {

// Table cases go by their names.
template <typename Case> std::string caseName(const testing::TestParamInfo<Case>& info) {
    return info.param.name;
}

using namespace std::string_literals;
using cr::io::decodeWindows1252;
using cr::io::loadInfoFile;

TEST(Windows1252, DecodesEveryKindOfByte) {
    EXPECT_EQ(decodeWindows1252("Spielbank 1-9\0"s), "Spielbank 1-9\0"s);
    EXPECT_EQ(decodeWindows1252("\xFC\xDF\xC4\xE9\xFF"), "üßÄéÿ");
    EXPECT_EQ(decodeWindows1252("\x80\x84\x93\x94\x96\x99\x9F"), "€„“”–™Ÿ");
    EXPECT_EQ(decodeWindows1252("\xA0\xA7"), "\u00A0§");
    // Undefined in the code page.
    EXPECT_EQ(decodeWindows1252("\x81\x8D\x8F\x90\x9D"), "\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD");
}

struct InfoCase {
    std::string name;
    std::string bytes;
    std::string text;
};

class InfoFile : public testing::TestWithParam<InfoCase> {};

TEST_P(InfoFile, LoadsAsUtf8WithLineFeeds) {
    const cr::testing::TempDir dir;
    const auto text = loadInfoFile(dir.write(cr::io::kInfoFileName, GetParam().bytes));
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text, GetParam().text);
}

const InfoCase kInfoCases[] = {
    {"Utf8KeptAsItIs", "Würfe\n€ 5\n", "Würfe\n€ 5\n"},
    {"CrLfBecomesLf", "a\r\nb\r\n", "a\nb\n"},
    {"LoneCrBecomesLf", "a\rb\r\r\nc", "a\nb\n\nc"},
    {"Utf8EndingInAWideCharacter", "Gr\xC3\xBC\xC3\x9F", "Grüß"},
    {"Windows1252Decoded", "Gr\xFC\xDF\x65 \x80\r\n", "Grüße €\n"},
    {"CutUtf8SequenceMeansWindows1252", "abc\xC3", "abcÃ"},
    {"Empty", "", ""},
};

INSTANTIATE_TEST_SUITE_P(Texts, InfoFile, testing::ValuesIn(kInfoCases), caseName<InfoCase>);

TEST(InfoFile, MissingFileOrDirectoryGivesNothing) {
    const cr::testing::TempDir dir;
    EXPECT_FALSE(loadInfoFile(dir.path() + "/" + cr::io::kInfoFileName).has_value());
    EXPECT_FALSE(loadInfoFile(dir.path()).has_value());
}

} // namespace
