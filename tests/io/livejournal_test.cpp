// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/livejournal.h"
#include "io/permanence_reader.h"
#include "temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <sched.h>
#include <sstream>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace cr::io {
// Failures show events as kind:value.
void PrintTo(const JournalEvent& e, std::ostream* out) {
    *out << static_cast<int>(e.kind) << ':' << e.value;
}
} // namespace cr::io

namespace {

namespace fs = std::filesystem;
using cr::io::JournalEvent;
using cr::io::LiveJournal;
using cr::testing::TempDir;
using Kind = cr::io::JournalEventKind;

// 07.12.2026 19:10:05 in UTC, the zone every test here runs in.
constexpr std::time_t kStarted = 1796670605;
const std::string kName = "live-2026-12-07_19-10-05.txt";
const std::string kHeader = "Spielbank Chancenraster\r\n"
                            "Live-Eingabe\r\n"
                            "begonnen am 07.12.2026 19:10:05\r\n"
                            "Journal\r\n";

std::string contentOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Sets an environment variable for the life of the object (unset for nullptr).
class EnvVar {
public:
    EnvVar(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_old = old;
        }
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
        ::tzset();
    }
    ~EnvVar() {
        m_old ? ::setenv(m_name, m_old->c_str(), 1) : ::unsetenv(m_name);
        ::tzset();
    }
    EnvVar(const EnvVar&) = delete;
    EnvVar& operator=(const EnvVar&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

class Journal : public ::testing::Test {
protected:
    EnvVar m_zone{"TZ", "UTC"};
    TempDir m_dir;
};

// Plays a script on a journal: "S4" Start 4, "R9" Reset 9, "E" Export,
// "G" saved, "U" undo, "X" finish, else a number. Gives '+' or '-' for what
// each call returned.
std::string play(LiveJournal& j, const std::string& script) {
    std::istringstream in(script);
    std::string results;
    for (std::string op; in >> op;) {
        const char c = op[0];
        const int rate = c == 'S' || c == 'R' ? std::stoi(op.substr(1)) : 0;
        const bool ok = c == 'S'   ? j.start(rate)
                        : c == 'R' ? j.reset(rate)
                        : c == 'E' ? j.exported()
                        : c == 'G' ? j.saved()
                        : c == 'U' ? j.undo()
                        : c == 'X' ? j.finish()
                                   : j.number(std::stoi(op));
        results += ok ? '+' : '-';
    }
    return results;
}

TEST_F(Journal, SessionIsWrittenReadBackAndImportedAsItsNumbers) {
    const std::string folder = m_dir.path() + "/neu/chancenraster";
    auto journal = LiveJournal::create(folder, kStarted);
    ASSERT_FALSE(journal->failed()) << journal->takeProblem().value_or("");
    EXPECT_EQ(journal->path(), folder + "/" + kName);
    EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_EQ(fs::status(m_dir.path() + "/neu").permissions() & fs::perms::all,
              fs::perms::owner_all);
    // Out-of-range values are refused and leave no line.
    EXPECT_EQ(play(*journal, "S37 17 37 -1 0 S0 R10000 R37 5 E G X 3"), "++--+--+++++-");
    EXPECT_FALSE(journal->failed());
    EXPECT_EQ(contentOf(journal->path()),
              kHeader + "--- Start 37\r\n17\r\n0\r\n--- Reset 37\r\n5\r\n--- Export\r\n"
                        "--- Gespeichert\r\n--- Ende\r\n");
    const std::vector<JournalEvent> events{{Kind::Start, 37}, {Kind::Number, 17}, {Kind::Number, 0},
                                           {Kind::Reset, 37}, {Kind::Number, 5},  {Kind::Export, 0},
                                           {Kind::Saved, 0},  {Kind::End, 0}};
    EXPECT_EQ(cr::io::readJournal(journal->path()), events);

    const auto permanence = cr::io::readPermanenceFile(journal->path());
    ASSERT_EQ(permanence.kind, cr::PermanenceOutcome::Kind::Read);
    EXPECT_EQ(permanence.count, 3);
    ASSERT_GE(permanence.cells.size(), 4u);
    EXPECT_EQ(permanence.cells[1], 17);
    EXPECT_EQ(permanence.cells[2], 0);
    EXPECT_EQ(permanence.cells[3], 5);

    // Journals of the same second get -2, -3, ...; none is overwritten.
    auto second = LiveJournal::create(folder, kStarted);
    auto third = LiveJournal::create(folder, kStarted);
    EXPECT_EQ(second->path(), folder + "/live-2026-12-07_19-10-05-2.txt");
    EXPECT_EQ(third->path(), folder + "/live-2026-12-07_19-10-05-3.txt");
    EXPECT_EQ(contentOf(third->path()), kHeader);
    EXPECT_EQ(cr::io::readJournal(journal->path()), events);
}

TEST_F(Journal, UndoCutsTheLastNumberOfTheSectionOnly) {
    struct Case {
        const char* script;
        const char* results;
        const char* body; // behind the header
    };
    const Case cases[] = {
        {"S4 1 2 U U U 3", "+++++-+", "--- Start 4\r\n3\r\n"},
        {"S4 7 G 8 G U U", "+++++++", "--- Start 4\r\n"},
        {"S4 7 R5 U", "+++-", "--- Start 4\r\n7\r\n--- Reset 5\r\n"},
        {"S4 7 E 9 U U", "+++++-", "--- Start 4\r\n7\r\n--- Export\r\n"},
        {"U S4 5 5 U 36", "-+++++", "--- Start 4\r\n5\r\n36\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        const TempDir dir;
        auto journal = LiveJournal::create(dir.path(), kStarted);
        EXPECT_EQ(play(*journal, c.script), c.results);
        EXPECT_EQ(contentOf(journal->path()), kHeader + c.body);
        EXPECT_FALSE(journal->failed());
    }
}

// Each file stands for one way a folder of journals looks after some evenings.
TEST_F(Journal, UnfinishedJournalsAreOfferedNewestFirst) {
    const std::string dir = m_dir.path();
    const auto write = [&](const std::string& name, const std::string& body) {
        return m_dir.write(name, kHeader + body);
    };
    write("live-2026-12-01_10-00-00.txt", "--- Start 4\r\n1\r\n--- Ende\r\n");
    write("live-2026-12-02_10-00-00.txt", "--- Start 4\r\n1\r\n--- Gespeichert\r\n");
    const std::string killed = write("live-2026-12-03_10-00-00.txt", "--- Start 4\r\n1\r\n2\r\n");
    const std::string again = write("live-2026-12-03_10-00-00-2.txt", "");
    const std::string tenth = write("live-2026-12-03_10-00-00-10.txt", "--- Start 3\r\n");
    const std::string torn =
        write("live-2026-12-04_10-00-00.txt",
              "--- Start 9\r\n4\r\n--- Reset 9\r\n5\r\n--- Gespeichert\r\n8\r\n3");
    const std::map<std::string, std::string> foreign{
        {"live-2026-12-05_10-00-00.txt", "Spielbank Wiesbaden\r\nTisch 1\r\n\r\n\r\n4\r\n"},
        {"live-2026-12-06_10-00-00.txt", kHeader + "--- Start 4\r\n37\r\n"},
        {"live-2026-12-07_10-00-00.txt", kHeader + "--- Start 4\n1\n"},
        {"live-2026-12-08_10-00-00.txt", kHeader.substr(0, 30)},
        {"notizen.txt", kHeader + "1\r\n"},
    };
    for (const auto& [name, bytes] : foreign) {
        m_dir.write(name, bytes);
    }
    fs::create_directory(dir + "/live-2026-12-09_10-00-00.txt");
    auto open = LiveJournal::create(dir, kStarted); // held by this "other window"
    ASSERT_TRUE(open->start(4));

    const auto found = cr::io::unfinishedJournals(dir);
    std::vector<std::string> paths;
    for (const auto& j : found) {
        paths.push_back(j.path);
    }
    EXPECT_EQ(paths, (std::vector<std::string>{torn, tenth, again, killed}));
    ASSERT_EQ(found.size(), 4u);
    EXPECT_EQ(found[0].startedText, "07.12.2026 19:10:05");
    EXPECT_EQ(found[0].events, (std::vector<JournalEvent>{{Kind::Start, 9},
                                                          {Kind::Number, 4},
                                                          {Kind::Reset, 9},
                                                          {Kind::Number, 5},
                                                          {Kind::Saved, 0},
                                                          {Kind::Number, 8}}));
    EXPECT_EQ(found[0].numbers, 3);
    EXPECT_EQ(found[2].numbers, 0);
    EXPECT_EQ(found[3].numbers, 2);
    for (const auto& [name, bytes] : foreign) {
        EXPECT_EQ(contentOf(dir + "/" + name), bytes) << name;
    }

    // Resuming cuts the torn tail before appending; the section's numbers
    // found again can be taken back.
    auto resumed = LiveJournal::reopen(torn);
    ASSERT_FALSE(resumed->failed()) << resumed->takeProblem().value_or("");
    const std::string kept = kHeader + "--- Start 9\r\n4\r\n--- Reset 9\r\n";
    EXPECT_EQ(play(*resumed, "6"), "+");
    EXPECT_EQ(contentOf(torn), kept + "5\r\n--- Gespeichert\r\n8\r\n6\r\n");
    EXPECT_EQ(play(*resumed, "U U U U 7"), "+++-+");
    EXPECT_EQ(contentOf(torn), kept + "7\r\n");
    EXPECT_EQ(cr::io::unfinishedJournals(dir).size(), 3u); // now held by resumed
}

// Each failure is reported once, and the file named keeps its bytes.
TEST_F(Journal, FailedJournalsReportOnceAndWriteNothing) {
    auto open = LiveJournal::create(m_dir.path(), kStarted);
    ASSERT_TRUE(open->number(7));
    const std::string foreign = m_dir.write("live-x.txt", "Spielbank Wiesbaden\r\n");
    const std::string file = m_dir.write("datei", "x");
    const std::string missing = m_dir.path() + "/fehlt.txt";
    struct Case {
        std::unique_ptr<LiveJournal> journal;
        std::string problem;
        std::string untouched;
    };
    Case cases[] = {
        {LiveJournal::reopen(open->path()),
         "Das Journal " + open->path() + " ist schon in einem anderen laufenden Programm geöffnet.",
         open->path()},
        {LiveJournal::reopen(foreign),
         "Die Datei " + foreign + " ist kein Journal einer Live-Eingabe.", foreign},
        {LiveJournal::reopen(missing),
         "Das Journal " + missing + " kann nicht geöffnet werden: No such file or directory.",
         missing},
        {LiveJournal::create(file + "/sub", kStarted),
         "Das Journal kann im Ordner " + file +
             "/sub nicht angelegt werden: Ein Teil des Pfads ist kein Ordner.",
         file},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.problem);
        const std::string before = contentOf(c.untouched);
        EXPECT_TRUE(c.journal->failed());
        EXPECT_EQ(c.journal->takeProblem(), c.problem);
        EXPECT_EQ(c.journal->takeProblem(), std::nullopt);
        EXPECT_EQ(play(*c.journal, "5 S4 U G X"), "-----");
        EXPECT_TRUE(c.journal->failed());
        EXPECT_EQ(contentOf(c.untouched), before);
    }
    EXPECT_TRUE(open->number(8)); // the holder goes on undisturbed
    // A declined session is ended by reopening it once its holder is gone.
    const std::string path = open->path();
    open.reset();
    EXPECT_TRUE(LiveJournal::reopen(path)->finish());
    EXPECT_EQ(contentOf(path), kHeader + "7\r\n8\r\n--- Ende\r\n");
    EXPECT_TRUE(cr::io::unfinishedJournals(m_dir.path()).empty());
}

// On a 64 KiB tmpfs in a mount namespace of a child process: a disk that
// fills in the middle of a session, then one that is read-only. The child's
// exit code names the first check that failed.
int journalOnSmallDisk(const std::string& mountPoint) {
    if (unshare(CLONE_NEWNS) != 0 ||
        mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=64k") != 0) {
        return 77;
    }
    const std::string folder = mountPoint + "/chancenraster";
    std::string path;
    {
        auto journal = LiveJournal::create(folder, kStarted);
        if (journal->failed() || !journal->start(4)) {
            return 1;
        }
        path = journal->path();
        {
            std::ofstream filler(mountPoint + "/voll", std::ios::binary);
            const std::string block(512, 'f');
            while (filler.write(block.data(), static_cast<std::streamsize>(block.size()))) {
            }
        }
        int written = 0;
        // Lines of four bytes: the last one, which only half fits, is written short.
        while (written < 10'000 && journal->number(10 + written % 27)) {
            ++written;
        }
        const std::string full = "Das Journal " + path +
                                 " kann nicht geschrieben werden: Auf dem Gerät ist kein "
                                 "Speicherplatz mehr verfügbar.";
        if (!journal->failed() || journal->takeProblem() != full || journal->takeProblem()) {
            return 2;
        }
        if (play(*journal, "5 U G X") != "----") {
            return 3;
        }
        // Every number that was confirmed is in the file, and no torn line.
        const auto events = cr::io::readJournal(path);
        const std::string bytes = contentOf(path);
        if (!events || events->size() != static_cast<std::size_t>(written) + 1 ||
            bytes.substr(bytes.size() - 2) != "\r\n") {
            return 4;
        }
        // A new journal on the full disk fails at its header.
        auto another = LiveJournal::create(folder, kStarted + 1);
        if (!another->failed() || fs::exists(another->path()) ||
            another->takeProblem().value_or("").find("kein Speicherplatz mehr") ==
                std::string::npos) {
            return 5;
        }
    }
    fs::remove(mountPoint + "/voll");
    if (mount(nullptr, mountPoint.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0) {
        return 6;
    }
    auto readOnly = LiveJournal::create(folder, kStarted + 2);
    if (readOnly->takeProblem() != "Das Journal kann im Ordner " + folder +
                                       " nicht angelegt werden: Das Dateisystem ist "
                                       "schreibgeschützt.") {
        return 7;
    }
    auto resumed = LiveJournal::reopen(path);
    if (resumed->takeProblem().value_or("").find("schreibgeschützt") == std::string::npos) {
        return 8;
    }
    if (cr::io::unfinishedJournals(folder).size() != 1) {
        return 9; // still offered, read from the read-only disk
    }
    return 0;
}

TEST_F(Journal, FullAndReadOnlyDisksFailOnceAndKeepEveryConfirmedNumber) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        _exit(journalOnSmallDisk(m_dir.path()));
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77) {
        GTEST_SKIP() << "no private mount namespace with a tmpfs here (needs CAP_SYS_ADMIN); "
                        "the folder under a file stands in for it";
    }
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(JournalFolder, ComesFromTheEnvironment) {
    struct Case {
        const char* data;
        const char* home;
        std::string folder;
    };
    const Case cases[] = {
        {"/daten", "/home/spieler", "/daten/chancenraster"},
        {"", "/home/spieler", "/home/spieler/.local/share/chancenraster"},
        {"relativ", "/home/spieler/", "/home/spieler/.local/share/chancenraster"},
        {nullptr, "/root", "/root/.local/share/chancenraster"},
        {nullptr, nullptr, ""},
        {"", "relativ", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        const EnvVar data("XDG_DATA_HOME", c.data);
        const EnvVar home("HOME", c.home);
        EXPECT_EQ(cr::io::journalFolder(), c.folder);
    }
}

} // namespace
