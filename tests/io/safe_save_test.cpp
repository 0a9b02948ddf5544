// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/safe_save.h"
#include "temp_dir.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using cr::io::FileCalls;
using cr::io::saveWholeFile;
using cr::testing::TempDir;
using Step = cr::io::SaveOutcome::Step;

std::string contentOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::size_t entriesIn(const std::string& dir) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

const std::string kOld = "alt\r\n";
const std::string kNew(100'000, 'n');

// Calls that fail as a full or broken disk does, one step at a time.
ssize_t writeFull(int, const void*, std::size_t) {
    errno = ENOSPC;
    return -1;
}
ssize_t writeHalfThenFull(int fd, const void* data, std::size_t size) {
    static bool first = true;
    first = !first;
    if (!first) {
        return ::write(fd, data, size / 2);
    }
    errno = ENOSPC;
    return -1;
}
int syncFails(int) {
    errno = EIO;
    return -1;
}
int closeFails(int fd) {
    ::close(fd);
    errno = EDQUOT;
    return -1;
}
int renameFails(const char*, const char*) {
    errno = EXDEV;
    return -1;
}
ssize_t writeByteByByte(int fd, const void* data, std::size_t size) {
    return ::write(fd, data, size == 0 ? 0 : 1);
}

TEST(SafeSave, EveryFailingStepLeavesTheOldFileWhole) {
    const FileCalls& real = cr::io::systemFileCalls();
    struct Case {
        const char* name;
        FileCalls calls;
        Step step;
        int error;
    };
    const Case cases[] = {
        {"write", {writeFull, real.fsync, real.close, real.rename}, Step::Write, ENOSPC},
        {"second write",
         {writeHalfThenFull, real.fsync, real.close, real.rename},
         Step::Write,
         ENOSPC},
        {"fsync", {real.write, syncFails, real.close, real.rename}, Step::Sync, EIO},
        {"close", {real.write, real.fsync, closeFails, real.rename}, Step::Close, EDQUOT},
        {"rename", {real.write, real.fsync, real.close, renameFails}, Step::Rename, EXDEV},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TempDir dir;
        const std::string path = dir.write("verlauf.txt", kOld);
        const auto outcome = saveWholeFile(path, kNew, c.calls);
        EXPECT_EQ(outcome.step, c.step);
        EXPECT_EQ(outcome.error, c.error);
        EXPECT_EQ(contentOf(path), kOld);
        EXPECT_EQ(entriesIn(dir.path()), 1u); // no temporary file left behind
    }
}

TEST(SafeSave, ShortWritesStillGiveTheWholeFile) {
    const TempDir dir;
    const std::string path = dir.write("verlauf.txt", kOld);
    const FileCalls& real = cr::io::systemFileCalls();
    const auto outcome =
        saveWholeFile(path, "Step\t1\r\n", {writeByteByByte, real.fsync, real.close, real.rename});
    EXPECT_TRUE(outcome.ok());
    EXPECT_EQ(contentOf(path), "Step\t1\r\n");
}

// A link is followed and stays a link; the file keeps its permissions.
TEST(SafeSave, WritesTheFileALinkNamesWithItsPermissions) {
    const TempDir dir;
    const std::string file = dir.write("echt.txt", kOld);
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const std::string link = dir.path() + "/verweis.txt";
    fs::create_symlink(file, link);
    ASSERT_TRUE(saveWholeFile(link, kNew).ok());
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(contentOf(file), kNew);
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

// Neither a device nor a FIFO is ever written or replaced, through a link or not.
TEST(SafeSave, RefusesDevicesFifosAndDirectories) {
    const TempDir dir;
    const std::string fifo = dir.path() + "/rohr";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    fs::create_symlink("/dev/null", dir.path() + "/geraet.txt");
    fs::create_symlink(fifo, dir.path() + "/rohr.txt");
    for (const std::string name : {"/geraet.txt", "/rohr.txt", "/rohr", ""}) {
        SCOPED_TRACE(name);
        const auto outcome = saveWholeFile(dir.path() + name, kNew);
        EXPECT_EQ(outcome.step, Step::NotRegular);
    }
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_TRUE(fs::is_symlink(dir.path() + "/geraet.txt"));
    EXPECT_EQ(entriesIn(dir.path()), 3u);
}

// A failure the superuser meets as well: the parent is a regular file.
TEST(SafeSave, ParentThatIsAFileFailsAtCreating) {
    const TempDir dir;
    const std::string parent = dir.write("datei", kOld);
    const auto outcome = saveWholeFile(parent + "/verlauf.txt", kNew);
    EXPECT_EQ(outcome.step, Step::Create);
    EXPECT_EQ(outcome.error, ENOTDIR);
    EXPECT_EQ(contentOf(parent), kOld);
}

// On a real full file system: a 64 KiB tmpfs in a mount namespace of a child
// process. The child's exit code names the first check that failed.
int saveOnFullDisk(const std::string& mountPoint) {
    if (unshare(CLONE_NEWNS) != 0 ||
        mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=64k") != 0) {
        return 77;
    }
    const std::string path = mountPoint + "/verlauf.txt";
    std::ofstream(path, std::ios::binary) << kOld;
    { // fill the disk to its last byte
        std::ofstream filler(mountPoint + "/voll", std::ios::binary);
        const std::string block(512, 'f');
        while (filler.write(block.data(), static_cast<std::streamsize>(block.size()))) {
        }
    }
    for (const std::string& text : {std::string("Step\t1\r\n"), kNew}) {
        const auto outcome = saveWholeFile(path, text);
        if (outcome.ok() || outcome.error != ENOSPC) {
            return 1;
        }
        if (contentOf(path) != kOld || entriesIn(mountPoint) != 2) {
            return 2;
        }
    }
    fs::remove(mountPoint + "/voll");
    const std::string fits(30'000, 'n');
    if (!saveWholeFile(path, fits).ok() || contentOf(path) != fits) {
        return 3;
    }
    return 0;
}

TEST(SafeSave, FullFileSystemKeepsTheOldFile) {
    const TempDir dir;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        _exit(saveOnFullDisk(dir.path()));
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77) {
        GTEST_SKIP() << "no private mount namespace with a tmpfs here (needs CAP_SYS_ADMIN); "
                        "the failing-call cases above stand in for it";
    }
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

} // namespace
