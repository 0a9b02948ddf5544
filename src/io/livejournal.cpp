// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/livejournal.h"

#include "io/journalformat.h"
#include "io/safe_save.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>
#include <utility>

namespace cr::io {

using namespace journal;

namespace {

bool isAbsolute(const char* path) {
    return path != nullptr && path[0] == '/';
}

int syncFolder(const std::string& folder) {
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) {
        return errno;
    }
    const int result = ::fsync(dir) == 0 ? 0 : errno;
    ::close(dir);
    return result == EINVAL ? 0 : result; // a file system that cannot sync folders
}

std::string parentOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Makes folder and its missing parents with mode 0700; the folders it made,
// outermost first, or the errno of the failure.
int makeFolders(const std::string& folder, std::vector<std::string>& made) {
    std::size_t pos = 0;
    while (pos != std::string::npos) {
        pos = folder.find('/', pos + 1);
        const std::string level = folder.substr(0, pos);
        if (level.empty() || level.back() == '/') {
            continue;
        }
        if (::mkdir(level.c_str(), 0700) == 0) {
            made.push_back(level);
            continue;
        }
        const int error = errno;
        struct stat info {};
        if (error != EEXIST) {
            // A folder that exists answers EACCES on a parent the user may
            // not change; only a missing one is an error then.
            if (::stat(level.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
                continue;
            }
            return error;
        }
        if (::stat(level.c_str(), &info) != 0) {
            return errno;
        }
        if (!S_ISDIR(info.st_mode)) {
            return ENOTDIR;
        }
    }
    return 0;
}

std::string fileName(const std::tm& local, int copy) {
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", &local);
    std::string name(kPrefix);
    name += stamp;
    if (copy > 1) {
        name += '-' + std::to_string(copy);
    }
    name += kSuffix;
    return name;
}

std::string header(const std::tm& local) {
    char started[32];
    std::strftime(started, sizeof started, "%d.%m.%Y %H:%M:%S", &local);
    std::string text;
    for (std::string_view line : {kHeaderFirst, kHeaderSecond}) {
        text.append(line).append(kEnd);
    }
    text.append(kStartedPrefix).append(started).append(kEnd);
    text.append(kHeaderFourth).append(kEnd);
    return text;
}

std::string rateLine(std::string_view prefix, int steprate) {
    return std::string(prefix) + std::to_string(steprate);
}

bool validRate(int steprate) {
    return steprate >= 1 && steprate <= kJournalMaxSteprate;
}

} // namespace

std::string journalFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (isAbsolute(data)) {
        return std::string(data) + "/chancenraster";
    }
    const char* home = std::getenv("HOME");
    if (isAbsolute(home)) {
        std::string folder(home);
        if (folder.back() != '/') {
            folder += '/';
        }
        return folder + ".local/share/chancenraster";
    }
    return {};
}

LiveJournal::~LiveJournal() {
    close();
}

void LiveJournal::close() {
    if (m_fd >= 0) {
        ::close(m_fd); // the lock goes with it
        m_fd = -1;
    }
}

void LiveJournal::fail(std::string sentence) {
    if (!m_failed) {
        m_failed = true;
        m_problem = std::move(sentence);
    }
    close();
}

void LiveJournal::failWriting(int error) {
    fail("Das Journal " + m_path + " kann nicht geschrieben werden: " + reason(error));
}

std::optional<std::string> LiveJournal::takeProblem() {
    return std::exchange(m_problem, std::nullopt);
}

std::unique_ptr<LiveJournal> LiveJournal::create(const std::string& folder, std::time_t startedAt) {
    std::unique_ptr<LiveJournal> journal(new LiveJournal);
    if (folder.empty()) {
        journal->fail("Für das Journal ist kein Ordner bekannt: weder XDG_DATA_HOME noch HOME "
                      "nennt einen.");
        return journal;
    }
    const auto cannotCreate = [&](int error) {
        journal->fail("Das Journal kann im Ordner " + folder +
                      " nicht angelegt werden: " + reason(error));
        return std::move(journal);
    };
    std::vector<std::string> made;
    if (const int error = makeFolders(folder, made); error != 0) {
        return cannotCreate(error);
    }
    std::tm local{};
    ::tzset(); // localtime_r alone may keep a zone read long before
    localtime_r(&startedAt, &local);
    const std::string base = folder.back() == '/' ? folder : folder + '/';
    for (int copy = 1; copy <= kMaxNameTries && journal->m_fd < 0; ++copy) {
        const std::string path = base + fileName(local, copy);
        const int fd =
            ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0600);
        if (fd < 0 && errno == EEXIST) {
            continue;
        }
        if (fd < 0) {
            return cannotCreate(errno);
        }
        journal->m_fd = fd;
        journal->m_path = path;
    }
    if (journal->m_fd < 0) {
        return cannotCreate(EEXIST);
    }
    // A new file cannot be held by anyone else yet; the lock keeps it so.
    if (::flock(journal->m_fd, LOCK_EX | LOCK_NB) != 0) {
        journal->failWriting(errno);
        return journal;
    }
    // The new name on disk too, and the name of every folder made for it.
    int error = journal->append(header(local)) ? syncFolder(folder) : -1;
    for (auto it = made.rbegin(); error == 0 && it != made.rend(); ++it) {
        error = syncFolder(parentOf(*it));
    }
    if (error != 0) {
        // A journal without its header on disk holds nothing worth keeping.
        journal->failWriting(error);
        ::unlink(journal->m_path.c_str());
    }
    return journal;
}

std::unique_ptr<LiveJournal> LiveJournal::reopen(const std::string& path) {
    std::unique_ptr<LiveJournal> journal(new LiveJournal);
    journal->m_path = path;
    const int fd = ::open(path.c_str(), O_RDWR | O_APPEND | O_CLOEXEC);
    if (fd < 0) {
        journal->fail("Das Journal " + path + " kann nicht geöffnet werden: " + reason(errno));
        return journal;
    }
    journal->m_fd = fd;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK) {
            journal->fail("Das Journal " + path +
                          " ist schon in einem anderen laufenden Programm geöffnet.");
        } else {
            journal->failWriting(errno);
        }
        return journal;
    }
    const auto bytes = readAll(fd);
    if (!bytes) {
        journal->fail("Das Journal " + path + " kann nicht gelesen werden: " + reason(errno));
        return journal;
    }
    const auto parsed = parse(*bytes);
    if (!parsed) {
        journal->fail("Die Datei " + path + " ist kein Journal einer Live-Eingabe.");
        return journal;
    }
    journal->m_size = static_cast<long long>(bytes->size());
    journal->m_numberStart = parsed->sectionNumbers;
    if (parsed->complete != journal->m_size) {
        // The torn line of a write the power cut short.
        if (::ftruncate(fd, parsed->complete) != 0 || ::fsync(fd) != 0) {
            journal->failWriting(errno);
            return journal;
        }
        journal->m_size = parsed->complete;
    }
    return journal;
}

bool LiveJournal::append(std::string_view line) {
    if (m_fd < 0) {
        return false;
    }
    std::string bytes(line);
    if (bytes.size() < kEnd.size() || bytes.substr(bytes.size() - kEnd.size()) != kEnd) {
        bytes.append(kEnd);
    }
    if (!writeAll(m_fd, bytes)) {
        const int error = errno;
        // Leave no torn line behind where that still works; readers skip one anyway.
        const bool cut = ::ftruncate(m_fd, m_size) == 0;
        static_cast<void>(cut);
        failWriting(error);
        return false;
    }
    m_size += static_cast<long long>(bytes.size());
    if (::fdatasync(m_fd) != 0) {
        failWriting(errno);
        return false;
    }
    return true;
}

bool LiveJournal::start(int steprate) {
    if (!validRate(steprate) || !append(rateLine(kStart, steprate))) {
        return false;
    }
    m_numberStart.clear();
    return true;
}

bool LiveJournal::reset(int steprate) {
    if (!validRate(steprate) || !append(rateLine(kReset, steprate))) {
        return false;
    }
    m_numberStart.clear();
    return true;
}

bool LiveJournal::number(int n) {
    if (n < 0 || n > 36) {
        return false;
    }
    const long long begin = m_size;
    if (!append(std::to_string(n))) {
        return false;
    }
    m_numberStart.push_back(begin);
    return true;
}

bool LiveJournal::undo() {
    if (m_fd < 0 || m_numberStart.empty()) {
        return false;
    }
    const long long begin = m_numberStart.back();
    if (::ftruncate(m_fd, begin) != 0 || ::fsync(m_fd) != 0) {
        failWriting(errno);
        return false;
    }
    m_numberStart.pop_back();
    m_size = begin;
    return true;
}

bool LiveJournal::exported() {
    if (!append(kExport)) {
        return false;
    }
    m_numberStart.clear();
    return true;
}

bool LiveJournal::saved() {
    return append(kSaved);
}

bool LiveJournal::finish() {
    const bool written = append(kFinished);
    close();
    return written;
}

} // namespace cr::io
