// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/livejournal.h"

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

namespace {

constexpr std::string_view kEnd = "\r\n";
constexpr std::string_view kHeaderFirst = "Spielbank Chancenraster";
constexpr std::string_view kHeaderSecond = "Live-Eingabe";
constexpr std::string_view kStartedPrefix = "begonnen am ";
constexpr std::string_view kHeaderFourth = "Journal";
constexpr std::string_view kStart = "--- Start ";
constexpr std::string_view kReset = "--- Reset ";
constexpr std::string_view kExport = "--- Export";
constexpr std::string_view kSaved = "--- Gespeichert";
constexpr std::string_view kFinished = "--- Ende";
constexpr std::string_view kPrefix = "live-";
constexpr std::string_view kSuffix = ".txt";
// Far beyond any evening at a table; a larger file is not read into memory.
constexpr long long kLargestJournal = 256LL << 20;
constexpr int kMaxNameTries = 1000;

// The system's reason in German where the user can act on it.
std::string reason(int error) {
    switch (error) {
    case ENOSPC:
        return "Auf dem Gerät ist kein Speicherplatz mehr verfügbar.";
    case EDQUOT:
        return "Der zugeteilte Speicherplatz ist aufgebraucht.";
    case EROFS:
        return "Das Dateisystem ist schreibgeschützt.";
    case EACCES:
    case EPERM:
        return "Dafür fehlt die Berechtigung.";
    case ENOTDIR:
        return "Ein Teil des Pfads ist kein Ordner.";
    default:
        return std::string(std::strerror(error)) + '.';
    }
}

bool isAbsolute(const char* path) {
    return path != nullptr && path[0] == '/';
}

bool allDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A decimal number as the journal writes it: no sign, no leading zero.
std::optional<int> decimal(std::string_view text, int highest) {
    if (!allDigits(text) || text.size() > 4 || (text.size() > 1 && text.front() == '0')) {
        return std::nullopt;
    }
    int value = 0;
    for (char c : text) {
        value = value * 10 + (c - '0');
    }
    if (value > highest) {
        return std::nullopt;
    }
    return value;
}

std::optional<JournalEvent> parseEvent(std::string_view line) {
    using Kind = JournalEventKind;
    if (line == kExport) {
        return JournalEvent{Kind::Export, 0};
    }
    if (line == kSaved) {
        return JournalEvent{Kind::Saved, 0};
    }
    if (line == kFinished) {
        return JournalEvent{Kind::End, 0};
    }
    for (const auto& [prefix, kind] : {std::pair{kStart, Kind::Start}, {kReset, Kind::Reset}}) {
        if (line.substr(0, prefix.size()) == prefix) {
            const auto rate = decimal(line.substr(prefix.size()), kJournalMaxSteprate);
            if (!rate || *rate < 1) {
                return std::nullopt;
            }
            return JournalEvent{kind, *rate};
        }
    }
    if (line.size() > 2) {
        return std::nullopt;
    }
    const auto n = decimal(line, 36);
    if (!n) {
        return std::nullopt;
    }
    return JournalEvent{Kind::Number, *n};
}

// "07.12.2026 19:10:05"
bool isStartedText(std::string_view text) {
    constexpr std::string_view shape = "dd.dd.dddd dd:dd:dd";
    if (text.size() != shape.size()) {
        return false;
    }
    for (std::size_t i = 0; i < shape.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (shape[i] == 'd' ? !digit : text[i] != shape[i]) {
            return false;
        }
    }
    return true;
}

struct Parsed {
    std::string startedText;
    std::vector<JournalEvent> events;
    long long complete = 0;                // the bytes up to the end of the last whole line
    std::vector<long long> sectionNumbers; // where the last section's number lines begin
};

std::optional<Parsed> parse(std::string_view bytes) {
    Parsed parsed;
    std::size_t pos = 0;
    int lineIndex = 0;
    while (true) {
        const std::size_t newline = bytes.find('\n', pos);
        if (newline == std::string_view::npos) {
            break; // what is left is a torn line, or nothing
        }
        if (newline == pos || bytes[newline - 1] != '\r') {
            return std::nullopt;
        }
        const std::string_view line = bytes.substr(pos, newline - 1 - pos);
        if (line.find('\r') != std::string_view::npos) {
            return std::nullopt;
        }
        switch (lineIndex) {
        case 0:
            if (line != kHeaderFirst) {
                return std::nullopt;
            }
            break;
        case 1:
            if (line != kHeaderSecond) {
                return std::nullopt;
            }
            break;
        case 2:
            if (line.substr(0, kStartedPrefix.size()) != kStartedPrefix ||
                !isStartedText(line.substr(kStartedPrefix.size()))) {
                return std::nullopt;
            }
            parsed.startedText = std::string(line.substr(kStartedPrefix.size()));
            break;
        case 3:
            if (line != kHeaderFourth) {
                return std::nullopt;
            }
            break;
        default: {
            const auto event = parseEvent(line);
            if (!event) {
                return std::nullopt;
            }
            switch (event->kind) {
            case JournalEventKind::Number:
                parsed.sectionNumbers.push_back(static_cast<long long>(pos));
                break;
            case JournalEventKind::Start:
            case JournalEventKind::Reset:
            case JournalEventKind::Export:
                parsed.sectionNumbers.clear();
                break;
            case JournalEventKind::Saved:
            case JournalEventKind::End:
                break;
            }
            parsed.events.push_back(*event);
        }
        }
        ++lineIndex;
        pos = newline + 1;
    }
    if (lineIndex < 4) {
        return std::nullopt; // the header itself is incomplete: nothing was entered
    }
    parsed.complete = static_cast<long long>(pos);
    return parsed;
}

// The whole file behind fd; nothing when it cannot be read or is too large
// to be a journal. errno tells why.
std::optional<std::string> readAll(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return std::nullopt;
    }
    if (!S_ISREG(info.st_mode) || info.st_size > kLargestJournal) {
        errno = EINVAL;
        return std::nullopt;
    }
    std::string bytes;
    char block[65536];
    while (true) {
        const ssize_t got = ::read(fd, block, sizeof block);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return std::nullopt;
        }
        if (got == 0) {
            return bytes;
        }
        if (bytes.size() + static_cast<std::size_t>(got) >
            static_cast<std::size_t>(kLargestJournal)) {
            errno = EINVAL;
            return std::nullopt;
        }
        bytes.append(block, static_cast<std::size_t>(got));
    }
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

std::optional<std::vector<JournalEvent>> readJournal(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    const auto bytes = readAll(fd);
    ::close(fd);
    if (!bytes) {
        return std::nullopt;
    }
    auto parsed = parse(*bytes);
    if (!parsed) {
        return std::nullopt;
    }
    return std::move(parsed->events);
}

std::vector<UnfinishedJournal> unfinishedJournals(const std::string& folder) {
    std::vector<UnfinishedJournal> found;
    if (folder.empty()) {
        return found;
    }
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string_view name(entry->d_name);
            if (name.size() > kPrefix.size() + kSuffix.size() &&
                name.substr(0, kPrefix.size()) == kPrefix &&
                name.substr(name.size() - kSuffix.size()) == kSuffix) {
                names.emplace_back(name);
            }
        }
        ::closedir(dir);
    }
    // Newest first: the names hold the start time from the year down, and a
    // later journal of the same second is longer (-2, -3, ..., -10).
    constexpr std::size_t stamp = kPrefix.size() + std::string_view("2026-12-07_19-10-05").size();
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return std::forward_as_tuple(a.substr(0, stamp), a.size(), a) >
               std::forward_as_tuple(b.substr(0, stamp), b.size(), b);
    });
    const std::string base = folder.back() == '/' ? folder : folder + '/';
    for (const std::string& name : names) {
        const std::string path = base + name;
        const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        // A shared probe: it conflicts with an open journal's lock, not with another probe.
        if (::flock(fd, LOCK_SH | LOCK_NB) != 0) {
            ::close(fd);
            continue;
        }
        const auto bytes = readAll(fd);
        ::close(fd);
        if (!bytes) {
            continue;
        }
        auto parsed = parse(*bytes);
        if (!parsed) {
            continue;
        }
        if (!parsed->events.empty() && (parsed->events.back().kind == JournalEventKind::End ||
                                        parsed->events.back().kind == JournalEventKind::Saved)) {
            continue;
        }
        UnfinishedJournal journal;
        journal.path = path;
        journal.startedText = std::move(parsed->startedText);
        journal.numbers =
            std::count_if(parsed->events.begin(), parsed->events.end(),
                          [](const JournalEvent& e) { return e.kind == JournalEventKind::Number; });
        journal.events = std::move(parsed->events);
        found.push_back(std::move(journal));
    }
    return found;
}

} // namespace cr::io
