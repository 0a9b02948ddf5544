// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/statistics.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QSpinBox;

namespace cr::ui {

class HistogramChart;

// For a chosen step and counter of an evaluation: how often the counter took
// each value over the runs beside the count the exact Binomial law expects,
// classes pooled to an expected count of five, as a chart with chi-square
// and p-value below it.
class HistogramView final : public QWidget {
    Q_OBJECT
public:
    explicit HistogramView(QWidget* parent);

    // stats must outlive the view's use of it, or be replaced first.
    void setStatistics(const analysis::RunStatistics* stats, int steprate);
    void choose(int step, int counter);
    // What the chart shows as a table, one class a line, and the fit's line.
    QString text() const { return m_text; }
    HistogramChart& chart() const { return *m_chart; }

private:
    void update();

    const analysis::RunStatistics* m_stats = nullptr;
    int m_steprate = 0;
    QSpinBox* m_step = nullptr;
    QComboBox* m_counter = nullptr;
    HistogramChart* m_chart = nullptr;
    QLabel* m_fit = nullptr;
    QString m_text;
};

} // namespace cr::ui
