// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/cp1252.h"
#include "io/infofile.h"
#include "io/spin_field.h"
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

// A refused field quoted in a message: as UTF-8 only when it is UTF-8 with a
// character of more than one byte; what would not show is named "<XX>".
TEST(ShownField, DecodesAndNamesWhatWouldNotShow) {
    const struct {
        std::string bytes;
        std::string shown;
    } cases[] = {
        {"\xE4", "ä"},                      // Windows-1252, as the casino files
        {"\xC3\xA4", "ä"},                  // UTF-8
        {"\xC3\xA4\xE4", "\u00C3\u00A4ä"},  // not UTF-8 as a whole: one byte a character
        {"\xC0\xAF", "\u00C0\u00AF"},       // overlong form: no UTF-8
        {"\xED\xA0\x80", "\u00ED\u00A0€"},  // surrogate: no UTF-8
        {"\xF0\x9F\x8E\xB2", "\U0001F3B2"}, // four bytes
        {"\x80\x9F", "€Ÿ"},                 // defined in the code page
        {"\x81\x8D\x8F\x90\x9D", "<81><8D><8F><90><9D>"}, // undefined in it
        {"1\x01\x1B\x7F"s + '\0', "1<01><1B><7F><00>"},
        {"\t5", "<09>5"},
        {"\xC3\xA4\x01", "ä<01>"},
        {"\xC2\x85x", "<85>x"}, // a C1 control in UTF-8
        {"\xEF\xBB\xBF"
         "5",
         "<FEFF>5"}, // a byte order mark inside a field
        {"  \xC3\xA4 x  ", "ä x"},
        // Cut after the 20th character, however many bytes it takes.
        {std::string(25, '\x01'),
         [] {
             std::string s;
             for (int i = 0; i < 20; ++i) {
                 s += "<01>";
             }
             return s;
         }()},
        {[] {
             std::string s;
             for (int i = 0; i < 25; ++i) {
                 s += "\xC3\xA4";
             }
             return s;
         }(),
         [] {
             std::string s;
             for (int i = 0; i < 20; ++i) {
                 s += "ä";
             }
             return s;
         }()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cr::io::shownField(c.bytes), c.shown) << c.bytes;
    }
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
