// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/analysis/analysisjob.h"

#include "analysis/progresstext.h"

namespace cr::ui {

AnalysisJob::AnalysisJob(QObject* parent) : JobRunner(parent) {
    connect(this, &JobRunner::ended, this, &AnalysisJob::deliver);
}

void AnalysisJob::run(analysis::JobInput input) {
    if (busy()) {
        return;
    }
    m_steprate = input.steprate;
    auto pending = std::make_shared<analysis::JobResult>();
    m_pending = pending;
    start([pending, input = std::move(input)](analysis::JobProgress& progress) {
        *pending = analysis::runJob(input, progress);
    });
}

void AnalysisJob::deliver(bool outOfMemory) {
    std::shared_ptr<analysis::JobResult> result = std::move(m_pending);
    if (outOfMemory) {
        emit refused({});
        emit stopped(QString::fromUtf8(analysis::kOutOfMemoryText));
        return;
    }
    emit refused(result->refused);
    if (result->stopped) {
        emit stopped(QString::fromUtf8(analysis::kStoppedText));
        return;
    }
    emit resultReady(result, m_steprate);
}

} // namespace cr::ui
