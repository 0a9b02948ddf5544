// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/live/journalkeeper.h"

#include "io/livejournal.h"

#include <QLocale>
#include <QMessageBox>
#include <ctime>

namespace cr::ui {

namespace {

const QString kTitle = QStringLiteral("Live-Eingabe");

QString fromStd(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

JournalKeeper::JournalKeeper(QWidget* window, const RunControl& run)
    : m_window(window), m_run(run) {}

JournalKeeper::~JournalKeeper() = default;

void JournalKeeper::liveStarted(int steprate) {
    if (!m_journal) {
        m_journal = io::LiveJournal::create(io::journalFolder(), std::time(nullptr));
        // A continued permanence: its numbers come before the first Start.
        for (const int n : m_run.liveNumbers()) {
            m_journal->number(n);
        }
    }
    m_journal->start(steprate);
    report();
}

void JournalKeeper::liveNumber(int number) {
    write([&](io::LiveJournal& journal) { journal.number(number); });
}

void JournalKeeper::liveUndone() {
    write([&](io::LiveJournal& journal) { journal.undo(); });
}

void JournalKeeper::liveReset(int steprate) {
    write([&](io::LiveJournal& journal) { journal.reset(steprate); });
}

void JournalKeeper::liveExported() {
    write([&](io::LiveJournal& journal) { journal.exported(); });
}

void JournalKeeper::liveEnded() {
    finish();
}

void JournalKeeper::saved() {
    write([&](io::LiveJournal& journal) { journal.saved(); });
}

// One event to the open journal, and its failure said once.
void JournalKeeper::write(const std::function<void(io::LiveJournal&)>& event) {
    if (m_journal) {
        event(*m_journal);
        report();
    }
}

void JournalKeeper::finish() {
    if (m_journal) {
        m_journal->finish();
        m_journal.reset();
    }
}

QString JournalKeeper::path() const {
    return m_journal && !m_journal->failed() ? fromStd(m_journal->path()) : QString();
}

// The first failure of the journal, once: the user knows that from here on a
// crash would lose entries, and goes on.
void JournalKeeper::report() {
    if (!m_journal) {
        return;
    }
    // The journal hands its first failure out once, and nothing after it.
    if (const std::optional<std::string> problem = m_journal->takeProblem()) {
        QMessageBox::warning(m_window, kTitle,
                             fromStd(*problem) +
                                 QStringLiteral("\n\nDie Live-Eingabe geht weiter, aber ihre "
                                                "Zahlen werden nicht mehr gesichert: Bitte den "
                                                "Lauf mit \u201eLauf als Permanenz speichern "
                                                "\u2026\u201c sichern."));
    }
}

std::optional<std::vector<LiveEvent>> JournalKeeper::offerUnfinished() {
    const std::string folder = io::journalFolder();
    if (folder.empty()) {
        return std::nullopt;
    }
    for (const io::UnfinishedJournal& journal : io::unfinishedJournals(folder)) {
        if (journal.numbers == 0) {
            io::LiveJournal::reopen(journal.path)->finish(); // nothing in it to lose
            continue;
        }
        const QString question =
            QStringLiteral(
                "Eine Live-Eingabe vom %1 mit %2 Würfen wurde nicht beendet.\n\n"
                "Jetzt fortsetzen?\n\n(Bei Nein wird sie nicht mehr angeboten; ihre Zahlen "
                "bleiben in der Datei %3.)")
                .arg(fromStd(journal.startedText), QLocale().toString(journal.numbers),
                     fromStd(journal.path));
        if (QMessageBox::question(m_window, kTitle, question, QMessageBox::Yes | QMessageBox::No,
                                  QMessageBox::Yes) != QMessageBox::Yes) {
            io::LiveJournal::reopen(journal.path)->finish();
            return std::nullopt;
        }
        m_journal = io::LiveJournal::reopen(journal.path);
        report();
        std::vector<LiveEvent> events;
        for (const io::JournalEvent& e : journal.events) {
            using Kind = io::JournalEventKind;
            switch (e.kind) {
            case Kind::Start:
                events.push_back({LiveEvent::Kind::Start, e.value});
                break;
            case Kind::Number:
                events.push_back({LiveEvent::Kind::Number, e.value});
                break;
            case Kind::Reset:
                events.push_back({LiveEvent::Kind::Reset, e.value});
                break;
            case Kind::Export:
                events.push_back({LiveEvent::Kind::Export, 0});
                break;
            case Kind::Saved:
            case Kind::End:
                break;
            }
        }
        return events;
    }
    return std::nullopt;
}

} // namespace cr::ui
