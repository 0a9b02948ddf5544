// SPDX-License-Identifier: GPL-3.0-or-later
// "Auswertung": the results shown, in the table, the course chart, the
// histogram, the odd runs and the series, for all sources or one alone.
#include "core/texts.h"
#include "ui/analysis/analysiswindow.h"
#include "ui/analysis/analysiswindow_p.h"
#include "ui/analysis/oddrunspanel.h"
#include "ui/analysis/seriesview.h"
#include "ui/analysis/summarymodel.h"
#include "ui/charts/coursechart.h"
#include "ui/charts/histogramview.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace cr::ui {

using namespace analysisparts;

QWidget* AnalysisWindow::buildResults() {
    auto* box = new QWidget(this);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    m_title = new QLabel(box);
    m_title->setToolTip(QStringLiteral("Woraus die gezeigten Ergebnisse berechnet wurden."));
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    auto* titleRow = new QHBoxLayout;
    titleRow->addWidget(m_title, 1);
    m_sourceChoice = new QComboBox(box);
    m_sourceChoice->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_sourceChoice->setToolTip(QStringLiteral(
        "Welche Läufe Tabelle und Verlauf zeigen: alle Quellen zusammen oder eine Quelle "
        "(ein Tisch) allein. Weicht nur ein Tisch ab, liegt es eher an ihm als am Zufall."));
    m_sourceChoice->setEnabled(false);
    connect(m_sourceChoice, &QComboBox::activated, this, &AnalysisWindow::showSource);
    titleRow->addWidget(new QLabel(QStringLiteral("Quelle"), box));
    titleRow->addWidget(m_sourceChoice);
    layout->addLayout(titleRow);

    m_splitter = new QSplitter(Qt::Vertical, box);
    m_splitter->setChildrenCollapsible(false);
    auto* tabs = new QTabWidget(m_splitter);
    auto* course = new QWidget(tabs);
    auto* courseLayout = new QVBoxLayout(course);
    m_chart = new CourseChart(course);
    m_chart->setMinimumHeight(
        120); // lower than it asks for, so that a low screen has room for the table
    m_logSwitch = new QCheckBox(QStringLiteral("Logarithmische Achse"), course);
    m_logSwitch->setToolTip(QStringLiteral("Teilt die Werteachse logarithmisch, damit die "
                                           "kleinen Werte später Steps lesbar bleiben."));
    connect(m_logSwitch, &QCheckBox::toggled, m_chart, &CourseChart::setLogarithmic);
    courseLayout->addWidget(m_chart, 1);
    auto* chartRow = new QHBoxLayout;
    chartRow->addWidget(m_logSwitch);
    chartRow->addStretch(1);
    m_counterChoice = new QComboBox(course);
    m_counterChoice->addItem(QStringLiteral("alle Zähler der gewählten Quelle"));
    for (const std::string_view name : texts::kCounterNames) {
        m_counterChoice->addItem(fromUtf8(std::string(name)) + QStringLiteral(" je Quelle"));
    }
    m_counterChoice->setToolTip(QStringLiteral(
        "Ein Zähler, je Quelle eine Linie: So stehen die Tische nebeneinander, dazu alle "
        "zusammen und das exakte Mittel mit seinem Band."));
    m_counterChoice->setEnabled(false);
    connect(m_counterChoice, &QComboBox::activated, this,
            [this](int index) { showCounterBySource(index - 1); });
    chartRow->addWidget(new QLabel(QStringLiteral("Linien"), course));
    chartRow->addWidget(m_counterChoice);
    courseLayout->addLayout(chartRow);
    m_histogram = new HistogramView(tabs);
    tabs->addTab(course, QStringLiteral("Verlauf"));
    tabs->setTabToolTip(0, QStringLiteral("Je Step das Mittel jedes Zählers über die Läufe mit "
                                          "einer Standardabweichung zu jeder Seite."));
    tabs->addTab(m_histogram, QStringLiteral("Histogramm"));
    tabs->setTabToolTip(1, QStringLiteral("Wie oft ein Zähler nach einem Step jeden Wert annahm, "
                                          "neben dem, was reiner Zufall erwartet."));
    m_oddRuns = new OddRunsPanel(tabs);
    tabs->addTab(m_oddRuns, QStringLiteral("Auffällige Läufe"));
    tabs->setTabToolTip(2, QStringLiteral("Die Läufe, die in einem Step am weitesten vom "
                                          "exakten Mittel liegen; ein Doppelklick spielt einen "
                                          "davon im Hauptfenster ab."));
    connect(m_oddRuns, &OddRunsPanel::replayFile, this, &AnalysisWindow::replayFile);
    connect(m_oddRuns, &OddRunsPanel::replayNumbers, this, &AnalysisWindow::replayNumbers);

    auto* tablePart = new QWidget(m_splitter);
    auto* tableLayout = new QVBoxLayout(tablePart);
    tableLayout->setContentsMargins(0, 0, 0, 0);
    m_caption = new QLabel(tablePart);
    m_caption->setWordWrap(true);
    m_caption->setToolTip(
        QStringLiteral("Jede Spaltenüberschrift erklärt ihre Zahlen im Hinweis."));
    m_model = new SummaryModel(this);
    m_table = new QTableView(tablePart);
    m_table->setModel(m_model);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide(); // the first column is the step
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    tableLayout->addWidget(m_caption);
    tableLayout->addWidget(m_table, 1);

    m_splitter->addWidget(tabs);
    m_splitter->addWidget(tablePart);
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 1);
    // The runs' view with its buttons, and beside it the series and numbers.
    auto* views = new QTabWidget(box);
    auto* runsView = new QWidget(views);
    auto* runsLayout = new QVBoxLayout(runsView);
    runsLayout->addWidget(m_splitter, 1);
    runsLayout->addLayout(buildOutputButtons());
    views->addTab(runsView, QStringLiteral("Läufe und Steps"));
    views->setTabToolTip(0, QStringLiteral("Die Zähler des Rasters über die Läufe: Verlauf, "
                                           "Histogramm, auffällige Läufe und die Tabelle."));
    m_seriesView = new SeriesView(views);
    m_seriesView->setPathChooser([this] {
        return chooseSavePath(QStringLiteral("Tabelle speichern"), QStringLiteral("serien.tsv"),
                              QStringLiteral("TSV (*.tsv);;Text (*.txt)"));
    });
    views->addTab(m_seriesView, QStringLiteral("Serien und Zahlen"));
    views->setTabToolTip(1, QStringLiteral("Ist der Tisch fair? Serien, Runs-Test und Écart der "
                                           "drei Paarungen und die 37 Zahlen der gewählten "
                                           "Quelle, jeweils neben dem exakten Gesetz."));
    layout->addWidget(views, 1);
    return box;
}

void AnalysisWindow::showResult(const std::shared_ptr<const analysis::JobResult>& result,
                                int steprate) {
    m_result = result;
    m_runs = result->stats.runs();
    m_model->setRows(analysis::summaryRows(result->stats, steprate), decimalSeparator());
    m_shownOrigin = m_jobOrigin;
    // The note names the sources the runs came from, not the refused files.
    m_shownOrigin.sources.clear();
    for (std::size_t k = 0; k < m_jobFiles.size(); ++k) {
        const bool refused =
            std::any_of(m_refused.begin(), m_refused.end(),
                        [&](const analysis::FileRefusal& r) { return r.file == m_jobFiles[k]; });
        if (!refused) {
            m_shownOrigin.sources.push_back(m_jobOrigin.sources[k]);
        }
    }
    m_shownOrigin.runs = m_runs;
    m_shownOrigin.version = m_version.toStdString();
    m_shownOrigin.when =
        QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy HH:mm")).toStdString();
    const QString from =
        m_shownOrigin.simulated
            ? QStringLiteral("simuliert mit Seed %1").arg(m_shownOrigin.seed)
            : QStringLiteral("aus %1").arg(
                  m_shownOrigin.sources.size() == 1
                      ? QStringLiteral("einer Quelle")
                      : QStringLiteral("%1 Quellen").arg(m_shownOrigin.sources.size()));
    m_title->setText(QStringLiteral("%L1 Läufe zu %L2 Würfen, Step-Rate %3, %4")
                         .arg(m_runs)
                         .arg(m_shownOrigin.runLength)
                         .arg(steprate)
                         .arg(from));
    m_caption->setText(rows().empty() ? QString()
                                      : fromUtf8(analysis::tableCaption(m_runs, rows())));
    m_table->resizeColumnsToContents();
    m_shownSteprate = steprate;
    m_sourceChoice->clear();
    m_sourceChoice->addItem(QStringLiteral("alle zusammen"));
    for (const analysis::SourceResult& source : result->sources) {
        const QString name = m_jobInput.simulate ? QStringLiteral("Simulation")
                                                 : QFileInfo(fromUtf8(source.name)).fileName();
        m_sourceChoice->addItem(name);
        m_sourceChoice->setItemData(m_sourceChoice->count() - 1, fromUtf8(source.name),
                                    Qt::ToolTipRole);
    }
    const bool several = result->sources.size() > 1;
    m_sourceChoice->setEnabled(several);
    m_counterChoice->setCurrentIndex(0);
    m_counterChoice->setEnabled(several);
    showChart();
    showSeries();
    m_histogram->setStatistics(&result->stats, steprate);
    m_oddRuns->setResult(result, m_jobInput);
    for (QPushButton* button : m_outputButtons) {
        button->setEnabled(true);
    }
    m_progressBar->setValue(m_progressBar->maximum());
    m_progressText->setText(
        QStringLiteral("Fertig: %L1 Läufe in %2 s")
            .arg(m_runs)
            .arg(QLocale().toString(static_cast<double>(m_clock.elapsed()) / 1000.0, 'f', 1)));
    ended();
}

RunsCourse AnalysisWindow::courseOf(const analysis::RunStatistics& stats, int steprate) const {
    RunsCourse course;
    for (const analysis::SummaryRow& row : analysis::summaryRows(stats, steprate)) {
        course.steps.push_back({row.mean, row.sd});
    }
    course.steprate = steprate;
    course.runs = stats.runs();
    course.heading = QStringLiteral("%L1 Läufe, Step-Rate %2").arg(stats.runs()).arg(steprate);
    return course;
}

void AnalysisWindow::showSource(int index) {
    if (!m_result || index < 0 || index > static_cast<int>(m_result->sources.size())) {
        return;
    }
    m_sourceChoice->setCurrentIndex(index);
    const analysis::RunStatistics& stats =
        index == 0 ? m_result->stats : m_result->sources[static_cast<std::size_t>(index - 1)].stats;
    m_model->setRows(analysis::summaryRows(stats, m_shownSteprate), decimalSeparator());
    m_caption->setText(rows().empty() ? QString()
                                      : fromUtf8(analysis::tableCaption(stats.runs(), rows())));
    if (m_counterChoice->currentIndex() == 0) {
        showChart();
    }
    showSeries();
}

void AnalysisWindow::showCounterBySource(int counter) {
    if (!m_result || counter < -1 || counter >= static_cast<int>(analysis::kCounters)) {
        return;
    }
    m_counterChoice->setCurrentIndex(counter + 1);
    showChart();
}

// The chart follows both choices: one source with its six counters, or one
// counter with a line per source.
void AnalysisWindow::showChart() {
    const int counter = m_counterChoice->currentIndex() - 1;
    const bool bySource = counter >= 0 && m_result->sources.size() >= 2;
    // Deviations z lie either side of 0: no logarithmic axis for them.
    m_logSwitch->setEnabled(!bySource);
    if (!bySource) {
        const int index = m_sourceChoice->currentIndex();
        m_chart->setRuns(
            courseOf(index <= 0 ? m_result->stats
                                : m_result->sources[static_cast<std::size_t>(index - 1)].stats,
                     m_shownSteprate));
        return;
    }
    std::vector<RunsCourse> each;
    std::vector<QString> names;
    for (int k = 1; k < m_sourceChoice->count(); ++k) {
        each.push_back(
            courseOf(m_result->sources[static_cast<std::size_t>(k - 1)].stats, m_shownSteprate));
        names.push_back(m_sourceChoice->itemText(k));
    }
    m_chart->setRunsBySource(courseOf(m_result->stats, m_shownSteprate), std::move(each),
                             std::move(names), counter);
}

analysis::TableOrigin AnalysisWindow::originShown() const {
    analysis::TableOrigin origin = m_shownOrigin;
    if (const int index = m_sourceChoice->currentIndex(); index > 0) {
        // One source alone: the note names it and its runs only.
        origin.sources = {m_sourceChoice->itemText(index).toStdString()};
        origin.runs = m_result->sources[static_cast<std::size_t>(index - 1)].stats.runs();
    }
    return origin;
}

void AnalysisWindow::showSeries() {
    const int index = m_sourceChoice->currentIndex();
    m_seriesView->setStatistics(index <= 0
                                    ? m_result->series
                                    : m_result->sources[static_cast<std::size_t>(index - 1)].series,
                                originShown());
}

QString AnalysisWindow::caption() const {
    return m_caption->text();
}

} // namespace cr::ui
