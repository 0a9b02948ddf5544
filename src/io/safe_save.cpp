// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/safe_save.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace cr::io {

namespace {

using Step = SaveOutcome::Step;

ssize_t systemWrite(int fd, const void* data, std::size_t size) {
    return ::write(fd, data, size);
}

// The file a path names once its links are followed; the path itself when
// there is no link (or it cannot be followed: then the save fails later).
std::string followLinks(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(path, ec);
    return ec ? path : resolved.string();
}

mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Writes the temporary file completely; the step that failed, or Done.
Step fillTemporary(int fd, std::string_view bytes, mode_t mode, const FileCalls& calls) {
    if (::fchmod(fd, mode) != 0 || !writeAll(fd, bytes, calls)) {
        return Step::Write;
    }
    if (calls.fsync(fd) != 0) {
        return Step::Sync;
    }
    return Step::Done;
}

} // namespace

const FileCalls& systemFileCalls() {
    static const FileCalls calls{systemWrite, ::fsync, ::close, ::rename};
    return calls;
}

SaveOutcome saveWholeFile(const std::string& path, std::string_view bytes, const FileCalls& calls) {
    SaveOutcome outcome;
    outcome.target = followLinks(path);
    mode_t mode = newFileMode();
    struct stat info {};
    const bool replacing = ::stat(outcome.target.c_str(), &info) == 0;
    if (replacing && !S_ISREG(info.st_mode)) {
        outcome.step = Step::NotRegular;
        return outcome;
    }
    if (replacing) {
        mode = info.st_mode & 07777;
    }

    const std::filesystem::path target(outcome.target);
    std::string name(1, '.');
    name.append(target.filename().string()).append(".XXXXXX");
    std::string temporary = (target.parent_path() / name).string();
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        outcome.step = Step::Create;
        outcome.error = errno;
        return outcome;
    }
    // The owner stays too where the user may say so (the superuser); for
    // anyone else the file is theirs already or fchown fails harmlessly.
    const bool sameOwner = !replacing || ::fchown(fd, info.st_uid, info.st_gid) == 0;
    static_cast<void>(sameOwner);
    outcome.step = fillTemporary(fd, bytes, mode, calls);
    outcome.error = errno;
    if (calls.close(fd) != 0 && outcome.ok()) {
        outcome.step = Step::Close;
        outcome.error = errno;
    }
    if (outcome.ok() && calls.rename(temporary.c_str(), outcome.target.c_str()) != 0) {
        outcome.step = Step::Rename;
        outcome.error = errno;
    }
    if (!outcome.ok()) {
        ::unlink(temporary.c_str());
        return outcome;
    }
    outcome.error = 0;
    // The new name on disk as well; the file itself is already synced.
    const int dir = ::open(target.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return outcome;
}

bool writeAll(int fd, std::string_view bytes, const FileCalls& calls) {
    while (!bytes.empty()) {
        const ssize_t done = calls.write(fd, bytes.data(), bytes.size());
        if (done < 0 && errno == EINTR) {
            continue;
        }
        if (done <= 0) {
            if (done == 0) {
                errno = EIO;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(done));
    }
    return true;
}

} // namespace cr::io
