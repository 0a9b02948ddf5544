// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/statistics.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QSpinBox;

namespace cr::ui {

// For a chosen step and counter of an evaluation: how often the counter took
// each value over the runs beside the count the exact Binomial law expects,
// classes pooled to an expected count of five, with chi-square and p-value.
class HistogramView final : public QWidget {
    Q_OBJECT
public:
    explicit HistogramView(QWidget* parent);

    // stats must outlive the view's use of it, or be replaced first.
    void setStatistics(const analyse::RunStatistics* stats, int steprate);
    void choose(int step, int counter);
    QString text() const;

private:
    void update();

    const analyse::RunStatistics* m_stats = nullptr;
    int m_steprate = 0;
    QSpinBox* m_step = nullptr;
    QComboBox* m_counter = nullptr;
    QLabel* m_text = nullptr;
};

} // namespace cr::ui
