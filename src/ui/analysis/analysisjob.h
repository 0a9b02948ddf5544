// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/job.h"
#include "ui/analysis/jobrunner.h"

#include <QString>
#include <memory>
#include <vector>

namespace cr::ui {

// An evaluation of many runs (analysis::runJob) on the job runner. At its
// end the refused files come first, then either the result or why there is
// none: the runs of a stopped job are incomplete and never shown.
class AnalysisJob final : public JobRunner {
    Q_OBJECT
public:
    explicit AnalysisJob(QObject* parent = nullptr);

    // Ignored while a job runs.
    void run(analysis::JobInput input);

signals:
    void refused(const std::vector<analysis::FileRefusal>& files);
    void resultReady(const std::shared_ptr<const analysis::JobResult>& result, int steprate);
    // "Abgebrochen", or that the memory did not suffice.
    void stopped(const QString& text);

private:
    void deliver(bool outOfMemory);

    std::shared_ptr<analysis::JobResult> m_pending; // the worker's until it ends
    int m_steprate = 0;                             // of the job running or last run
};

} // namespace cr::ui
