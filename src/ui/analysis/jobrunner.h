// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/job.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

class QTimer;

namespace cr::ui {

// Long work on a thread of its own, so the window stays usable: a timer of
// the window's thread follows its progress and reports it, and its end, as
// signals. The work counts in a JobProgress and returns soon after its stop
// is set; destroying the runner sets it and waits for the thread.
class JobRunner : public QObject {
    Q_OBJECT
public:
    // Runs on the worker thread; the caller keeps what it computes.
    using Work = std::function<void(analysis::JobProgress& progress)>;

    explicit JobRunner(QObject* parent = nullptr);
    ~JobRunner() override;

    // Ignored while a work runs.
    void start(Work work);
    void cancel();
    bool busy() const { return m_thread.joinable(); }
    // A cancel has been asked of the work running or last run.
    bool stopRequested() const { return m_progress && m_progress->stop; }
    // Waits for the work to end and reports its end at once.
    void waitUntilDone();

signals:
    // Spins done of the total (0 while unknown), and the text that says so.
    void progressed(long long done, long long total, const QString& text);
    // The work has returned, or ran out of memory; its thread is gone.
    void ended(bool outOfMemory);

private:
    void poll();

    QTimer* m_timer = nullptr;
    QElapsedTimer m_clock; // since the start, for the time still needed
    std::shared_ptr<analysis::JobProgress> m_progress;
    std::thread m_thread;
    std::atomic<bool> m_done{false};
    bool m_outOfMemory = false; // written by the worker before m_done
};

} // namespace cr::ui
