// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "io/livejournal.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The lines of a live journal as written and read back; shared by the
// writer (livejournal.cpp) and the reader (journalread.cpp).
namespace cr::io::journal {

inline constexpr std::string_view kEnd = "\r\n";
inline constexpr std::string_view kHeaderFirst = "Spielbank Chancenraster";
inline constexpr std::string_view kHeaderSecond = "Live-Eingabe";
inline constexpr std::string_view kStartedPrefix = "begonnen am ";
inline constexpr std::string_view kHeaderFourth = "Journal";
inline constexpr std::string_view kStart = "--- Start ";
inline constexpr std::string_view kReset = "--- Reset ";
inline constexpr std::string_view kExport = "--- Export";
inline constexpr std::string_view kSaved = "--- Gespeichert";
inline constexpr std::string_view kFinished = "--- Ende";
inline constexpr std::string_view kPrefix = "live-";
inline constexpr std::string_view kSuffix = ".txt";
// Far beyond any evening at a table; a larger file is not read into memory.
inline constexpr long long kLargestJournal = 256LL << 20;
inline constexpr int kMaxNameTries = 1000;

// The system's reason in German where the user can act on it.
std::string reason(int error);

// A journal's text taken apart: its header's start time, its events, and
// where the complete lines end and the last section's numbers begin.
struct Parsed {
    std::string startedText;
    std::vector<JournalEvent> events;
    long long complete = 0;                // the bytes up to the end of the last whole line
    std::vector<long long> sectionNumbers; // where the last section's number lines begin
};
// Nothing when the bytes are no journal.
std::optional<Parsed> parse(std::string_view bytes);

// The whole file behind fd; nothing when it cannot be read or is too large
// to be a journal. errno tells why.
std::optional<std::string> readAll(int fd);

} // namespace cr::io::journal
