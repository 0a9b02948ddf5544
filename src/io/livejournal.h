// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cr::io {

// The journal of a live entry: every number typed at the table goes to a
// file at once, synced before the call returns, so that a killed program or a
// power cut loses no entered spin and the next start can offer to resume.
//
// The file has the import's layout, so that opening it reads its numbers as a
// permanence: lines end with CR LF, four header lines (the first beginning
// with "Spielbank"), then one line per event. A number line is the number in
// decimal; the markers begin with "-", which the import passes over:
//
//   Spielbank Chancenraster
//   Live-Eingabe
//   begonnen am 07.12.2026 19:10:05
//   Journal
//   --- Start 37        a live run started with step rate 37
//   17
//   --- Reset 37        Reset with step rate 37
//   --- Export
//   --- Gespeichert     the run was saved as a permanence
//   --- Ende            the session was finished
//
// A section is what follows a Start, Reset or Export; "Zurück" takes back the
// last number of the current section by cutting the file where its line
// began, together with everything after it.

// The folder of the journals: $XDG_DATA_HOME/chancenraster when that is set
// to an absolute path, else $HOME/.local/share/chancenraster; "" when neither
// variable gives one.
std::string journalFolder();

enum class JournalEventKind { Start, Number, Reset, Export, Saved, End };
struct JournalEvent {
    JournalEventKind kind = JournalEventKind::Number;
    int value = 0; // Start, Reset: the step rate 1..9999; Number: 0..36
    friend bool operator==(const JournalEvent&, const JournalEvent&) = default;
};

inline constexpr int kJournalMaxSteprate = 9999;

// One open journal, locked (flock, exclusive) for as long as the object
// lives, so that no second instance offers or writes it; the lock goes with
// the process. Each event is one line written with one write and synced
// before the call returns.
//
// The first failure (creating, writing, syncing, cutting) is kept as a German
// sentence naming the file and the system's reason; from then on every call
// does nothing and returns false, so that the caller reports once and the
// live run goes on without the journal. A value out of range (a number
// outside 0..36, a step rate outside 1..kJournalMaxSteprate) is refused with
// false and changes nothing, without failing the journal.
class LiveJournal {
public:
    // Creates folder with its missing parents (mode 0700) and in it a new
    // journal named by startedAt in local time, live-2026-12-07_19-10-05.txt
    // (-2, -3, ... behind it when the name is taken; nothing is ever
    // overwritten), and writes the header. Never null: on failure the journal
    // is failed() with its problem set.
    static std::unique_ptr<LiveJournal> create(const std::string& folder, std::time_t startedAt);
    // Opens an existing journal for appending (to resume it, or to end it
    // when the user declines): a torn last line is cut away first, and the
    // number lines of its last section can be taken back. Never null; failed()
    // when the file cannot be opened, is locked by another journal or is none.
    static std::unique_ptr<LiveJournal> reopen(const std::string& path);

    ~LiveJournal();
    LiveJournal(const LiveJournal&) = delete;
    LiveJournal& operator=(const LiveJournal&) = delete;

    bool start(int steprate);
    bool number(int n);
    // Takes back the last number of the current section, cutting the file
    // where its line began (a "--- Gespeichert" behind it goes too). False
    // and nothing changed when the section holds no number.
    bool undo();
    bool reset(int steprate);
    bool exported();
    bool saved();
    // Writes "--- Ende" and closes the file; later calls return false.
    bool finish();

    // The first failure, handed out once; nothing afterwards or without one.
    std::optional<std::string> takeProblem();
    bool failed() const { return m_failed; }
    // The journal's file ("" when create failed before it had a name).
    const std::string& path() const { return m_path; }

private:
    LiveJournal() = default;
    bool append(std::string_view line);
    void fail(std::string sentence);
    void failWriting(int error);
    void close();

    int m_fd = -1;
    std::string m_path;
    long long m_size = 0;                 // the bytes of the file
    std::vector<long long> m_numberStart; // where each number line of the section begins
    bool m_failed = false;
    std::optional<std::string> m_problem;
};

// A journal the user may resume.
struct UnfinishedJournal {
    std::string path;
    std::string startedText; // "07.12.2026 19:10:05", from the header
    std::vector<JournalEvent> events;
    long long numbers = 0; // the number lines of the whole journal, every section
};

// The journals in folder whose last event is neither End nor Saved and that
// no open journal holds, newest (by name) first. A file that is not a journal
// (another name, another header, a line that is no event) is passed over and
// never changed. A torn last line (no CR LF at its end: the power went in the
// middle of a write) is ignored; every complete line counts.
std::vector<UnfinishedJournal> unfinishedJournals(const std::string& folder);

// The events of one journal file, its torn last line ignored; nothing when
// the file cannot be read or is not a journal.
std::optional<std::vector<JournalEvent>> readJournal(const std::string& path);

} // namespace cr::io
