// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/run.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QWidget;

namespace cr::io {
class LiveJournal;
}

namespace cr::ui {

// Keeps the journal of a live session: every number, Start, Reset, Export
// and "Zurück" goes to its file as it happens, so that nothing entered is
// lost when the program is killed. A journal that cannot be written is
// reported once, and the live run goes on without it.
class JournalKeeper final : public LiveObserver {
public:
    JournalKeeper(QWidget* window, const RunControl& run);
    ~JournalKeeper() override;

    void liveStarted(int steprate) override;
    void liveNumber(int number) override;
    void liveUndone() override;
    void liveReset(int steprate) override;
    void liveExported() override;
    void liveEnded() override;

    // The live run was saved as a permanence: nothing is lost any more.
    void saved();
    // The window was closed on purpose: the session is not offered again.
    void finish();
    // At start: the newest session that was never finished, offered for
    // resuming. Its events when the user says Yes (the journal then goes on
    // in the same file); nothing otherwise, and a declined session is ended.
    std::optional<std::vector<LiveEvent>> offerUnfinished();
    // The journal's file; empty while none is open or it cannot be written.
    QString path() const;

private:
    void report();
    void write(const std::function<void(io::LiveJournal&)>& event);

    QWidget* m_window;
    const RunControl& m_run;
    std::unique_ptr<io::LiveJournal> m_journal;
};

} // namespace cr::ui
