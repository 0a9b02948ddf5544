// SPDX-License-Identifier: GPL-3.0-or-later
// "Auswertung": the window's frame, its keys, and the job under way from
// "Berechnen" to its end (done, stopped or refused files).
#include "ui/analysis/analysiswindow.h"

#include "analysis/progresstext.h"
#include "ui/analysis/analysisjob.h"
#include "ui/analysis/analysiswindow_p.h"
#include "ui/analysis/summarymodel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace cr::ui {

namespace {

// The splitter between charts and table, as the user left it last while
// the program runs.
QByteArray& splitterState() {
    static QByteArray state;
    return state;
}

} // namespace

using namespace analysisparts;

AnalysisWindow::AnalysisWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(kTitle);
    m_job = new AnalysisJob(this);
    buildForm();
    connect(m_job, &JobRunner::progressed, this,
            [this](long long done, long long total, const QString& text) {
                if (!m_running) {
                    return; // a late report of a job whose end is shown already
                }
                m_spinsDone = done;
                m_spinsTotal = total;
                const int permille = analysis::progressPermille(done, total);
                if (permille >= 0) {
                    m_progressBar->setValue(permille);
                }
                m_progressText->setText(text);
            });
    connect(m_job, &AnalysisJob::refused, this, &AnalysisWindow::showRefused);
    connect(m_job, &AnalysisJob::stopped, this, &AnalysisWindow::showStopped);
    connect(m_job, &AnalysisJob::resultReady, this, &AnalysisWindow::showResult);
    // As large as a desktop analysis needs, within the screen.
    const QRect screen = QApplication::primaryScreen()
                             ? QApplication::primaryScreen()->availableGeometry()
                             : QRect(0, 0, 1280, 1024);
    resize(std::min(1180, screen.width() - 40), std::min(960, screen.height() - 50));
    if (!splitterState().isEmpty()) {
        m_splitter->restoreState(splitterState());
    }
    entriesChanged();
}

AnalysisWindow::~AnalysisWindow() {
    splitterState() = m_splitter->saveState(); // the job, a child, stops its work
}

void AnalysisWindow::buildForm() {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildSources());
    layout->addWidget(buildEntries());

    auto* actions = new QHBoxLayout;
    m_calculate = new QPushButton(QStringLiteral("Berechnen"), this);
    m_calculate->setToolTip(
        QStringLiteral("Wertet die gewählten Quellen mit diesen Einträgen aus."));
    m_cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    m_cancel->setToolTip(QStringLiteral("Bricht die laufende Berechnung ab; die zuvor gezeigten "
                                        "Ergebnisse bleiben stehen."));
    m_cancel->setEnabled(false);
    m_progressBar = new QProgressBar(this);
    m_progressBar->setRange(0, 1000);
    m_progressBar->setFormat(QStringLiteral("%p %"));
    m_progressBar->setMaximumWidth(260);
    m_progressBar->setToolTip(QStringLiteral("Wie viel der Berechnung getan ist."));
    m_progressText = new QLabel(this);
    m_progressText->setToolTip(
        QStringLiteral("Die ausgewerteten Würfe und die voraussichtlich noch nötige Zeit."));
    connect(m_calculate, &QPushButton::clicked, this, &AnalysisWindow::calculate);
    connect(m_cancel, &QPushButton::clicked, this, &AnalysisWindow::cancel);
    actions->addWidget(m_calculate);
    actions->addWidget(m_cancel);
    actions->addWidget(m_progressBar, 1);
    actions->addWidget(m_progressText, 2);
    layout->addLayout(actions);

    m_refusals = new QLabel(this);
    m_refusals->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_refusals->setToolTip(QStringLiteral("Dateien, die nicht ausgewertet wurden, und warum."));
    m_refusals->hide();
    layout->addWidget(m_refusals);
    layout->addWidget(buildResults(), 1);

    auto* close = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_W), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
}

void AnalysisWindow::calculate() {
    if (m_job->busy() || !entryRefusal().isEmpty() || countsLoadedTwice()) {
        return;
    }
    entriesChanged();
    if (analysis::worthAsking(m_estimate) &&
        QMessageBox::question(
            this, kTitle,
            QStringLiteral("Die Berechnung braucht voraussichtlich: %1.\n\nJetzt berechnen?")
                .arg(m_cost->text()),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes) {
        return;
    }
    analysis::JobInput input = entries();
    m_jobInput = input;
    m_jobInput.loaded.clear(); // the result keeps the numbers it evaluated
    m_jobOrigin = {};
    m_jobOrigin.simulated = input.simulate;
    m_jobOrigin.seed = input.seed;
    m_jobOrigin.steprate = input.steprate;
    m_jobOrigin.runLength = input.runLength;
    m_jobFiles.clear();
    for (int i = 0; i < m_files->count() && !input.simulate; ++i) {
        const QListWidgetItem* item = m_files->item(i);
        if (item->checkState() != Qt::Checked) {
            continue;
        }
        const bool loaded = item == m_loadedItem;
        m_jobOrigin.sources.push_back(loaded ? m_loaded.numbers.name
                                             : analysis::sourceLabel(item->text().toStdString()));
        m_jobFiles.push_back(
            loaded ? std::string()
                   : QFile::encodeName(item->data(Qt::UserRole).toString()).toStdString());
    }
    m_running = true;
    m_spinsDone = m_spinsTotal = 0;
    m_clock.start();
    m_calculate->setEnabled(false);
    m_cancel->setEnabled(true);
    m_progressBar->setValue(0);
    m_progressText->setText(QStringLiteral("Wird berechnet \u2026"));
    m_job->run(std::move(input));
}

void AnalysisWindow::cancel() {
    m_job->cancel();
}

void AnalysisWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_splitterPlaced || !splitterState().isEmpty()) {
        return;
    }
    m_splitterPlaced = true;
    // The table gets room for its caption, its header and a dozen steps, the
    // charts what is left, but at least the height their legend needs
    // (on a low screen two thirds).
    const int row = m_table->verticalHeader()->defaultSectionSize();
    const int table = 3 * m_caption->fontMetrics().lineSpacing() + 14 * row;
    const int total = m_splitter->height() - m_splitter->handleWidth();
    const int legend = 25 * m_caption->fontMetrics().lineSpacing();
    const int charts = std::max(total - table, std::min(legend, total * 2 / 3));
    m_splitter->setSizes({charts, total - charts});
}

// Escape closes as in a dialog: a box that has no use for the key passes it
// on to here, where a shortcut would take it from the box first.
void AnalysisWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void AnalysisWindow::closeEvent(QCloseEvent* event) {
    cancel(); // nobody watches a closed window's work
    QWidget::closeEvent(event);
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
    m_refused = files;
    m_refusals->setText(refusalText());
    m_refusals->setVisible(!files.empty());
}

void AnalysisWindow::ended() {
    m_running = false;
    m_cancel->setEnabled(false);
    entriesChanged();
    emit finished();
}

// The runs of a stopped job are incomplete: the last results stay.
void AnalysisWindow::showStopped(const QString& text) {
    m_progressBar->reset();
    if (text == QLatin1String(analysis::kStoppedText)) {
        QString said =
            QStringLiteral("Abgebrochen nach %1 s")
                .arg(QLocale().toString(static_cast<double>(m_clock.elapsed()) / 1000.0, 'f', 1));
        if (m_spinsTotal > 0) {
            said += QStringLiteral(" bei %L1 von %L2 Würfen").arg(m_spinsDone).arg(m_spinsTotal);
        }
        said += m_result ? QStringLiteral("; gezeigt bleibt die vorige Berechnung.")
                         : QStringLiteral(".");
        m_progressText->setText(said);
    } else {
        m_progressText->setText(text);
    }
    ended();
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

} // namespace cr::ui
