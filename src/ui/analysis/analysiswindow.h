// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/job.h"
#include "analysis/summary.h"

#include <QWidget>
#include <memory>
#include <optional>

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QLineEdit;
class QTableView;
class QCheckBox;

namespace cr::ui {

class AnalysisJob;
class CourseChart;
class HistogramView;
class SummaryModel;

// "Auswertung": runs of recorded tables or simulated runs against the exact
// law. The window only wires: the form's entries go to an AnalysisJob, which
// runs them on a thread of its own, and what comes back goes to the table
// model, the chart and the histogram.
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
    bool busy() const;
    QString progressText() const;
    // Waits until the work has ended and its results are shown.
    void waitUntilDone();

    const std::vector<analysis::SummaryRow>& rows() const;
    long long runs() const { return m_runs; }
    QString refusalText() const;
    QString tableText() const;
    QTableView* table() const { return m_table; }
    SummaryModel* model() const { return m_model; }
    QSpinBox* steprateBox() const { return m_steprateBox; }
    QSpinBox* runsBox() const { return m_runsBox; }
    QSpinBox* lengthBox() const { return m_lengthBox; }
    CourseChart* chart() const { return m_chart; }
    HistogramView* histogram() const { return m_histogram; }
    // Saves the chart as SVG for a name ending ".svg", else as PNG.
    bool saveChart(const QString& path) const;

signals:
    // The work has ended (done or stopped) and its results are shown.
    void finished();

private:
    void buildForm();
    analysis::JobInput entries() const;
    void showRefused(const std::vector<analysis::FileRefusal>& files);
    void showStopped(const QString& text);
    void showResult(const std::shared_ptr<const analysis::JobResult>& result, int steprate);
    void saveTable();

    std::optional<analysis::JobInput::Numbers> m_loaded;
    QListWidget* m_files = nullptr;
    QRadioButton* m_fromFiles = nullptr;
    QRadioButton* m_simulation = nullptr;
    QSpinBox* m_runsBox = nullptr;
    QLineEdit* m_seedBox = nullptr;
    QSpinBox* m_steprateBox = nullptr;
    QSpinBox* m_lengthBox = nullptr;
    bool m_lengthEdited = false; // the run length no longer follows the step rate
    QPushButton* m_calculate = nullptr;
    QPushButton* m_cancel = nullptr;
    QProgressBar* m_progressBar = nullptr;
    QLabel* m_progressText = nullptr;
    QLabel* m_refusals = nullptr;
    QLabel* m_title = nullptr;
    QTableView* m_table = nullptr;
    SummaryModel* m_model = nullptr;
    CourseChart* m_chart = nullptr;
    HistogramView* m_histogram = nullptr;
    QCheckBox* m_logSwitch = nullptr;
    AnalysisJob* m_job = nullptr;

    std::shared_ptr<const analysis::JobResult> m_result; // shown; the histogram reads its stats
    std::vector<analysis::FileRefusal> m_refused;
    long long m_runs = 0;
};

} // namespace cr::ui
