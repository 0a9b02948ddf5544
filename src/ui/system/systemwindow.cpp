// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/system/systemwindow.h"

#include "analysis/entries.h"
#include "analysis/progresstext.h"
#include "analysis/runs.h"
#include "analysis/sources.h"
#include "core/limits.h"
#include "core/readproblem.h"
#include "ui/analysis/jobrunner.h"
#include "ui/system/systemcharts.h"
#include "ui/system/systemform.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace cr::ui {

using namespace analysis;
using namespace systemform;

namespace {

struct Column {
    const char* header;
    const char* toolName;
    const char* tip;
};
const Column kColumns[] = {
    {"Quelle", "file",
     "Die Datei, der Lauf des Hauptfensters, die Simulation oder alle Dateien zusammen."},
    {"Sitzungen", "sessions",
     "Wie viele Sitzungen gespielt wurden; jede beginnt wie nach \u201eReset\u201c, mit dem "
     "Grundeinsatz und vollem Kapital."},
    {"Wetten", "bets", "Wie viele Einsätze gesetzt wurden, über alle Sitzungen."},
    {"Umsatz", "turnover", "Die Summe aller Einsätze."},
    {"Ergebnis", "result", "Gewinn (positiv) oder Verlust (negativ) aller Sitzungen zusammen."},
    {"Erwartet", "expected",
     "Was im Mittel zu erwarten ist: der Umsatz mal dem Vorteil der Bank (1/74 bei Partage, "
     "19/1369 bei Prison, 1/37 bei Verloren), als Verlust."},
    {"\u03c3", "sd",
     "Die Standardabweichung des Ergebnisses bei den gesetzten Einsätzen: so weit streut "
     "reiner Zufall um den Erwartungswert."},
    {"z", "z", "(Ergebnis \u2212 Erwartet) \u00f7 \u03c3; leer, wenn nichts gesetzt wurde."},
    {"Gewonnen", "won_share",
     "Der Anteil der Sitzungen, die über ihrem Anfangsstand endeten, in Prozent (das Werkzeug "
     "schreibt ihn als Bruchteil: 0.25 für 25 %)."},
    {"Ruiniert", "ruined_share",
     "Der Anteil der Sitzungen, die endeten, weil das Kapital die nächsten Einsätze nicht mehr "
     "deckte, in Prozent (das Werkzeug schreibt ihn als Bruchteil: 0.25 für 25 %)."},
    {"Größter Rückgang", "max_drawdown",
     "Der größte Fall des Kontostands von seinem bisherigen Höchststand, in irgendeiner "
     "Sitzung."},
    {"Größter Einsatz", "max_stake", "Der größte einzelne Einsatz."},
};

QString share(long long part, long long whole) {
    const double value =
        whole > 0 ? 100.0 * static_cast<double>(part) / static_cast<double>(whole) : 0;
    return QLocale().toString(value, 'f', 2) + QStringLiteral(" %");
}

QString money(double value) {
    return QLocale().toString(value, 'f', value == std::floor(value) ? 0 : 1);
}

} // namespace

SystemWindow::SystemWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(kSystemTitle);
    m_runner = new JobRunner(this);
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(buildForm());
    splitter->addWidget(buildResults());
    splitter->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter);
    auto* closeAction = new QAction(this);
    closeAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    connect(closeAction, &QAction::triggered, this, &QWidget::close);
    addAction(closeAction);
    connect(m_runner, &JobRunner::progressed, this,
            [this](long long done, long long total, const QString& text) {
                const int permille = progressPermille(done, total);
                if (permille >= 0) {
                    m_progressBar->setValue(permille);
                }
                m_progressText->setText(text);
            });
    connect(m_runner, &JobRunner::ended, this, &SystemWindow::showOutcome);
    resize(1100, 720);
    entriesChanged();
}

SystemWindow::~SystemWindow() = default;

QWidget* SystemWindow::buildResults() {
    auto* results = new QWidget(this);
    auto* layout = new QVBoxLayout(results);
    auto* charts = new QHBoxLayout;
    m_chart = new BalanceChart(results);
    m_histogram = new SessionHistogram(results);
    charts->addWidget(m_chart, 2);
    charts->addWidget(m_histogram, 1);
    layout->addLayout(charts, 1);
    m_summary = new QLabel(results);
    m_summary->setWordWrap(true);
    m_summary->setToolTip(QStringLiteral(
        "Über welche Sitzung die Kurve geht, und welcher Anteil aller Sitzungen gewonnen "
        "(über dem Anfangsstand geendet) und ruiniert (am Kapital gescheitert) ist."));
    layout->addWidget(m_summary);
    m_table = new QTableWidget(0, static_cast<int>(std::size(kColumns)), results);
    for (int c = 0; c < m_table->columnCount(); ++c) {
        const Column& column = kColumns[c];
        auto* item = new QTableWidgetItem(QString::fromUtf8(column.header));
        item->setToolTip(
            QStringLiteral("%1 (im Werkzeug: %2)")
                .arg(QString::fromUtf8(column.tip), QString::fromLatin1(column.toolName)));
        m_table->setHorizontalHeaderItem(c, item);
    }
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->setMaximumHeight(140);
    layout->addWidget(m_table);
    m_luck = new QLabel(results);
    m_luck->setWordWrap(true);
    m_luck->setToolTip(QStringLiteral(
        "Ob das Ergebnis Können oder Glück ist: z misst den Abstand zum Erwartungswert in "
        "Standardabweichungen, die Zufallschance sagt, wie oft reiner Zufall so gut oder "
        "besser abschneidet."));
    layout->addWidget(m_luck);
    auto* output = new QHBoxLayout;
    auto* copy = new QPushButton(QStringLiteral("Protokoll kopieren"), results);
    copy->setToolTip(QStringLiteral(
        "Jede Wette der gezeigten Sitzung als Tabelle für eine Tabellenkalkulation in die "
        "Zwischenablage: Wurf, Zahl, Paar, Seite, Einsatz, Auszahlung, Stand."));
    connect(copy, &QPushButton::clicked, this,
            [this] { QApplication::clipboard()->setText(betLogText()); });
    auto* save = new QPushButton(QStringLiteral("Protokoll speichern \u2026"), results);
    save->setToolTip(QStringLiteral("Jede Wette der gezeigten Sitzung als TSV-Datei speichern."));
    connect(save, &QPushButton::clicked, this, [this] {
        saveText(QStringLiteral("Protokoll speichern"), QStringLiteral("protokoll.tsv"),
                 betLogText());
    });
    auto* curve = new QPushButton(QStringLiteral("Kurve speichern \u2026"), results);
    curve->setToolTip(QStringLiteral("Die Kurve als Bild (PNG oder SVG) speichern."));
    connect(curve, &QPushButton::clicked, this, &SystemWindow::saveCurve);
    output->addStretch(1);
    for (QPushButton* b : {copy, save, curve}) {
        output->addWidget(b);
        b->setEnabled(false); // nothing to keep before a result
        m_outputButtons.push_back(b);
    }
    layout->addLayout(output);
    return results;
}

void SystemWindow::calculate() {
    if (busy()) {
        return;
    }
    const std::optional<SystemRules> rules = this->rules();
    if (!rules) {
        m_refusal->setText(entryRefusal());
        return;
    }
    auto request = std::make_shared<SystemRequest>();
    request->rules = *rules;
    if (!m_length->text().trimmed().isEmpty()) {
        request->length = *boxNumber(m_length, 1, kMostSessionSpins);
    }
    if (m_simulation->isChecked()) {
        request->from = From::Simulation;
        request->sessions = *boxNumber(m_sessions, 1, kMostSessions);
        request->seed = *parseSeed(m_seed->text().toStdString());
    } else if (m_fromFiles->isChecked()) {
        request->from = From::Files;
        for (int i = 0; i < m_files->count(); ++i) {
            const QString path = m_files->item(i)->data(Qt::UserRole).toString();
            request->files.push_back(QFile::encodeName(path).toStdString());
            request->fileNames << m_files->item(i)->text();
        }
    } else {
        request->run = m_mainRun ? m_mainRun() : MainRun{};
        if (request->run.numbers.empty()) {
            m_refusal->setText(QStringLiteral("Der Lauf des Hauptfensters hat noch keine Würfe: "
                                              "Bitte dort einen Lauf starten oder eine "
                                              "Permanenz öffnen."));
            return;
        }
    }
    showCost();
    if (worthAsking(m_estimate) &&
        QMessageBox::question(
            this, kSystemTitle,
            QStringLiteral("Die Berechnung braucht voraussichtlich: %1.\n\nJetzt berechnen?")
                .arg(m_cost->text()),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes) {
        return;
    }
    m_refusal->clear();
    m_pending = std::make_shared<SystemOutcome>();
    m_calculate->setEnabled(false);
    m_cancel->setEnabled(true);
    m_progressBar->setValue(0);
    m_progressText->clear();
    m_clock.start();
    m_runner->start([request, out = m_pending](JobProgress& progress) {
        computeSystem(*request, *out, progress);
    });
}

void SystemWindow::cancel() {
    m_runner->cancel();
}

bool SystemWindow::busy() const {
    return m_runner->busy();
}

void SystemWindow::waitUntilDone() {
    m_runner->waitUntilDone();
}

QString SystemWindow::refusalText() const {
    return m_refusal->text();
}

QString SystemWindow::costText() const {
    return m_cost->text();
}

void SystemWindow::showOutcome(bool outOfMemory) {
    m_calculate->setEnabled(true);
    m_cancel->setEnabled(false);
    const std::shared_ptr<SystemOutcome> out = std::move(m_pending);
    if (outOfMemory || !out) {
        m_refusal->setText(QStringLiteral("Für diese Berechnung reicht der Speicher nicht: "
                                          "Bitte kürzere oder weniger Sitzungen wählen."));
        emit finished();
        return;
    }
    if (out->stopped) {
        m_progressText->setText(QStringLiteral("Abgebrochen; das vorige Ergebnis bleibt stehen."));
        emit finished();
        return;
    }
    m_outcome = out;
    m_progressBar->setValue(m_progressBar->maximum());
    const long long sessions = out->lines.empty() ? 0 : out->lines.back().totals.sessions;
    m_progressText->setText(
        QStringLiteral("Fertig: %1 Sitzungen in %2 s")
            .arg(grouped(sessions),
                 QLocale().toString(static_cast<double>(m_clock.elapsed()) / 1000.0, 'f', 1)));
    m_refusal->setText(out->problems.join(QLatin1Char('\n')));
    m_chart->setSession(out->trace);
    m_histogram->setResults(out->sessionResults);
    m_table->setRowCount(static_cast<int>(out->lines.size()));
    const QLocale locale;
    for (std::size_t row = 0; row < out->lines.size(); ++row) {
        const SystemTotals& t = out->lines[row].totals;
        const std::optional<double> z = t.z();
        const QString cells[] = {
            out->lines[row].name,
            grouped(t.sessions),
            grouped(t.bets),
            money(t.turnover),
            money(t.result),
            locale.toString(t.expected, 'f', 4),
            locale.toString(t.sd(), 'f', 4),
            z ? locale.toString(*z, 'f', 4) : QString(),
            share(t.won, t.sessions),
            share(t.ruined, t.sessions),
            money(t.maxDrawdown),
            money(t.maxStake),
        };
        for (int c = 0; c < m_table->columnCount(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setToolTip(m_table->horizontalHeaderItem(c)->toolTip());
            m_table->setItem(static_cast<int>(row), c, item);
        }
    }
    m_table->resizeColumnsToContents();
    // Every line in view up to the six of five files and their pool.
    int rowsHeight = 0;
    for (int row = 0; row < std::min(m_table->rowCount(), 6); ++row) {
        rowsHeight += m_table->rowHeight(row);
    }
    m_table->setFixedHeight(m_table->horizontalHeader()->height() + rowsHeight +
                            m_table->horizontalScrollBar()->sizeHint().height() +
                            2 * m_table->frameWidth() + 2);
    const SystemTotals& all = out->lines.empty() ? SystemTotals{} : out->lines.back().totals;
    QString summary =
        QStringLiteral("Die Kurve zeigt die erste Sitzung (%1 Würfe, Ergebnis %2%3). Von %4 "
                       "Sitzungen endeten %5 im Gewinn und %6 ruiniert.")
            .arg(grouped(out->first.spins), money(out->first.result),
                 out->first.ruined ? QStringLiteral(", ruiniert") : QString(),
                 grouped(all.sessions), share(all.won, all.sessions),
                 share(all.ruined, all.sessions));
    m_summary->setText(summary);
    QString luck = QStringLiteral(
        "z gibt an, um wie viele Standardabweichungen (\u03c3) das Ergebnis über (positiv) oder "
        "unter (negativ) dem Erwartungswert liegt; Werte zwischen \u22122 und 2 sind gewöhnlicher "
        "Zufall.");
    if (out->luck) {
        luck += QStringLiteral(" Für die gezeigte Sitzung: So ein Ergebnis oder ein besseres gibt "
                               "reiner Zufall in etwa %1 von 100 Fällen (%2).")
                    .arg(locale.toString(out->luck->probability * 100, 'f', 1),
                         out->luck->exact
                             ? QStringLiteral("exakt berechnet")
                             : QStringLiteral("geschätzt aus %1 zufälligen Sitzungen mit denselben "
                                              "Regeln")
                                   .arg(grouped(out->luck->trials)));
    } else if (out->first.spins > 0) {
        luck += QStringLiteral(" Wie oft reiner Zufall so eine lange Sitzung so gut oder besser "
                               "abschließt, wird nicht geschätzt: Das dauerte zu lange.");
    }
    m_luck->setText(luck);
    for (QPushButton* b : m_outputButtons) {
        b->setEnabled(true);
    }
    emit finished();
}

void SystemWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void SystemWindow::showEvent(QShowEvent* event) {
    showCost();
    QWidget::showEvent(event);
}

void SystemWindow::closeEvent(QCloseEvent* event) {
    cancel(); // nobody watches a closed window's work
    QWidget::closeEvent(event);
}

} // namespace cr::ui
