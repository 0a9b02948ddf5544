// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/chartlayout.h"

#include <QColor>
#include <QLocale>
#include <QPen>
#include <QString>
#include <cmath>
#include <functional>
#include <vector>

class QFontMetrics;
class QPainter;
class QRectF;

// The look the program's charts share: the counters' hues and line styles,
// the band's shade, the grid and the numbers on the value axis.
class QEvent;
class QWidget;

namespace cr::ui::chartstyle {

// Answers a tool-tip event over OWNER with INFO, as rich text that the tool
// tip wraps to a readable width; hides the tool tip where there is no INFO.
void answerToolTip(QEvent* event, QWidget* owner, const QString& info);

struct SeriesLook {
    const char* name;
    QColor colour;
    Qt::PenStyle style;
    qreal width;
};

// Leer solid, 1x (rot) dashed; one hue per counter.
inline const SeriesLook kCounterLooks[kChartCounters] = {
    {"Leer R/S", QColor(200, 30, 40), Qt::SolidLine, 1.6},
    {"Leer M/P", QColor(30, 140, 50), Qt::SolidLine, 1.6},
    {"Leer G/U", QColor(30, 80, 210), Qt::SolidLine, 1.6},
    {"1x (rot) R/S", QColor(235, 125, 0), Qt::DashLine, 1.6},
    {"1x (rot) M/P", QColor(150, 60, 180), Qt::DashLine, 1.6},
    {"1x (rot) G/U", QColor(0, 155, 165), Qt::DashLine, 1.6},
};
inline const SeriesLook kStatisticLook{"Statistisch", QColor(0, 0, 0), Qt::DashDotLine, 2.0};
inline const SeriesLook kMeanLook{"Erwartungswert", QColor(80, 80, 80), Qt::SolidLine, 2.4};
inline const char* const kBandName = "Erwartung \u00b1 2\u03c3";
inline const QColor kBandColour(150, 165, 205, 110);
inline const QColor kGridColour(225, 225, 225);
inline const QColor kMinorGridColour(242, 242, 242);

constexpr int kLegendSwatch = 26;
constexpr int kSpacing = 8;

// A value on an axis: the user's decimal separator, no group separators.
inline QString numberText(double value) {
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    // Whole numbers in full, however large (a log axis reaches 1000000, not
    // "1E+06"); others with six significant digits.
    if (std::abs(value) < 1e15 && value == std::floor(value)) {
        return locale.toString(value, 'f', 0);
    }
    return locale.toString(value, 'g', 6);
}

inline QPen penOf(const SeriesLook& look) {
    QPen pen(look.colour, look.width, look.style);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

// How wide the margin left of a plot is: the axis title on its side, the
// widest label of AXIS, and room between.
double valueAxisMargin(const QFontMetrics& metrics, const ValueAxis& axis);

// In MARGIN, the strip left of a plot: the labelled TICKS at the heights ROW
// gives, and TITLE on its side centred at height MIDDLE, in the painter's pen.
void drawValueLabels(QPainter& p, const QRectF& margin, const std::vector<AxisTick>& ticks,
                     const std::function<double(double)>& row, const QString& title, double middle);

// What each element of a chart means, in the words of its tool tip. RUNS:
// the chart shows the means of many runs.
QString counterTip(std::size_t counter, bool runs);
QString statisticTip(bool runs);
QString meanTip();
QString bandTip();
QString whiskerTip();
QString ringTip();
QString valueAxisTip(bool runs, bool logarithmic);

// The chart of one counter by source, each source's deviation z of its mean
// from the exact mean.
inline const char* const kZeroLineName = "exaktes Mittel";
inline const char* const kDeviationBandName = "\u00b1 2";
QString sourceTip(const QString& name, std::size_t counter);
QString pooledTip(std::size_t counter);
QString zeroLineTip();
QString deviationBandTip();
QString deviationAxisTip();
QString linearOnlyNote();
QString linearOnlyTip();
QString stepAxisTip();
QString zeroTailTip(const QString& note);

} // namespace cr::ui::chartstyle
