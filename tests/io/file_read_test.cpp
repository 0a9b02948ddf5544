// SPDX-License-Identifier: GPL-3.0-or-later
// Why a file gives no spins, told the same way to every reader's caller: the
// window in German, the batch tool in English.
#include "core/runfile.h"
#include "io/file_read.h"
#include "io/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using cr::Language;
using cr::readMessage;
using Kind = cr::ReadProblem::Kind;

const char* const kNeither = "Sie ist weder eine Permanenz (erste Angabe \u201eSpielbank "
                             "\u2026\u201c) noch eine Liste von Zahlen.";
const char* const kInHeader = "Sie endet schon im Kopf der Permanenz.";
const char* const kNotRegular = "Unter diesem Namen steht keine gewöhnliche Datei.";

TEST(FileRead, EveryProblemInBothLanguages) {
    const cr::testing::TempDir dir;
    const std::string loop = dir.path() + "/schleife.csv";
    std::filesystem::create_symlink(loop, loop);
    const std::string file = dir.write("datei.csv", "1");
    const std::string fifoLink = dir.path() + "/fifo.csv";
    EXPECT_EQ(mkfifo((dir.path() + "/fifo").c_str(), 0600), 0);
    std::filesystem::create_symlink(dir.path() + "/fifo", fifoLink);
    const std::string header = "Spielbank Hamburg\r\nTisch 3\r\n";
    const struct {
        std::string path;
        Kind kind;
        std::string german;
        std::string english;
    } cases[] = {
        {dir.path() + "/fehlt.csv", Kind::NoSuchFile, "No such file or directory.", "no such file"},
        {loop, Kind::CannotOpen, "Too many levels of symbolic links.",
         "cannot be opened: Too many levels of symbolic links"},
        {file + "/unter.csv", Kind::CannotOpen, "Not a directory.",
         "cannot be opened: Not a directory"},
        {dir.path(), Kind::Directory, kNotRegular, "a directory, not a file"},
        {"/dev/null", Kind::NotRegular, kNotRegular, "not a regular file"},
        // A FIFO behind a link is refused without waiting for a writer.
        {fifoLink, Kind::NotRegular, kNotRegular, "not a regular file"},
        {dir.write("leer.csv", ""), Kind::Empty, "Sie ist leer.", "the file is empty"},
        {dir.write("marke.csv", "\xEF\xBB\xBF"), Kind::Empty, "Sie ist leer.", "the file is empty"},
        {dir.write("tisch.csv", "abc\r\n1,2\r\n"), Kind::Neither, kNeither,
         "spin 1 reads \"abc\", which is not a number (a file without a \"Spielbank\" "
         "header must hold numbers only)"},
        {dir.write("lang.csv", std::string(5000, '7')), Kind::Neither, kNeither,
         "spin 1 is a field of more than 4096 bytes, no number"},
        {dir.write("liste.csv", "12\r\n37\r\n"), Kind::Refused,
         " Datei nicht übernommen:\n  Wurf 2 lautet 37,\n  erlaubt sind 0 bis 36.",
         "spin 2 reads \"37\", allowed are 0 to 36"},
        // A UTF-8 field quoted as it was written, in both languages.
        {dir.write("utf8.csv", "12\r\n\xC3\xA4\r\n"), Kind::Refused,
         " Datei nicht übernommen:\n  Wurf 2 lautet ä,\n  erlaubt sind 0 bis 36.",
         "spin 2 reads \"ä\", which is not a number (a file without a \"Spielbank\" "
         "header must hold numbers only)"},
        {dir.write("kopf.txt", header + "24.04.2019\r\nCoup\r\n5\r\n-----\r\n7 R\r\nx\r\n"),
         Kind::Refused, " Datei nicht übernommen:\n  Wurf 3 lautet x,\n  erlaubt sind 0 bis 36.",
         "spin 3 reads \"x\", which holds no number"},
        {dir.write("kurz.txt", header), Kind::EndsInHeader, kInHeader,
         "the file ends after 2 of its 4 header fields"},
        {dir.write("drei.txt", header + "24.04.2019\r\n"), Kind::HeaderUnfinished, kInHeader,
         "the file ends before its 4th header field, or could not be read to its end"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const cr::io::FileRead read = cr::io::readFile(c.path);
        ASSERT_TRUE(read.problem);
        EXPECT_EQ(read.problem->kind, c.kind);
        EXPECT_EQ(readMessage(*read.problem, Language::German), c.german);
        EXPECT_EQ(readMessage(*read.problem, Language::English), c.english);
        EXPECT_EQ(cr::refusesWholeFile(*read.problem), c.kind != Kind::Refused);
    }
    EXPECT_FALSE(cr::io::readFile(file).problem);
}

// A file with more spins than a run replays asks from which spin on; the
// answer may be any of its spins.
TEST(FileRead, OnlyALongerFileAsksFromWhichSpin) {
    const cr::testing::TempDir dir;
    for (const long long spins : {9999LL, 10000LL, 12345LL}) {
        std::string list;
        for (long long k = 0; k < spins; ++k) {
            list += k % 10 == 9 ? "5\n" : "5,";
        }
        const cr::io::FileRead read = cr::io::readFile(dir.write("liste.csv", list), 9999);
        ASSERT_FALSE(read.problem);
        const std::optional<long long> last = cr::lastFirstSpin(read.read.permanence);
        EXPECT_EQ(last, spins == 9999 ? std::nullopt : std::optional<long long>(spins)) << spins;
    }
    cr::PermanenceOutcome huge;
    huge.kind = cr::PermanenceOutcome::Kind::Read;
    huge.count = 3e9;
    EXPECT_EQ(cr::lastFirstSpin(huge), 3000000000); // beyond any int
}

} // namespace
