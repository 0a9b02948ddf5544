// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/histogramlayout.h"

#include <QWidget>
#include <vector>

namespace cr::ui {

// The histogram of one counter as bars: per class the observed count beside
// the count the exact law expects, on a value axis from zero; pointing at a
// class tells both counts. analysis::layoutHistogram places everything, this
// widget only paints.
class HistogramChart final : public QWidget {
    Q_OBJECT
public:
    explicit HistogramChart(QWidget* parent = nullptr);

    // COUNTER picks the observed bars' colour (the counter's hue in "Verlauf").
    void setClasses(std::vector<analysis::HistogramClass> classes, std::size_t counter);
    const std::vector<analysis::HistogramClass>& classes() const { return m_classes; }
    QColor observedColour() const;
    QColor expectedColour() const;

    QRectF plotArea() const;
    // The class under pos with its observed and expected count; empty away
    // from every class.
    QString classInfo(const QPointF& pos) const;
    // The tool tip at pos: the class there, else the legend entry or the
    // axis explained; empty where there is nothing.
    QString toolTipAt(const QPointF& pos) const;
    // Where the legend's two entries, "beobachtet" and "erwartet", lie.
    QRectF legendEntry(int n) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void relayout();
    void drawValueAxis(QPainter& p, const QRectF& area) const;
    void drawBars(QPainter& p, const QRectF& area) const;
    void drawClassLabels(QPainter& p, const QRectF& area) const;
    void drawLegend(QPainter& p, const QRectF& area) const;

    std::vector<analysis::HistogramClass> m_classes;
    analysis::HistogramLayout m_layout;
    std::size_t m_counter = 0;
};

} // namespace cr::ui
