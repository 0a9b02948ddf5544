// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/system.h"

#include <QRectF>
#include <QWidget>
#include <vector>

class QPainter;

namespace cr::ui {

// One session of a system test: the balance after every spin against the
// expected result and its ±2σ band, and below it the stakes of each spin as
// bars on their own scale, so that a doubling stands out.
class BalanceChart final : public QWidget {
    Q_OBJECT
public:
    explicit BalanceChart(QWidget* parent = nullptr);
    void setSession(const analysis::SessionTrace& trace);
    QSize sizeHint() const override { return {640, 320}; }
    // The row above the plots that names every colour.
    QRectF legendRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void drawLegend(QPainter& p) const;

    std::vector<double> m_balance;
    std::vector<double> m_expected;
    std::vector<double> m_sd;
    std::vector<double> m_stakes;
};

// The results of many sessions as a histogram of equal classes.
class SessionHistogram final : public QWidget {
    Q_OBJECT
public:
    explicit SessionHistogram(QWidget* parent = nullptr);
    void setResults(const std::vector<double>& results);
    QSize sizeHint() const override { return {320, 320}; }
    // Lower edge, upper edge and count of every class.
    struct Class {
        double from = 0;
        double to = 0;
        long long count = 0;
    };
    const std::vector<Class>& classes() const { return m_classes; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<Class> m_classes;
};

} // namespace cr::ui
