// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/analysis/analysiswindow.h"

#include "analysis/analysisform.h"
#include "analysis/progresstext.h"
#include "ui/analysis/analysisjob.h"
#include "ui/analysis/summarymodel.h"
#include "ui/charts/coursechart.h"
#include "ui/charts/histogramview.h"
#include "ui/files/stepsaver.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QSplitter>
#include <QSvgGenerator>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace cr::ui {

namespace {

QString decimalSeparator() {
    return QLocale().decimalPoint();
}

} // namespace

AnalysisWindow::AnalysisWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("Auswertung"));
    m_job = new AnalysisJob(this);
    buildForm();
    connect(m_job, &JobRunner::progressed, this,
            [this](long long done, long long total, const QString& text) {
                const int permille = analysis::progressPermille(done, total);
                if (permille >= 0) {
                    m_progressBar->setValue(permille);
                }
                m_progressText->setText(text);
            });
    connect(m_job, &AnalysisJob::refused, this, &AnalysisWindow::showRefused);
    connect(m_job, &AnalysisJob::stopped, this, &AnalysisWindow::showStopped);
    connect(m_job, &AnalysisJob::resultReady, this, &AnalysisWindow::showResult);
    resize(900, 640);
}

AnalysisWindow::~AnalysisWindow() = default; // the job, a child, stops its work

void AnalysisWindow::buildForm() {
    auto* layout = new QVBoxLayout(this);
    auto* form = new QGridLayout;
    m_fromFiles = new QRadioButton(QStringLiteral("Dateien"), this);
    m_fromFiles->setChecked(true);
    m_files = new QListWidget(this);
    m_files->setMaximumHeight(90);
    auto* add = new QPushButton(QStringLiteral("Hinzufügen \u2026"), this);
    connect(add, &QPushButton::clicked, this, [this] {
        addFiles(QFileDialog::getOpenFileNames(this, QStringLiteral("Permanenz öffnen")));
    });
    m_simulation = new QRadioButton(QStringLiteral("Simulation"), this);
    m_runsBox = new QSpinBox(this);
    m_runsBox->setRange(1, analysis::kMaxRuns);
    m_runsBox->setValue(analysis::kDefaultRuns);
    m_seedBox = new QLineEdit(QString::number(analysis::freshSeed()), this);
    m_steprateBox = new QSpinBox(this);
    m_steprateBox->setRange(1, kMaxSteprate);
    m_lengthBox = new QSpinBox(this);
    m_lengthBox->setRange(1, analysis::kMaxRunLength);
    connect(m_steprateBox, &QSpinBox::valueChanged, this, [this](int steprate) {
        if (!m_lengthEdited) {
            const QSignalBlocker quiet(m_lengthBox);
            m_lengthBox->setValue(analysis::defaultRunLength(steprate));
        }
    });
    connect(m_lengthBox, &QSpinBox::valueChanged, this, [this] { m_lengthEdited = true; });
    setSteprate(analysis::kDefaultSteprate);
    form->addWidget(m_fromFiles, 0, 0);
    form->addWidget(m_files, 0, 1, 1, 3);
    form->addWidget(add, 0, 4);
    form->addWidget(m_simulation, 1, 0);
    form->addWidget(new QLabel(QStringLiteral("Läufe"), this), 1, 1);
    form->addWidget(m_runsBox, 1, 2);
    form->addWidget(new QLabel(QStringLiteral("Seed"), this), 1, 3);
    form->addWidget(m_seedBox, 1, 4);
    form->addWidget(new QLabel(QStringLiteral("Step-Rate"), this), 2, 0);
    form->addWidget(m_steprateBox, 2, 1);
    form->addWidget(new QLabel(QStringLiteral("Lauflänge (Würfe)"), this), 2, 2);
    form->addWidget(m_lengthBox, 2, 3);
    layout->addLayout(form);

    auto* actions = new QHBoxLayout;
    m_calculate = new QPushButton(QStringLiteral("Berechnen"), this);
    m_cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    m_cancel->setEnabled(false);
    m_progressBar = new QProgressBar(this);
    m_progressBar->setRange(0, 1000);
    m_progressText = new QLabel(this);
    connect(m_calculate, &QPushButton::clicked, this, &AnalysisWindow::calculate);
    connect(m_cancel, &QPushButton::clicked, this, &AnalysisWindow::cancel);
    actions->addWidget(m_calculate);
    actions->addWidget(m_cancel);
    actions->addWidget(m_progressBar, 1);
    actions->addWidget(m_progressText);
    layout->addLayout(actions);

    m_refusals = new QLabel(this);
    m_refusals->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_title = new QLabel(this);
    // The order of creation is the focus chain's: table, chart, then its switch.
    m_model = new SummaryModel(this);
    m_table = new QTableView(this);
    m_table->setModel(m_model);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_chart = new CourseChart(this);
    m_logSwitch = new QCheckBox(QStringLiteral("Logarithmische Achse"), this);
    connect(m_logSwitch, &QCheckBox::toggled, m_chart, &CourseChart::setLogarithmic);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    m_histogram = new HistogramView(this);
    splitter->addWidget(m_chart);
    splitter->addWidget(m_table);
    splitter->addWidget(m_histogram);
    splitter->setSizes({300, 200, 280});
    layout->addWidget(m_refusals);
    layout->addWidget(m_title);
    layout->addWidget(m_logSwitch);
    layout->addWidget(splitter, 1);

    auto* output = new QHBoxLayout;
    auto* copy = new QPushButton(QStringLiteral("Tabelle kopieren"), this);
    auto* save = new QPushButton(QStringLiteral("Tabelle speichern \u2026"), this);
    connect(copy, &QPushButton::clicked, this,
            [this] { QApplication::clipboard()->setText(tableText()); });
    connect(save, &QPushButton::clicked, this, &AnalysisWindow::saveTable);
    auto* saveChartButton = new QPushButton(QStringLiteral("Diagramm speichern \u2026"), this);
    connect(saveChartButton, &QPushButton::clicked, this, [this] {
        const QString path =
            QFileDialog::getSaveFileName(this, QStringLiteral("Diagramm speichern"), QString(),
                                         QStringLiteral("PNG (*.png);;SVG (*.svg)"));
        if (!path.isEmpty() && !saveChart(path)) {
            QMessageBox::warning(this, QStringLiteral("Auswertung"),
                                 QStringLiteral("Das Diagramm wurde nicht gespeichert."));
        }
    });
    output->addWidget(saveChartButton);
    output->addStretch(1);
    output->addWidget(copy);
    output->addWidget(save);
    layout->addLayout(output);
}

void AnalysisWindow::offer(analysis::JobInput::Numbers loaded, int steprate) {
    const bool had = m_loaded.has_value();
    m_loaded.reset();
    if (!loaded.numbers.empty()) {
        m_loaded = std::move(loaded);
    }
    if (had) {
        delete m_files->takeItem(0);
    }
    if (m_loaded) {
        m_files->insertItem(0, QStringLiteral("Geladene Permanenz: ") +
                                   QString::fromStdString(m_loaded->name));
        m_files->item(0)->setCheckState(Qt::Checked);
    }
    setSteprate(steprate);
}

void AnalysisWindow::addFiles(const QStringList& paths) {
    for (const QString& path : paths) {
        auto* item = new QListWidgetItem(path, m_files);
        item->setData(Qt::UserRole, path);
        item->setCheckState(Qt::Checked);
    }
    if (!paths.isEmpty()) {
        m_fromFiles->setChecked(true);
    }
}

void AnalysisWindow::chooseSimulation(long long runs, std::uint64_t seed) {
    m_simulation->setChecked(true);
    m_runsBox->setValue(static_cast<int>(runs));
    m_seedBox->setText(QString::number(seed));
}

void AnalysisWindow::setSteprate(int steprate) {
    m_steprateBox->setValue(std::clamp(steprate, 1, kMaxSteprate));
}

void AnalysisWindow::setRunLength(long long spins) {
    m_lengthBox->setValue(static_cast<int>(spins));
}

analysis::JobInput AnalysisWindow::entries() const {
    analysis::JobInput input;
    input.steprate = m_steprateBox->value();
    input.runLength = m_lengthBox->value();
    input.simulate = m_simulation->isChecked();
    input.runs = m_runsBox->value();
    input.seed = m_seedBox->text().toULongLong();
    for (int i = 0; i < m_files->count(); ++i) {
        const QListWidgetItem* item = m_files->item(i);
        if (item->checkState() != Qt::Checked) {
            continue;
        }
        if (m_loaded && i == 0) {
            input.loaded.push_back(*m_loaded);
        } else {
            input.files.push_back(item->data(Qt::UserRole).toString().toStdString());
        }
    }
    return input;
}

void AnalysisWindow::calculate() {
    if (m_job->busy()) {
        return;
    }
    m_calculate->setEnabled(false);
    m_cancel->setEnabled(true);
    m_progressBar->setValue(0);
    m_job->run(entries());
}

void AnalysisWindow::cancel() {
    m_job->cancel();
}

bool AnalysisWindow::busy() const {
    return m_job->busy();
}

void AnalysisWindow::waitUntilDone() {
    m_job->waitUntilDone();
}

QString AnalysisWindow::progressText() const {
    return m_progressText->text();
}

const std::vector<analysis::SummaryRow>& AnalysisWindow::rows() const {
    return m_model->rows();
}

void AnalysisWindow::showRefused(const std::vector<analysis::FileRefusal>& files) {
    m_calculate->setEnabled(true);
    m_cancel->setEnabled(false);
    m_refused = files;
    m_refusals->setText(refusalText());
}

// The runs of a stopped job are incomplete: the last results stay.
void AnalysisWindow::showStopped(const QString& text) {
    m_progressText->setText(text);
    emit finished();
}

void AnalysisWindow::showResult(const std::shared_ptr<const analysis::JobResult>& result,
                                int steprate) {
    m_result = result;
    m_runs = result->stats.runs();
    m_model->setRows(analysis::summaryRows(result->stats, steprate), decimalSeparator());
    m_title->setText(QStringLiteral("%L1 Läufe zu %L2 Würfen, Step-Rate %3")
                         .arg(m_runs)
                         .arg(m_lengthBox->value())
                         .arg(steprate));
    m_table->resizeColumnsToContents();
    RunsCourse course;
    for (const analysis::SummaryRow& row : rows()) {
        course.steps.push_back({row.mean, row.sd});
    }
    course.steprate = steprate;
    course.heading = QStringLiteral("%L1 Läufe, Step-Rate %2").arg(m_runs).arg(steprate);
    m_chart->setRuns(std::move(course));
    m_histogram->setStatistics(&result->stats, steprate);
    emit finished();
}

QString AnalysisWindow::refusalText() const {
    QStringList lines;
    for (const analysis::FileRefusal& r : m_refused) {
        lines << QFileInfo(QString::fromStdString(r.file)).fileName() + QLatin1Char(':');
        for (const std::string& line : r.lines) {
            if (!line.empty()) {
                lines << QString::fromStdString(line);
            }
        }
    }
    return lines.join(QLatin1Char('\n'));
}

bool AnalysisWindow::saveChart(const QString& path) const {
    if (!path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        return m_chart->grab().save(path, "PNG");
    }
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(m_chart->size());
    svg.setViewBox(m_chart->rect());
    svg.setTitle(QStringLiteral("Auswertung"));
    m_chart->render(&svg);
    return QFileInfo(path).size() > 0;
}

QString AnalysisWindow::tableText() const {
    return QString::fromStdString(
        analysis::summaryTableText(rows(), decimalSeparator().toStdString()));
}

void AnalysisWindow::saveTable() {
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Tabelle speichern"),
                                                      QString(), QStringLiteral("TSV (*.tsv)"));
    if (path.isEmpty()) {
        return;
    }
    const WriteResult result = writeWholeFile(path, tableText().toStdString());
    if (!result.ok) {
        QMessageBox::warning(this, QStringLiteral("Auswertung"), result.error);
    }
}

} // namespace cr::ui
