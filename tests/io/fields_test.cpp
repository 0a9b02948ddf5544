// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/fields.h"
#include "temp_dir.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Table cases go by their names.
template <typename Case> std::string caseName(const testing::TestParamInfo<Case>& info) {
    return info.param.name;
}

using namespace std::string_literals;
using cr::io::FieldStream;
using cr::io::FileSource;
using cr::io::MemorySource;
using Fields = std::vector<std::string>;

constexpr std::size_t kChunk = 1 << 20; // the block size FileSource reads

Fields fieldsOf(cr::io::BlockSource&& source) {
    EXPECT_TRUE(source.open());
    FieldStream stream(source);
    Fields fields;
    std::string_view field;
    while (stream.next(field)) {
        fields.emplace_back(field);
    }
    return fields;
}

struct FieldCase {
    std::string name;
    std::string bytes;
    Fields fields;
};

class Splitting : public testing::TestWithParam<FieldCase> {};

TEST_P(Splitting, GivesTheFields) {
    EXPECT_EQ(fieldsOf(MemorySource(GetParam().bytes)), GetParam().fields);
}

// Splits the scenario files do not show (they show CR LF, LF and CR lines,
// blank lines, empty fields and quoted fields).
const FieldCase kFieldCases[] = {
    {"Mixed", "a\r\nb\rc\nd", {"a", "b", "c", "d"}},
    {"LoneCrBeforeCrLfIsABlankLine", "a\r\r\nb", {"a", "b"}},
    {"LfCrIsTwoLineEnds", "a\n\rb", {"a", "b"}},
    {"EmptyAndBlankLinesSkipped", "\r\n \t \r\na\r\n\r\n\t\n  \rb\r\n \t", {"a", "b"}},
    {"CommaAtFileEnd", "1,", {"1", ""}},
    {"LineOfACommaOnly", " ,\r\n", {"", ""}},
    {"BlanksInFrontSkipped", "   12,  7 R\r\n  x", {"12", "7 R", "x"}},
    {"TabsInFrontKept", "\t1, \t2", {"\t1", "\t2"}},
    {"TrailingBlanksAndTabsRemoved", "12 \t ,a b\t\r\n", {"12", "a b"}},
    {"QuoteAfterBlanks", "  \"x \"", {"x "}},
    {"EmptyQuoted", "\"\",1", {"", "1"}},
    {"TextAfterClosingQuoteDropped", "\"ab\"cd,e\r\n\"f\" g", {"ab", "e", "f"}},
    {"QuoteInsideAFieldIsAByte", "a\"b,c", {"a\"b", "c"}},
    {"NulIsAnOrdinaryByte", "1\0,\0\r\n\0"s, {"1\0"s, "\0"s, "\0"s}},
};

INSTANTIATE_TEST_SUITE_P(Lines, Splitting, testing::ValuesIn(kFieldCases), caseName<FieldCase>);

// Appends a line of fives so that the text ends at `size`, just before a line end.
void lineUpTo(std::string& text, std::size_t size) {
    text.append(size - text.size(), '5');
}

// Bytes whose lines cross every chunk boundary in a different way.
std::string acrossChunks() {
    std::string text = "Spielbank,\"a, b\"\r\n";
    for (int i = 0; text.size() < kChunk - 100; ++i) {
        text += std::to_string(i % 37) + (i % 3 == 0 ? ",\r\n" : i % 3 == 1 ? "\n" : ",");
    }
    text += "\r\n";
    lineUpTo(text, kChunk - 1);
    text += "\r\n"; // CR at the end of the first chunk, LF at the start of the second
    text += "7";
    text.append(3 * kChunk / 2, ','); // a line longer than a chunk, across the second boundary
    text += "\n";
    lineUpTo(text, 3 * kChunk - 1);
    text += "\r8\r\n"; // a lone CR at the end of the third chunk
    lineUpTo(text, 4 * kChunk - 2);
    text += ",\r \t\r\n   \r\n\" open, 9"; // ends in an unclosed quote without a line end
    return text;
}

TEST(FileSource, GivesTheFieldsOfTheSameBytesInMemory) {
    const std::string bytes = acrossChunks();
    const cr::testing::TempDir dir;
    const Fields fromFile = fieldsOf(FileSource(dir.write("chunks.txt", bytes)));
    const Fields fromMemory = fieldsOf(MemorySource(bytes));
    ASSERT_GT(fromMemory.size(), 3 * kChunk / 2);
    ASSERT_EQ(fromFile.size(), fromMemory.size());
    const auto [file, memory] = std::mismatch(fromFile.begin(), fromFile.end(), fromMemory.begin());
    EXPECT_TRUE(file == fromFile.end()) << "field " << file - fromFile.begin() << ": '" << *file
                                        << "' instead of '" << *memory << "'";
    EXPECT_EQ(fromFile.back(), " open, 9");
}

// A field longer than is kept: its first bytes and its whole length, the
// blanks and tabs around it not counted.
TEST(FieldStream, KeepsTheStartOfAnOverlongField) {
    const std::string big(3 * FieldStream::kKeptBytes, 'x');
    const std::string bytes = "a,  " + big + " \t" + std::string(10000, ' ') + ",\t" + big + "\tb";
    MemorySource source(bytes);
    ASSERT_TRUE(source.open());
    FieldStream stream(source);
    std::string_view field;
    ASSERT_TRUE(stream.next(field));
    EXPECT_EQ(stream.length(), 1u);
    ASSERT_TRUE(stream.next(field));
    EXPECT_EQ(field, big.substr(0, FieldStream::kKeptBytes));
    EXPECT_EQ(stream.length(), big.size());
    ASSERT_TRUE(stream.next(field));
    EXPECT_EQ(stream.length(), big.size() + 3);
    EXPECT_FALSE(stream.next(field));
}

} // namespace
