// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/series.h"
#include "analysis/tablenote.h"

#include <QWidget>
#include <functional>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace cr::ui {

class NumberBarsChart;
class SeriesLengthChart;

// "Serien und Zahlen": is the table fair? For the source chosen in the
// window, the series of a pair by length against their exact expectation,
// the runs test and the écart of the three pairs, and the 37 numbers in
// wheel order against n/37 with the chi-square test; copied and saved as
// TSV below the note the window's other table writes.
class SeriesView final : public QWidget {
    Q_OBJECT
public:
    explicit SeriesView(QWidget* parent = nullptr);

    // The figures of one source (or the pool) and what they came from.
    void setStatistics(const analysis::SeriesStats& stats, const analysis::TableOrigin& origin);
    void choose(int pair, int side); // side 0, 1 or 2 (both)
    // Every figure as TSV, below the note on its origin.
    QString tableText() const;
    bool saveTable(const QString& path);
    // How "Tabelle speichern …" asks for a file name: the window's dialog.
    void setPathChooser(std::function<QString()> chooser) { m_choosePath = std::move(chooser); }

    QTableWidget* pairTable() const { return m_pairs; }
    QLabel* numbersText() const { return m_numbersText; }
    SeriesLengthChart* lengthChart() const { return m_lengthChart; }
    NumberBarsChart* numberChart() const { return m_numberChart; }
    QPushButton* copyButton() const { return m_copy; }

private:
    void showPairs();
    void showNumbers();
    void showChart();
    QString decimal(double value, int decimals) const;

    analysis::SeriesStats m_stats;
    analysis::TableOrigin m_origin;
    bool m_shown = false;
    QComboBox* m_pairChoice = nullptr;
    QComboBox* m_sideChoice = nullptr;
    SeriesLengthChart* m_lengthChart = nullptr;
    NumberBarsChart* m_numberChart = nullptr;
    QTableWidget* m_pairs = nullptr;
    QLabel* m_numbersText = nullptr;
    QPushButton* m_copy = nullptr;
    QPushButton* m_save = nullptr;
    std::function<QString()> m_choosePath;
};

} // namespace cr::ui
