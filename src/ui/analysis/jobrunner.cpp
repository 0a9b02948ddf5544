// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/analysis/jobrunner.h"

#include "analysis/progresstext.h"

#include <QLocale>
#include <QTimer>
#include <new>

namespace cr::ui {

namespace {

constexpr int kPollMs = 50; // a stop is heard within a block, and shown within this

} // namespace

JobRunner::JobRunner(QObject* parent) : QObject(parent), m_timer(new QTimer(this)) {
    m_timer->setInterval(kPollMs);
    connect(m_timer, &QTimer::timeout, this, &JobRunner::poll);
}

JobRunner::~JobRunner() {
    if (m_thread.joinable()) {
        m_progress->stop = true;
        m_thread.join();
    }
}

void JobRunner::start(Work work) {
    if (busy()) {
        return;
    }
    m_progress = std::make_shared<analysis::JobProgress>();
    m_done = false;
    m_outOfMemory = false;
    m_clock.start();
    m_thread = std::thread([this, progress = m_progress, work = std::move(work)] {
        try {
            work(*progress);
        } catch (const std::bad_alloc&) { // runs too long for the memory: nothing to show
            m_outOfMemory = true;
        }
        m_done = true;
    });
    m_timer->start();
}

void JobRunner::cancel() {
    if (m_progress) {
        m_progress->stop = true;
    }
}

void JobRunner::waitUntilDone() {
    if (m_thread.joinable()) {
        m_thread.join();
        poll();
    }
}

void JobRunner::poll() {
    const bool over = m_done; // first, so that an ended work's counts are its last
    const long long done = m_progress->spinsDone();
    const long long total = m_progress->spinsTotal();
    const QLocale locale;
    const std::string text =
        analysis::progressText(done, total, over, static_cast<double>(m_clock.elapsed()) / 1000.0,
                               [&locale](long long n) { return locale.toString(n).toStdString(); });
    emit progressed(done, total, QString::fromStdString(text));
    if (!over) {
        return;
    }
    m_timer->stop();
    if (m_thread.joinable()) {
        m_thread.join();
    }
    emit ended(m_outOfMemory);
}

} // namespace cr::ui
