// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/entries.h"
#include "analysis/job.h"
#include "analysis/summary.h"
#include "analysis/tablenote.h"
#include "ui/files/saveimage.h"

#include <QElapsedTimer>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QLineEdit;
class QSplitter;
class QTableView;
class QCheckBox;
class QComboBox;

namespace cr::ui {

class AnalysisJob;
class OddRunsPanel;
class SeriesView;
struct RunsCourse;
class CourseChart;
class HistogramView;
class SummaryModel;

// The main window's permanence as "Auswertung" offers it among the sources.
struct LoadedPermanence {
    analysis::JobInput::Numbers numbers; // none: nothing loaded
    std::string origin;                  // RunControl::origin()
    QString path;                        // the file's, when known
};

// "Auswertung": runs of recorded tables or simulated runs against the exact
// law. The window only wires: the form's entries go to an AnalysisJob, which
// runs them on a thread of its own, and what comes back goes to the table
// model, the chart and the histogram. It lives as long as the main window:
// closing hides it with its sources and entries as they are.
class AnalysisWindow final : public QWidget {
    Q_OBJECT
public:
    explicit AnalysisWindow(QWidget* parent);
    ~AnalysisWindow() override;

    // The main window's permanence, offered first among the sources, and its
    // step rate. The entry stays as the user left it (ticked or not, or
    // removed) until another permanence is offered, which takes its place
    // and tick; a step rate is only taken when it differs from the last one
    // offered.
    void offer(const LoadedPermanence& loaded, int steprate);
    // For the note above a saved table.
    void setProgramVersion(const QString& version) { m_version = version; }

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
    // Why the entries cannot be computed as they stand (empty: they can),
    // and what they would cost, as the lines under the form say.
    QString entryRefusal() const;
    QString costText() const;
    QString caption() const;
    // The table with the note on what it was computed from, as copied and saved.
    QString tableText() const;
    QTableView* table() const { return m_table; }
    SummaryModel* model() const { return m_model; }
    AnalysisJob* job() const { return m_job; }
    QListWidget* sources() const { return m_files; }
    QSpinBox* steprateBox() const { return m_steprateBox; }
    QLineEdit* runsBox() const { return m_runsBox; }
    QLineEdit* seedBox() const { return m_seedBox; }
    QLineEdit* lengthBox() const { return m_lengthBox; }
    CourseChart* chart() const { return m_chart; }
    HistogramView* histogram() const { return m_histogram; }
    // Saves a chart as SVG for a name ending ".svg", else as PNG.
    bool saveChart(const QString& path) const;
    bool saveHistogram(const QString& path) const;
    bool saveTable(const QString& path);
    // Where a save dialog starts: the folder of the loaded permanence's
    // file, else of the last save, else the current one.
    QString saveFolder() const;

    // The result of one source alone (0: all pooled, k: the k-th source),
    // in the table and the chart; and the chart's counter across the
    // sources (-1: all six counters of the chosen source).
    void showSource(int index);
    void showCounterBySource(int counter);
    QComboBox* sourceChoice() const { return m_sourceChoice; }
    QComboBox* counterChoice() const { return m_counterChoice; }
    OddRunsPanel* oddRuns() const { return m_oddRuns; }
    SeriesView* seriesView() const { return m_seriesView; }

signals:
    // The work has ended (done or stopped) and its results are shown.
    void finished();
    // A run to watch in the main window (a double click in "Auffällige Läufe").
    void replayFile(const QString& path, long long firstSpin);
    void replayNumbers(const QString& name, const std::vector<std::uint8_t>& numbers);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildForm();
    QWidget* buildSources();
    QWidget* buildEntries();
    QWidget* buildResults();
    QLayout* buildOutputButtons();
    analysis::JobInput entries() const;
    void entriesChanged();
    bool countsLoadedTwice();
    void removeSelectedSources();
    void showRefused(const std::vector<analysis::FileRefusal>& files);
    void showStopped(const QString& text);
    void showResult(const std::shared_ptr<const analysis::JobResult>& result, int steprate);
    void ended();
    RunsCourse courseOf(const analysis::RunStatistics& stats, int steprate) const;
    void showChart();
    void showSeries();
    analysis::TableOrigin originShown() const; // of the source chosen
    QString chooseSavePath(const QString& title, const QString& name, const QString& filters);

    LoadedPermanence m_loaded;
    QListWidgetItem* m_loadedItem = nullptr; // none, or removed by the user
    int m_offeredSteprate = 0;
    QListWidget* m_files = nullptr;
    QRadioButton* m_fromFiles = nullptr;
    QRadioButton* m_simulation = nullptr;
    QLineEdit* m_runsBox = nullptr;
    QLineEdit* m_seedBox = nullptr;
    QSpinBox* m_steprateBox = nullptr;
    QLineEdit* m_lengthBox = nullptr;
    bool m_lengthEdited = false; // the run length no longer follows the step rate
    QLabel* m_cost = nullptr;
    analysis::Cost m_estimate; // of the entries as they stand
    QLabel* m_entryRefusal = nullptr;
    QPushButton* m_calculate = nullptr;
    QPushButton* m_cancel = nullptr;
    QProgressBar* m_progressBar = nullptr;
    QLabel* m_progressText = nullptr;
    QLabel* m_refusals = nullptr;
    QLabel* m_title = nullptr;
    QLabel* m_caption = nullptr;
    QSplitter* m_splitter = nullptr;
    bool m_splitterPlaced = false; // at the first showing
    QTableView* m_table = nullptr;
    SummaryModel* m_model = nullptr;
    CourseChart* m_chart = nullptr;
    HistogramView* m_histogram = nullptr;
    QCheckBox* m_logSwitch = nullptr;
    QComboBox* m_sourceChoice = nullptr;
    QComboBox* m_counterChoice = nullptr;
    OddRunsPanel* m_oddRuns = nullptr;
    SeriesView* m_seriesView = nullptr;
    int m_shownSteprate = 0;
    std::vector<QPushButton*> m_outputButtons; // usable once a result is shown
    AnalysisJob* m_job = nullptr;

    // The job under way: its progress counts until it has ended, never after.
    bool m_running = false;
    QElapsedTimer m_clock;
    long long m_spinsDone = 0;
    long long m_spinsTotal = 0;
    analysis::TableOrigin m_jobOrigin;
    analysis::JobInput m_jobInput;       // its entries, without the loaded numbers
    std::vector<std::string> m_jobFiles; // of its sources in order; empty for the loaded one

    std::shared_ptr<const analysis::JobResult> m_result; // shown; the histogram reads its stats
    analysis::TableOrigin m_shownOrigin;
    std::vector<analysis::FileRefusal> m_refused;
    long long m_runs = 0;
    QString m_version;
    QString m_lastSaveFolder;
};

} // namespace cr::ui
