// SPDX-License-Identifier: GPL-3.0-or-later
// Reading journals back: one file's events, and the unfinished ones of a
// folder that the program offers to resume.
#include "io/journalformat.h"

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <tuple>
#include <unistd.h>
#include <utility>

namespace cr::io {

using namespace journal;

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
