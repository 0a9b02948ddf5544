// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/series.h"
#include "core/chartlayout.h"

#include <QColor>
#include <QWidget>
#include <array>
#include <cmath>

namespace cr::ui {

// The single-zero wheel from the zero on, as the pockets follow each other.
inline constexpr std::array<int, analysis::kNumbers> kWheelOrder = {
    0, 32, 15, 19, 4, 21, 2,  25, 17, 34, 6,  27, 13, 36, 11, 30, 8, 23, 10,
    5, 24, 16, 33, 1, 20, 14, 31, 9,  22, 18, 29, 7,  28, 12, 35, 3, 26};

// The names of the pairs' sides: [pair][side], side 0 Rot, Manque, Gerade.
QString pairName(int pair);
QString sideName(int pair, int side);
QColor sideColour(int pair, int side);

// Base class of the two charts: a plot with a legend row above, a value axis
// on the left and labels below; the tool tip is whatever toolTipAt says.
class SeriesChartBase : public QWidget {
    Q_OBJECT
public:
    explicit SeriesChartBase(QWidget* parent);
    QRectF plotArea() const;
    const ValueAxis& axis() const { return m_axis; }
    virtual QString toolTipAt(const QPointF& pos) const = 0;
    QSize sizeHint() const override { return {460, 230}; }
    QSize minimumSizeHint() const override { return {260, 150}; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    double rowOf(double value) const; // the height of VALUE in the plot
    // Slot I of COUNT across the plot: its left edge and width.
    QRectF slot(int i, int count) const;
    virtual void paintPlot(QPainter& p, const QRectF& area) const = 0;
    virtual QString axisTitle() const = 0;
    virtual QString emptyText() const = 0;
    virtual bool empty() const = 0;
    void drawSlotLabels(QPainter& p, const QRectF& area, const QStringList& labels,
                        const QString& title, bool countFromOne) const;
    // The legend row: swatches with names, right-aligned; where each lies.
    struct LegendEntry {
        QColor colour;
        QString name;
        QString tip;
        bool line = false; // a line instead of a filled swatch
    };
    std::vector<LegendEntry> m_legend;
    QRectF legendBox(std::size_t n) const;
    ValueAxis m_axis;
};

// The series of one pair by length: per length the count of each side shown
// (one or both) beside its exact expectation (a dark mark), on a logarithmic
// count axis. A length no series had gets no bar.
class SeriesLengthChart final : public SeriesChartBase {
    Q_OBJECT
public:
    explicit SeriesLengthChart(QWidget* parent = nullptr);
    // SIDE 0 or 1: that side alone; 2: both.
    void setPair(const analysis::PairSeries& pair, int pairIndex, int side);
    // The lengths shown: 1 up to the longest series of the sides shown.
    int lengths() const { return m_lengths; }
    // Where the bar of LENGTH for SIDE lies (empty when it is not shown).
    QRectF barOf(long long length, int side) const;
    QString toolTipAt(const QPointF& pos) const override;

private:
    void paintPlot(QPainter& p, const QRectF& area) const override;
    QString axisTitle() const override;
    QString emptyText() const override;
    bool empty() const override { return m_lengths == 0; }
    std::vector<int> shownSides() const;
    long long count(int side, long long length) const;

    analysis::PairSeries m_pair;
    int m_pairIndex = 0;
    int m_side = 2;
    int m_lengths = 0;
};

// The 37 numbers as bars in wheel order, each in its colour, with the line
// n/37 and its band of ±2σ; a bar beyond ±3σ has an outline and a mark.
class NumberBarsChart final : public SeriesChartBase {
    Q_OBJECT
public:
    explicit NumberBarsChart(QWidget* parent = nullptr);
    void setCounts(const analysis::NumberCounts& counts);
    // How far NUMBER's count lies from n/37, in σ (0 without spins).
    double deviation(int number) const;
    bool standsOut(int number) const { return std::abs(deviation(number)) > 3; }
    QRectF barOf(int number) const;
    QString toolTipAt(const QPointF& pos) const override;

private:
    void paintPlot(QPainter& p, const QRectF& area) const override;
    QString axisTitle() const override;
    QString emptyText() const override;
    bool empty() const override { return m_counts.spins == 0; }

    analysis::NumberCounts m_counts;
};

} // namespace cr::ui
