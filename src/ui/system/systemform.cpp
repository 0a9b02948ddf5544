// SPDX-License-Identifier: GPL-3.0-or-later
// The form of "Systemtest": its boxes and choices, their checks and the cost
// line; the results and the work are in systemwindow.cpp.
#include "ui/system/systemform.h"

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
#include "ui/system/systemwindow.h"

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
using namespace systemform;

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

} // namespace cr::ui
