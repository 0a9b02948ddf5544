// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/job.h"
#include "analysis/summary.h"

#include <QElapsedTimer>
#include <QWidget>
#include <memory>
#include <optional>
#include <thread>

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QLineEdit;
class QTableWidget;
class QTimer;
class QCheckBox;

namespace cr::ui {

class CourseChart;
class HistogramView;

// "Auswertung": runs of recorded tables or simulated runs against the exact
// law. The work runs on a thread of its own (analysis::runJob); a timer of
// the window's thread follows its progress, so the main window stays usable.
class AnalysisWindow final : public QWidget {
    Q_OBJECT
public:
    explicit AnalysisWindow(QWidget* parent);
    ~AnalysisWindow() override;

    // The main window's permanence, offered first among the files (no
    // numbers: none loaded), and its step rate as the default.
    void offer(analysis::JobInput::Numbers loaded, int steprate);

    void addFiles(const QStringList& paths);
    void chooseSimulation(long long runs, std::uint64_t seed);
    void setSteprate(int steprate);
    void setRunLength(long long spins);
    void calculate(); // "Berechnen"
    void cancel();    // "Abbrechen"
    bool busy() const { return m_worker.has_value(); }
    QString progressText() const;
    // Waits until the work has ended and its results are shown.
    void waitUntilDone();

    const std::vector<analysis::SummaryRow>& rows() const { return m_rows; }
    long long runs() const { return m_runs; }
    QString refusalText() const;
    QString tableText() const;
    QTableWidget* table() const { return m_table; }
    CourseChart* chart() const { return m_chart; }
    HistogramView* histogram() const { return m_histogram; }
    // Saves the chart as SVG for a name ending ".svg", else as PNG.
    bool saveChart(const QString& path) const;

signals:
    // The work has ended (done or stopped) and its results are shown.
    void finished();

private:
    void buildForm();
    void poll();
    void finish();
    void showRows();
    void saveTable();
    void showChart();

    std::optional<analysis::JobInput::Numbers> m_loaded;
    QListWidget* m_files = nullptr;
    QRadioButton* m_fromFiles = nullptr;
    QRadioButton* m_simulation = nullptr;
    QSpinBox* m_runsBox = nullptr;
    QLineEdit* m_seedBox = nullptr;
    QSpinBox* m_steprateBox = nullptr;
    QSpinBox* m_lengthBox = nullptr;
    bool m_lengthEdited = false;
    QPushButton* m_calculate = nullptr;
    QPushButton* m_cancel = nullptr;
    QProgressBar* m_progressBar = nullptr;
    QLabel* m_progressText = nullptr;
    QLabel* m_refusals = nullptr;
    QLabel* m_title = nullptr;
    QTableWidget* m_table = nullptr;
    CourseChart* m_chart = nullptr;
    HistogramView* m_histogram = nullptr;
    QCheckBox* m_logSwitch = nullptr;
    QTimer* m_timer = nullptr;
    QElapsedTimer m_clock;

    std::unique_ptr<analysis::JobProgress> m_progress;
    std::optional<std::thread> m_worker;
    std::atomic<bool> m_done{false};
    bool m_outOfMemory = false;                     // written by the worker before m_done
    std::unique_ptr<analysis::JobResult> m_pending; // written by the worker until m_done
    std::unique_ptr<analysis::JobResult> m_result;  // shown
    int m_jobSteprate = 0;
    std::vector<analysis::SummaryRow> m_rows;
    std::vector<analysis::FileRefusal> m_refused;
    long long m_runs = 0;
};

} // namespace cr::ui
