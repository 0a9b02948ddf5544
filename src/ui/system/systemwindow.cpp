// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/system/systemwindow.h"

#include "analysis/betlog.h"
#include "analysis/entries.h"
#include "analysis/progresstext.h"
#include "analysis/runs.h"
#include "analysis/sources.h"
#include "core/limits.h"
#include "core/readproblem.h"
#include "ui/analysis/jobrunner.h"
#include "ui/files/saveimage.h"
#include "ui/files/stepsaver.h"
#include "ui/system/systemcharts.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
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

namespace {

const QString kTitle = QStringLiteral("Systemtest");
constexpr long long kMostSessions = 1'000'000'000;
constexpr long long kMostSessionSpins = 1'000'000'000;

// The whole number in a box, least to most, as the seed's rule reads digits.
std::optional<long long> boxNumber(const QLineEdit* box, long long least, long long most) {
    const std::optional<std::uint64_t> value = parseSeed(box->text().toStdString());
    if (!value || *value < static_cast<std::uint64_t>(least) ||
        *value > static_cast<std::uint64_t>(most)) {
        return std::nullopt;
    }
    return static_cast<long long>(*value);
}

QString grouped(long long n) {
    return QLocale().toString(n);
}

QString rangeRefusal(const QString& what, long long least, long long most) {
    return QStringLiteral("%1 muss eine ganze Zahl von %2 bis %3 sein.")
        .arg(what, grouped(least), grouped(most));
}

QLineEdit* numberBox(QWidget* parent, const QString& text, const QString& tip) {
    auto* box = new QLineEdit(text, parent);
    box->setToolTip(tip);
    box->setMaximumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0000000000000")));
    return box;
}

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
    setWindowTitle(kTitle);
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

QWidget* SystemWindow::buildForm() {
    auto* form = new QWidget(this);
    auto* layout = new QFormLayout(form);
    m_fromRun = new QRadioButton(QStringLiteral("Lauf des Hauptfensters"), form);
    m_fromRun->setToolTip(QStringLiteral(
        "Die Zahlen des Hauptfensters: seine geöffnete Permanenz oder die bisher gezogenen "
        "Würfe."));
    m_fromFiles = new QRadioButton(QStringLiteral("Dateien"), form);
    m_fromFiles->setToolTip(QStringLiteral("Permanenzdateien; jede Datei ist eine Sitzung von "
                                           "ihrem ersten Wurf an, oder wird in Sitzungen "
                                           "geschnitten."));
    m_simulation = new QRadioButton(QStringLiteral("Simulation"), form);
    m_simulation->setToolTip(QStringLiteral("Zufällige Sitzungen, gezogen wie in "
                                            "\u201eAuswertung\u201c zum selben Seed."));
    m_fromRun->setChecked(true);
    auto* sources = new QVBoxLayout;
    sources->addWidget(m_fromRun);
    sources->addWidget(m_fromFiles);
    m_files = new QListWidget(form);
    m_files->setToolTip(QStringLiteral("Die Dateien, die getestet werden."));
    m_files->setMaximumHeight(90);
    m_files->setSelectionMode(QAbstractItemView::ExtendedSelection);
    sources->addWidget(m_files);
    auto* fileButtons = new QHBoxLayout;
    auto* add = new QPushButton(QStringLiteral("Hinzufügen \u2026"), form);
    add->setToolTip(QStringLiteral("Permanenzdateien zur Liste hinzufügen."));
    connect(add, &QPushButton::clicked, this, [this] {
        const QStringList paths = QFileDialog::getOpenFileNames(
            this, QStringLiteral("Permanenzen hinzufügen"), m_lastFolder,
            QStringLiteral("Permanenzen (*.txt *.csv);;Alle Dateien (*)"));
        addFiles(paths);
    });
    auto* remove = new QPushButton(QStringLiteral("Entfernen"), form);
    remove->setToolTip(QStringLiteral("Die markierten Dateien aus der Liste nehmen."));
    connect(remove, &QPushButton::clicked, this, [this] {
        qDeleteAll(m_files->selectedItems());
        entriesChanged();
    });
    fileButtons->addWidget(add);
    fileButtons->addWidget(remove);
    sources->addLayout(fileButtons);
    sources->addWidget(m_simulation);
    layout->addRow(QStringLiteral("Quelle:"), sources);
    m_sessions = numberBox(form, QStringLiteral("1000"),
                           QStringLiteral("Wie viele Sitzungen simuliert werden."));
    m_seed = numberBox(form, QStringLiteral("1"),
                       QStringLiteral("Der Startwert des Zufalls: derselbe Seed ergibt dieselben "
                                      "Sitzungen."));
    layout->addRow(QStringLiteral("Sitzungen:"), m_sessions);
    layout->addRow(QStringLiteral("Seed:"), m_seed);
    m_length = numberBox(
        form, QString(),
        QStringLiteral("Würfe je Sitzung; leer: der ganze Lauf oder jede ganze Datei ist eine "
                       "Sitzung. Ein Rest kürzer als eine Sitzung bleibt außen vor."));
    layout->addRow(QStringLiteral("Würfe je Sitzung:"), m_length);

    m_marsch = new QComboBox(form);
    const std::pair<const char*, const char*> marsches[] = {
        {"rot", "Bei jedem Wurf Rot."},
        {"schwarz", "Bei jedem Wurf Schwarz."},
        {"manque", "Bei jedem Wurf Manque (1\u201318)."},
        {"passe", "Bei jedem Wurf Passe (19\u201336)."},
        {"gerade", "Bei jedem Wurf Gerade."},
        {"ungerade", "Bei jedem Wurf Ungerade."},
        {"leer", "Ausgleich: ab Step 2 an jeder Position die Seite, deren Feld dort seit Beginn "
                 "der Sitzung leer ist, während das andere getroffen wurde."},
        {"folge", "Nachsatz: ab Step 2 an jeder Position die Seite, die dort im vorigen Step "
                  "fiel; nichts, wenn dort die Null fiel."},
        {"gegen", "Die andere Seite als beim Nachsatz."},
        {"letzter", "Die Seite des vorigen Wurfs; nichts beim ersten Wurf und nach der Null."},
    };
    for (const auto& [name, tip] : marsches) {
        m_marsch->addItem(QString::fromLatin1(name), QString::fromLatin1(name));
        m_marsch->setItemData(m_marsch->count() - 1, QString::fromUtf8(tip), Qt::ToolTipRole);
    }
    m_marsch->setCurrentIndex(6);
    m_marsch->setToolTip(QStringLiteral("Der Marsch: welche Seite vor jedem Wurf gesetzt wird."));
    layout->addRow(QStringLiteral("Marsch:"), m_marsch);
    auto* pairs = new QHBoxLayout;
    const char* pairNames[] = {"R/S", "M/P", "G/U"};
    for (int pair = 0; pair < kPairCount; ++pair) {
        auto* box = new QCheckBox(QString::fromLatin1(pairNames[pair]), form);
        box->setChecked(true);
        box->setToolTip(QStringLiteral("Ob Ausgleich, Nachsatz, gegen und letzter auf %1 setzen; "
                                       "jedes Paar hat seine eigene Einsatzfolge.")
                            .arg(box->text()));
        m_pairs[static_cast<std::size_t>(pair)] = box;
        pairs->addWidget(box);
    }
    layout->addRow(QStringLiteral("Paare:"), pairs);
    m_progression = new QComboBox(form);
    const std::pair<const char*, const char*> progressions[] = {
        {"flat", "Immer der Grundeinsatz."},
        {"martingale", "Nach einem Verlust verdoppeln, nach einem Gewinn zurück zum Grundeinsatz."},
        {"paroli", "Nach einem Gewinn verdoppeln, nach so vielen Gewinnen in Folge wie unter "
                   "\u201eParoli\u201c oder einem Verlust zurück zum Grundeinsatz."},
        {"dalembert", "Nach einem Verlust ein Grundeinsatz mehr, nach einem Gewinn einer weniger "
                      "(nie unter den Grundeinsatz)."},
    };
    for (const auto& [name, tip] : progressions) {
        m_progression->addItem(QString::fromLatin1(name), QString::fromLatin1(name));
        m_progression->setItemData(m_progression->count() - 1, QString::fromUtf8(tip),
                                   Qt::ToolTipRole);
    }
    m_progression->setToolTip(QStringLiteral(
        "Die Progression: wie der Einsatz nach Gewinn und Verlust wächst. Eine Null zählt als "
        "Verlust; ein Einsatz über dem Limit geht zurück auf den Grundeinsatz."));
    layout->addRow(QStringLiteral("Progression:"), m_progression);
    m_unit = numberBox(form, QStringLiteral("1"), QStringLiteral("Der Grundeinsatz."));
    m_limit = numberBox(form, QStringLiteral("1000"),
                        QStringLiteral("Das Tischlimit: der höchste Einsatz, den der Tisch "
                                       "annimmt."));
    m_capital = numberBox(
        form, QStringLiteral("0"),
        QStringLiteral("Das Startkapital; 0 = unbegrenzt. Decken es die Einsätze eines Wurfs "
                       "nicht mehr, endet die Sitzung dort als \u201eruiniert\u201c."));
    layout->addRow(QStringLiteral("Einsatz:"), m_unit);
    layout->addRow(QStringLiteral("Limit:"), m_limit);
    layout->addRow(QStringLiteral("Kapital:"), m_capital);
    m_zero = new QComboBox(form);
    const std::pair<const char*, const char*> zeros[] = {
        {"partage", "Bei Null kommt der halbe Einsatz zurück."},
        {"prison", "Bei Null bleibt der Einsatz gesperrt: gewinnt seine Seite beim nächsten "
                   "Wurf, kommt er ohne Gewinn frei, sonst ist er verloren."},
        {"verloren", "Bei Null ist der ganze Einsatz verloren."},
    };
    for (const auto& [name, tip] : zeros) {
        m_zero->addItem(QString::fromLatin1(name), QString::fromLatin1(name));
        m_zero->setItemData(m_zero->count() - 1, QString::fromUtf8(tip), Qt::ToolTipRole);
    }
    m_zero->setToolTip(QStringLiteral("Was mit einem Einsatz auf eine einfache Chance "
                                      "geschieht, wenn die Null fällt."));
    layout->addRow(QStringLiteral("Zero-Regel:"), m_zero);
    m_paroli = numberBox(form, QStringLiteral("3"),
                         QStringLiteral("Beim Paroli: nach so vielen Gewinnen in Folge zurück "
                                        "zum Grundeinsatz."));
    layout->addRow(QStringLiteral("Paroli:"), m_paroli);
    m_steprate = numberBox(form, QStringLiteral("37"),
                           QStringLiteral("Würfe je Step, wie im Hauptfenster: Ausgleich und "
                                          "Nachsatz zählen die Positionen im Step."));
    layout->addRow(QStringLiteral("Step-Rate:"), m_steprate);

    m_cost = new QLabel(form);
    m_cost->setWordWrap(true);
    m_cost->setToolTip(QStringLiteral(
        "Wie viele Würfe gespielt werden, wie lange das etwa dauert und wie viel Speicher die "
        "Ergebnisse der Sitzungen brauchen; über einer Minute oder 1 GB wird vorher gefragt."));
    layout->addRow(m_cost);
    m_refusal = new QLabel(form);
    m_refusal->setWordWrap(true);
    m_refusal->setStyleSheet(QStringLiteral("color: #c00000"));
    layout->addRow(m_refusal);
    m_calculate = new QPushButton(QStringLiteral("Berechnen"), form);
    m_calculate->setToolTip(QStringLiteral("Das System über die gewählte Quelle spielen."));
    m_calculate->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Abbrechen"), form);
    m_cancel->setToolTip(QStringLiteral("Die laufende Berechnung anhalten."));
    m_cancel->setEnabled(false);
    connect(m_calculate, &QPushButton::clicked, this, &SystemWindow::calculate);
    connect(m_cancel, &QPushButton::clicked, this, &SystemWindow::cancel);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_calculate);
    buttons->addWidget(m_cancel);
    layout->addRow(buttons);
    m_progressBar = new QProgressBar(form);
    m_progressBar->setRange(0, 1000);
    m_progressBar->setTextVisible(false);
    m_progressBar->setToolTip(QStringLiteral("Wie weit die Berechnung ist."));
    m_progressText = new QLabel(form);
    layout->addRow(m_progressBar);
    layout->addRow(m_progressText);

    for (QRadioButton* b : {m_fromRun, m_fromFiles, m_simulation}) {
        connect(b, &QRadioButton::toggled, this, &SystemWindow::entriesChanged);
    }
    for (QLineEdit* box :
         {m_sessions, m_seed, m_length, m_unit, m_limit, m_capital, m_paroli, m_steprate}) {
        connect(box, &QLineEdit::textChanged, this, &SystemWindow::entriesChanged);
    }
    for (QComboBox* c : {m_marsch, m_progression, m_zero}) {
        connect(c, &QComboBox::currentIndexChanged, this, &SystemWindow::entriesChanged);
    }
    for (QCheckBox* box : m_pairs) {
        connect(box, &QCheckBox::toggled, this, &SystemWindow::entriesChanged);
    }
    return form;
}

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

void SystemWindow::useMainRun() {
    m_fromRun->setChecked(true);
}

void SystemWindow::addFiles(const QStringList& paths) {
    for (const QString& path : paths) {
        auto* item = new QListWidgetItem(QFileInfo(path).fileName(), m_files);
        item->setData(Qt::UserRole, path);
        item->setToolTip(QDir::toNativeSeparators(path));
        m_lastFolder = QFileInfo(path).absolutePath();
    }
    if (!paths.isEmpty()) {
        m_fromFiles->setChecked(true);
    }
    entriesChanged();
}

void SystemWindow::chooseSimulation(long long sessions, std::uint64_t seed) {
    m_sessions->setText(QString::number(sessions));
    m_seed->setText(QString::number(seed));
    m_simulation->setChecked(true);
}

void SystemWindow::setRules(const SystemRules& rules) {
    m_marsch->setCurrentIndex(m_marsch->findData(QString::fromLatin1(nameOf(rules.marsch))));
    m_progression->setCurrentIndex(
        m_progression->findData(QString::fromLatin1(nameOf(rules.progression))));
    m_zero->setCurrentIndex(m_zero->findData(QString::fromLatin1(nameOf(rules.zero))));
    for (std::size_t pair = 0; pair < m_pairs.size(); ++pair) {
        m_pairs[pair]->setChecked(rules.pairs[pair]);
    }
    m_unit->setText(QString::number(rules.unit));
    m_limit->setText(QString::number(rules.limit));
    m_capital->setText(QString::number(rules.capital));
    m_paroli->setText(QString::number(rules.paroliWins));
    m_steprate->setText(QString::number(rules.steprate));
}

std::optional<SystemRules> SystemWindow::rules() const {
    if (!entryRefusal().isEmpty()) {
        return std::nullopt;
    }
    SystemRules r;
    r.marsch = *marschNamed(m_marsch->currentData().toString().toStdString());
    r.progression = *progressionNamed(m_progression->currentData().toString().toStdString());
    r.zero = *zeroRuleNamed(m_zero->currentData().toString().toStdString());
    if (r.marsch >= Marsch::Leer) {
        for (std::size_t pair = 0; pair < m_pairs.size(); ++pair) {
            r.pairs[pair] = m_pairs[pair]->isChecked();
        }
    }
    r.unit = *boxNumber(m_unit, 1, kMostMoney);
    r.limit = *boxNumber(m_limit, 1, kMostMoney);
    r.capital = *boxNumber(m_capital, 0, kMostMoney);
    if (r.progression == Progression::Paroli) {
        r.paroliWins = static_cast<int>(*boxNumber(m_paroli, 1, kMostParoliWins));
    }
    r.steprate = static_cast<int>(*boxNumber(m_steprate, 1, kMaxSteprate));
    return r;
}

QString SystemWindow::entryRefusal() const {
    if (m_fromFiles->isChecked() && m_files->count() == 0) {
        return QStringLiteral("Es ist keine Datei gewählt: Bitte mit \u201eHinzufügen \u2026\u201c "
                              "eine Permanenz hinzufügen.");
    }
    const bool simulation = m_simulation->isChecked();
    if (simulation && !boxNumber(m_sessions, 1, kMostSessions)) {
        return rangeRefusal(QStringLiteral("Die Zahl der Sitzungen"), 1, kMostSessions);
    }
    if (simulation && !parseSeed(m_seed->text().toStdString())) {
        return QString::fromStdString(seedRefusal(m_seed->text().toStdString(), Language::German));
    }
    if (simulation && m_length->text().trimmed().isEmpty()) {
        return QStringLiteral("Für eine Simulation ist die Zahl der Würfe je Sitzung nötig.");
    }
    if (!m_length->text().trimmed().isEmpty() && !boxNumber(m_length, 1, kMostSessionSpins)) {
        return rangeRefusal(QStringLiteral("Die Zahl der Würfe je Sitzung"), 1, kMostSessionSpins);
    }
    const auto marsch = marschNamed(m_marsch->currentData().toString().toStdString());
    if (marsch >= Marsch::Leer &&
        std::none_of(m_pairs.begin(), m_pairs.end(), [](QCheckBox* b) { return b->isChecked(); })) {
        return QStringLiteral("Es ist kein Paar gewählt: Der Marsch hätte nichts zu setzen.");
    }
    const auto unit = boxNumber(m_unit, 1, kMostMoney);
    if (!unit) {
        return rangeRefusal(QStringLiteral("Der Einsatz"), 1, kMostMoney);
    }
    const auto limit = boxNumber(m_limit, 1, kMostMoney);
    if (!limit) {
        return rangeRefusal(QStringLiteral("Das Limit"), 1, kMostMoney);
    }
    if (*limit < *unit) {
        return QStringLiteral("Das Limit liegt unter dem Einsatz: Der Tisch nähme keinen "
                              "Einsatz an.");
    }
    if (!boxNumber(m_capital, 0, kMostMoney)) {
        return rangeRefusal(QStringLiteral("Das Kapital"), 0, kMostMoney);
    }
    if (m_progression->currentData().toString() == QLatin1String("paroli") &&
        !boxNumber(m_paroli, 1, kMostParoliWins)) {
        return rangeRefusal(QStringLiteral("Paroli"), 1, kMostParoliWins);
    }
    if (!boxNumber(m_steprate, 1, kMaxSteprate)) {
        return rangeRefusal(QStringLiteral("Die Step-Rate"), 1, kMaxSteprate);
    }
    return {};
}

void SystemWindow::entriesChanged() {
    const bool simulation = m_simulation->isChecked();
    m_sessions->setEnabled(simulation);
    m_seed->setEnabled(simulation);
    const auto marsch = marschNamed(m_marsch->currentData().toString().toStdString());
    for (QCheckBox* box : m_pairs) {
        box->setEnabled(marsch >= Marsch::Leer);
    }
    m_paroli->setEnabled(m_progression->currentData().toString() == QLatin1String("paroli"));
    if (!busy()) {
        m_refusal->setText(entryRefusal());
    }
    showCost();
}

// The simulation's cost is known from its entries; files are bounded by their
// size (a spin takes at least two bytes), the main run by its numbers.
void SystemWindow::showCost() {
    const long long length = boxNumber(m_length, 1, kMostSessionSpins).value_or(0);
    long long sessions = 0;
    long long spins = length;
    long long fileSpins = 0;
    bool bound = false;
    if (m_simulation->isChecked()) {
        sessions = length > 0 ? boxNumber(m_sessions, 1, kMostSessions).value_or(0) : 0;
    } else {
        if (m_fromFiles->isChecked()) {
            for (int i = 0; i < m_files->count(); ++i) {
                fileSpins += QFileInfo(m_files->item(i)->data(Qt::UserRole).toString()).size() / 2;
            }
            bound = true;
        } else {
            fileSpins = m_mainRunSize ? m_mainRunSize() : 0;
        }
        sessions = length > 0 ? fileSpins / length : (fileSpins > 0 ? 1 : 0);
        spins = length > 0 ? length : fileSpins;
    }
    m_estimate = estimateSystemCost(sessions, spins, 1, true, fileSpins);
    m_cost->setText(QStringLiteral("Aufwand: ") + (bound ? QStringLiteral("bis zu ") : QString()) +
                    QString::fromStdString(costLine(m_estimate, 1, Language::German)));
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
            this, kTitle,
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

QString SystemWindow::betLogText() const {
    return m_outcome ? QString::fromStdString(betLog(m_outcome->trace.bets)) : QString();
}

void SystemWindow::saveText(const QString& title, const QString& name, const QString& text) {
    QString filter;
    const QString chosen =
        QFileDialog::getSaveFileName(this, title, QDir(m_lastFolder).filePath(name),
                                     QStringLiteral("TSV (*.tsv);;Text (*.txt)"), &filter);
    if (chosen.isEmpty()) {
        return;
    }
    const QString path = withFilterSuffix(chosen, filter);
    m_lastFolder = QFileInfo(path).absolutePath();
    const QByteArray bytes = text.toUtf8();
    const WriteResult result = writeWholeFile(
        path, std::string_view(bytes.data(), static_cast<std::size_t>(bytes.size())));
    if (!result.ok) {
        QMessageBox::warning(this, kTitle, result.error);
    }
}

void SystemWindow::saveCurve() {
    QString filter;
    const QString chosen = QFileDialog::getSaveFileName(
        this, QStringLiteral("Kurve speichern"), QDir(m_lastFolder).filePath("systemtest.png"),
        QStringLiteral("PNG (*.png);;SVG (*.svg)"), &filter);
    if (chosen.isEmpty()) {
        return;
    }
    const QString path = withFilterSuffix(chosen, filter);
    m_lastFolder = QFileInfo(path).absolutePath();
    if (!saveWidgetImage(m_chart, path, kTitle)) {
        QMessageBox::warning(this, kTitle, QStringLiteral("Die Kurve wurde nicht gespeichert."));
    }
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
