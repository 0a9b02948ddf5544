// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/analysis/analysiswindow.h"

#include "ui/charts/coursechart.h"
#include "ui/charts/histogramview.h"
#include "ui/files/stepsaver.h"

#include <QApplication>
#include <QBrush>
#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
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
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <new>
#include <random>

namespace cr::ui {

namespace {

constexpr int kPollMs = 50;
constexpr int kMaxSteprate = 16383;

QString decimalSeparator() {
    return QLocale().decimalPoint();
}

} // namespace

AnalysisWindow::AnalysisWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("Auswertung"));
    buildForm();
    m_timer = new QTimer(this);
    m_timer->setInterval(kPollMs);
    connect(m_timer, &QTimer::timeout, this, &AnalysisWindow::poll);
    resize(900, 640);
}

AnalysisWindow::~AnalysisWindow() {
    if (m_worker) {
        m_progress->stop = true;
        m_worker->join();
    }
}

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
    m_runsBox->setRange(1, 100000000);
    m_runsBox->setValue(100000);
    m_seedBox = new QLineEdit(QString::number(std::random_device{}()), this);
    m_steprateBox = new QSpinBox(this);
    m_steprateBox->setRange(1, kMaxSteprate);
    m_lengthBox = new QSpinBox(this);
    m_lengthBox->setRange(1, 1000000000);
    connect(m_steprateBox, &QSpinBox::valueChanged, this, [this](int steprate) {
        if (!m_lengthEdited) { // 10 × step rate until the user sets a length
            const QSignalBlocker quiet(m_lengthBox);
            m_lengthBox->setValue(10 * steprate);
        }
    });
    connect(m_lengthBox, &QSpinBox::valueChanged, this, [this] { m_lengthEdited = true; });
    setSteprate(37);
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
    m_table = new QTableWidget(this);
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

void AnalysisWindow::calculate() {
    if (m_worker) {
        return;
    }
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
    m_jobSteprate = input.steprate;
    m_progress = std::make_unique<analysis::JobProgress>();
    m_done = false;
    m_outOfMemory = false;
    m_calculate->setEnabled(false);
    m_cancel->setEnabled(true);
    m_progressBar->setValue(0);
    m_clock.start();
    m_worker.emplace([this, input = std::move(input)] {
        try {
            m_pending = std::make_unique<analysis::JobResult>(analysis::runJob(input, *m_progress));
        } catch (const std::bad_alloc&) { // runs too long for the memory: nothing to show
            m_pending = std::make_unique<analysis::JobResult>();
            m_pending->stopped = true;
            m_outOfMemory = true;
        }
        m_done = true;
    });
    m_timer->start();
}

void AnalysisWindow::cancel() {
    if (m_progress) {
        m_progress->stop = true;
    }
}

void AnalysisWindow::poll() {
    const long long done = m_progress->spinsDone();
    const long long total = m_progress->spinsTotal();
    if (total > 0) {
        m_progressBar->setValue(
            static_cast<int>(1000.0 * static_cast<double>(done) / static_cast<double>(total)));
    }
    // Until the files are read, the count of their spins is not known.
    QString text = total > 0 || m_done ? QStringLiteral("%L1 von %L2 Würfen").arg(done).arg(total)
                                       : QStringLiteral("Dateien werden gelesen …");
    if (done > 0 && total > done) {
        const double left = static_cast<double>(m_clock.elapsed()) / 1000.0 *
                            static_cast<double>(total - done) / static_cast<double>(done);
        text += QStringLiteral(", noch %1 s").arg(std::ceil(left));
    }
    m_progressText->setText(text);
    if (m_done) {
        finish();
    }
}

void AnalysisWindow::waitUntilDone() {
    if (m_worker) {
        m_worker->join(); // finish() then finds nothing to join
        poll();
    }
}

void AnalysisWindow::finish() {
    m_timer->stop();
    if (m_worker && m_worker->joinable()) {
        m_worker->join();
    }
    m_worker.reset();
    m_calculate->setEnabled(true);
    m_cancel->setEnabled(false);
    m_refused = m_pending->refused;
    if (m_pending->stopped) {
        m_pending.reset();
        m_progressText->setText(m_outOfMemory ? QStringLiteral("Nicht genug Speicher")
                                              : QStringLiteral("Abgebrochen"));
        m_refusals->setText(refusalText());
        emit finished();
        return; // the runs of a stopped job are incomplete: the last results stay
    }
    m_result = std::move(m_pending);
    m_runs = m_result->stats.runs();
    m_rows = analysis::summaryRows(m_result->stats, m_jobSteprate);
    m_refusals->setText(refusalText());
    showRows();
    showChart();
    m_histogram->setStatistics(&m_result->stats, m_jobSteprate);
    emit finished();
}

QString AnalysisWindow::progressText() const {
    return m_progressText->text();
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

void AnalysisWindow::showRows() {
    const std::vector<std::string> titles = analysis::summaryTitles();
    m_title->setText(QStringLiteral("%L1 Läufe zu %L2 Würfen, Step-Rate %3")
                         .arg(m_runs)
                         .arg(m_lengthBox->value())
                         .arg(m_jobSteprate));
    m_table->clear();
    m_table->setColumnCount(static_cast<int>(titles.size()));
    m_table->setRowCount(static_cast<int>(m_rows.size()));
    QStringList headers;
    for (const std::string& t : titles) {
        headers << QString::fromStdString(t);
    }
    m_table->setHorizontalHeaderLabels(headers);
    const std::string separator = decimalSeparator().toStdString();
    for (std::size_t r = 0; r < m_rows.size(); ++r) {
        const std::vector<std::string> cells = analysis::summaryCells(m_rows[r], separator);
        for (std::size_t c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(QString::fromStdString(cells[c]));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            // Columns 3.. hold mean, SD and deviation of each counter in turn.
            const std::size_t counter = c >= 3 ? (c - 3) / 3 : analysis::kCounters;
            if (counter < analysis::kCounters && (c - 3) % 3 == 2 &&
                analysis::standsOut(m_rows[r].deviation[counter])) {
                item->setBackground(QBrush(QColor(255, 200, 200)));
            }
            m_table->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
    }
    m_table->resizeColumnsToContents();
}

void AnalysisWindow::showChart() {
    std::vector<CourseChart::Counters> means;
    std::vector<CourseChart::Counters> sds;
    for (const analysis::SummaryRow& row : m_rows) {
        means.push_back(row.mean);
        sds.push_back(row.sd);
    }
    m_chart->setRuns(means, sds, m_jobSteprate,
                     QStringLiteral("%L1 Läufe, Step-Rate %2").arg(m_runs).arg(m_jobSteprate));
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
        analysis::summaryTableText(m_rows, decimalSeparator().toStdString()));
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
