// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/journalformat.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace cr::io::journal {

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

namespace {

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

} // namespace

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

} // namespace cr::io::journal
