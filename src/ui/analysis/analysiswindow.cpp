// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/analysis/analysiswindow.h"

#include "analysis/analysisform.h"
#include "analysis/entries.h"
#include "analysis/progresstext.h"
#include "core/texts.h"
#include "ui/analysis/analysisjob.h"
#include "ui/analysis/oddrunspanel.h"
#include "ui/analysis/seriesview.h"
#include "ui/analysis/summarymodel.h"
#include "ui/charts/coursechart.h"
#include "ui/charts/histogramchart.h"
#include "ui/charts/histogramview.h"
#include "ui/files/saveimage.h"
#include "ui/files/stepsaver.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace cr::ui {

namespace {

const QString kTitle = QStringLiteral("Auswertung");
const QString kChartFilters = QStringLiteral("PNG (*.png);;SVG (*.svg)");

// The splitter between charts and table, as the user left it last while
// the program runs.
QByteArray& splitterState() {
    static QByteArray state;
    return state;
}

QString decimalSeparator() {
    return QLocale().decimalPoint();
}

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A whole number typed into a box, 1 to most: the seed's rule for digits,
// so that no box takes what another refuses.
std::optional<long long> wholeNumber(const QString& text, long long most) {
    const std::optional<std::uint64_t> value = analysis::parseSeed(text.toStdString());
    if (!value || *value < 1 || *value > static_cast<std::uint64_t>(most)) {
        return std::nullopt;
    }
    return static_cast<long long>(*value);
}

// A box as wide as `widest` needs, never stretched by the form.
void sizeToContent(QLineEdit* box, const QString& widest) {
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(widest) + 16);
}

} // namespace

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

QWidget* AnalysisWindow::buildSources() {
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    m_fromFiles = new QRadioButton(QStringLiteral("Dateien"), box);
    m_fromFiles->setToolTip(QStringLiteral("Die angekreuzten Permanenzen der Liste werden in Läufe "
                                           "der gewählten Länge geteilt und ausgewertet."));
    m_fromFiles->setChecked(true);
    m_files = new QListWidget(box);
    m_files->setTextElideMode(Qt::ElideMiddle);
    m_files->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_files->setToolTip(QStringLiteral("Die Quellen: Angekreuzte Dateien werden ausgewertet. "
                                       "Der ganze Pfad steht im Hinweis des Eintrags."));
    {
        // Six rows (four on a low screen), as tall as a row with its check box.
        auto* probe = new QListWidgetItem(QStringLiteral("Xg"), m_files);
        probe->setCheckState(Qt::Checked);
        const QScreen* screen = QApplication::primaryScreen();
        const int rows = screen && screen->availableGeometry().height() < 900 ? 4 : 6;
        m_files->setFixedHeight(rows * m_files->sizeHintForRow(0) + 2 * m_files->frameWidth() + 2);
        delete probe;
    }
    connect(m_files, &QListWidget::itemChanged, this, &AnalysisWindow::entriesChanged);
    auto* remove = new QShortcut(QKeySequence(QKeySequence::Delete), m_files);
    remove->setContext(Qt::WidgetShortcut);
    connect(remove, &QShortcut::activated, this, &AnalysisWindow::removeSelectedSources);

    auto* add = new QPushButton(QStringLiteral("Hinzufügen \u2026"), box);
    add->setToolTip(QStringLiteral("Permanenzen (beide Formen) zur Liste hinzufügen."));
    connect(add, &QPushButton::clicked, this, [this] {
        addFiles(QFileDialog::getOpenFileNames(
            this, QStringLiteral("Permanenz öffnen"), saveFolder(),
            QStringLiteral("Permanenzen (*.txt *.csv);;Alle Dateien (*)")));
    });
    auto* removeButton = new QPushButton(QStringLiteral("Entfernen"), box);
    removeButton->setToolTip(
        QStringLiteral("Die markierten Einträge aus der Liste nehmen (Entf)."));
    connect(removeButton, &QPushButton::clicked, this, &AnalysisWindow::removeSelectedSources);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(removeButton);
    buttons->addStretch(1);

    m_simulation = new QRadioButton(QStringLiteral("Simulation"), box);
    m_simulation->setToolTip(QStringLiteral(
        "Statt Dateien: so viele Läufe aus Zufallszahlen, wie unter \u201eLäufe\u201c "
        "steht; derselbe Seed gibt dieselben Zahlen."));
    m_runsBox = new QLineEdit(QString::number(analysis::kDefaultRuns), box);
    m_runsBox->setToolTip(
        QStringLiteral("Zahl der simulierten Läufe, 1 bis %L1.").arg(analysis::kMaxRuns));
    sizeToContent(m_runsBox, QStringLiteral("100000000"));
    m_seedBox = new QLineEdit(QString::number(analysis::freshSeed()), box);
    m_seedBox->setToolTip(QStringLiteral("Startwert der Zufallszahlen: eine ganze Zahl (nur "
                                         "Ziffern). Derselbe Seed gibt dieselben Läufe."));
    sizeToContent(m_seedBox, QStringLiteral("184467440737095516150"));
    auto* simulation = new QHBoxLayout;
    auto* runsLabel = new QLabel(QStringLiteral("Läufe"), box);
    runsLabel->setBuddy(m_runsBox);
    auto* seedLabel = new QLabel(QStringLiteral("Seed"), box);
    seedLabel->setBuddy(m_seedBox);
    simulation->addWidget(runsLabel);
    simulation->addWidget(m_runsBox);
    simulation->addSpacing(12);
    simulation->addWidget(seedLabel);
    simulation->addWidget(m_seedBox);
    simulation->addStretch(1);
    connect(m_fromFiles, &QRadioButton::toggled, this, &AnalysisWindow::entriesChanged);
    connect(m_runsBox, &QLineEdit::textChanged, this, &AnalysisWindow::entriesChanged);
    connect(m_seedBox, &QLineEdit::textChanged, this, &AnalysisWindow::entriesChanged);

    grid->addWidget(m_fromFiles, 0, 0, Qt::AlignTop);
    grid->addWidget(m_files, 0, 1);
    grid->addLayout(buttons, 0, 2);
    grid->addWidget(m_simulation, 1, 0);
    grid->addLayout(simulation, 1, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    return box;
}

QWidget* AnalysisWindow::buildEntries() {
    auto* box = new QWidget(this);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* row = new QHBoxLayout;
    m_steprateBox = new QSpinBox(box);
    m_steprateBox->setRange(1, kMaxSteprate);
    m_steprateBox->setToolTip(
        QStringLiteral("Würfe je Step, 1 bis %L1, wie im Hauptfenster.").arg(kMaxSteprate));
    m_lengthBox = new QLineEdit(box);
    m_lengthBox->setToolTip(
        QStringLiteral("Würfe je Lauf, 1 bis %L1; folgt der Step-Rate (zehn Steps), bis sie "
                       "eingetragen wird. Eine Datei gibt so viele Läufe, wie ganz hineinpassen.")
            .arg(analysis::kMaxRunLength));
    sizeToContent(m_lengthBox, QStringLiteral("10000000"));
    connect(m_steprateBox, &QSpinBox::valueChanged, this, [this](int steprate) {
        if (!m_lengthEdited) {
            const QSignalBlocker quiet(m_lengthBox);
            m_lengthBox->setText(QString::number(analysis::defaultRunLength(steprate)));
        }
        entriesChanged();
    });
    connect(m_lengthBox, &QLineEdit::textEdited, this, [this] { m_lengthEdited = true; });
    connect(m_lengthBox, &QLineEdit::textChanged, this, &AnalysisWindow::entriesChanged);
    auto* steprateLabel = new QLabel(QStringLiteral("Step-Rate"), box);
    steprateLabel->setBuddy(m_steprateBox);
    auto* lengthLabel = new QLabel(QStringLiteral("Lauflänge (Würfe)"), box);
    lengthLabel->setBuddy(m_lengthBox);
    row->addWidget(steprateLabel);
    row->addWidget(m_steprateBox);
    row->addSpacing(12);
    row->addWidget(lengthLabel);
    row->addWidget(m_lengthBox);
    row->addStretch(1);
    layout->addLayout(row);
    {
        const QSignalBlocker quiet(m_lengthBox);
        setSteprate(analysis::kDefaultSteprate);
        m_lengthBox->setText(
            QString::number(analysis::defaultRunLength(analysis::kDefaultSteprate)));
    }

    m_cost = new QLabel(box);
    m_cost->setToolTip(QStringLiteral("Was die Berechnung voraussichtlich braucht: Würfe, Zeit "
                                      "und Speicher (bei Dateien nach ihrer Größe geschätzt)."));
    m_entryRefusal = new QLabel(box);
    m_entryRefusal->setWordWrap(true);
    m_entryRefusal->setStyleSheet(QStringLiteral("color: #b00000;"));
    m_entryRefusal->setToolTip(QStringLiteral("Warum \u201eBerechnen\u201c so nicht geht."));
    layout->addWidget(m_cost);
    layout->addWidget(m_entryRefusal);
    return box;
}

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

QLayout* AnalysisWindow::buildOutputButtons() {
    auto* output = new QHBoxLayout;
    auto* copy = new QPushButton(QStringLiteral("Tabelle kopieren"), this);
    copy->setToolTip(QStringLiteral("Die Tabelle mit ihrer Herkunft (Zeilen mit \u201e#\u201c) "
                                    "für eine Tabellenkalkulation in die Zwischenablage."));
    auto* save = new QPushButton(QStringLiteral("Tabelle speichern \u2026"), this);
    save->setToolTip(QStringLiteral("Die Tabelle mit ihrer Herkunft als Textdatei mit "
                                    "Tabulatoren (TSV) speichern."));
    connect(copy, &QPushButton::clicked, this,
            [this] { QApplication::clipboard()->setText(tableText()); });
    connect(save, &QPushButton::clicked, this, [this] {
        const QString path =
            chooseSavePath(QStringLiteral("Tabelle speichern"), QStringLiteral("auswertung.tsv"),
                           QStringLiteral("TSV (*.tsv);;Text (*.txt)"));
        if (!path.isEmpty()) {
            saveTable(path);
        }
    });
    auto* saveChartButton = new QPushButton(QStringLiteral("Diagramm speichern \u2026"), this);
    saveChartButton->setToolTip(QStringLiteral("Den Verlauf als Bild (PNG oder SVG) speichern."));
    connect(saveChartButton, &QPushButton::clicked, this, [this] {
        const QString path = chooseSavePath(QStringLiteral("Diagramm speichern"),
                                            QStringLiteral("verlauf.png"), kChartFilters);
        if (!path.isEmpty() && !saveChart(path)) {
            QMessageBox::warning(this, kTitle,
                                 QStringLiteral("Das Diagramm wurde nicht gespeichert."));
        }
    });
    auto* saveHistogramButton =
        new QPushButton(QStringLiteral("Histogramm speichern \u2026"), this);
    saveHistogramButton->setToolTip(
        QStringLiteral("Das gezeigte Histogramm als Bild (PNG oder SVG) speichern."));
    connect(saveHistogramButton, &QPushButton::clicked, this, [this] {
        const QString path = chooseSavePath(QStringLiteral("Histogramm speichern"),
                                            QStringLiteral("histogramm.png"), kChartFilters);
        if (!path.isEmpty() && !saveHistogram(path)) {
            QMessageBox::warning(this, kTitle,
                                 QStringLiteral("Das Histogramm wurde nicht gespeichert."));
        }
    });
    output->addWidget(saveChartButton);
    output->addWidget(saveHistogramButton);
    output->addStretch(1);
    output->addWidget(copy);
    output->addWidget(save);
    m_outputButtons = {saveChartButton, saveHistogramButton, copy, save};
    for (QPushButton* button : m_outputButtons) {
        button->setEnabled(false); // nothing to keep before a result
    }
    return output;
}

void AnalysisWindow::offer(const LoadedPermanence& loaded, int steprate) {
    const std::string label = analysis::loadedLabel(loaded.origin);
    const bool now = !loaded.numbers.numbers.empty() && !label.empty();
    const bool before = !m_loaded.numbers.numbers.empty();
    const bool same =
        now == before && (!now || (loaded.origin == m_loaded.origin &&
                                   loaded.numbers.numbers == m_loaded.numbers.numbers));
    if (!same) {
        const QSignalBlocker quiet(m_files);
        m_loaded = now ? loaded : LoadedPermanence{};
        m_loaded.numbers.name = label;
        if (!now) {
            delete m_loadedItem;
            m_loadedItem = nullptr;
        } else {
            if (!m_loadedItem) {
                m_loadedItem = new QListWidgetItem;
                m_loadedItem->setCheckState(Qt::Checked);
                m_files->insertItem(0, m_loadedItem);
            }
            m_loadedItem->setText(fromUtf8(label));
            m_loadedItem->setToolTip(
                QStringLiteral("%L1 Würfe, die das Hauptfenster geladen hat%2")
                    .arg(m_loaded.numbers.numbers.size())
                    .arg(m_loaded.path.isEmpty()
                             ? QString()
                             : QStringLiteral(", aus ") + QDir::toNativeSeparators(m_loaded.path)));
        }
    }
    if (steprate != m_offeredSteprate) {
        m_offeredSteprate = steprate;
        setSteprate(steprate);
    }
    entriesChanged();
}

void AnalysisWindow::addFiles(const QStringList& paths) {
    {
        const QSignalBlocker quiet(m_files);
        for (const QString& path : paths) {
            auto* item = new QListWidgetItem(QFileInfo(path).fileName(), m_files);
            item->setData(Qt::UserRole, path);
            item->setToolTip(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
            item->setCheckState(Qt::Checked);
        }
    }
    if (!paths.isEmpty()) {
        m_fromFiles->setChecked(true);
    }
    entriesChanged();
}

void AnalysisWindow::removeSelectedSources() {
    const QList<QListWidgetItem*> chosen = m_files->selectedItems();
    for (QListWidgetItem* item : chosen) {
        if (item == m_loadedItem) {
            m_loadedItem = nullptr;
        }
        delete item;
    }
    entriesChanged();
}

void AnalysisWindow::chooseSimulation(long long runs, std::uint64_t seed) {
    m_simulation->setChecked(true);
    m_runsBox->setText(QString::number(runs));
    m_seedBox->setText(QString::number(seed));
}

void AnalysisWindow::setSteprate(int steprate) {
    m_steprateBox->setValue(std::clamp(steprate, 1, kMaxSteprate));
}

void AnalysisWindow::setRunLength(long long spins) {
    m_lengthEdited = true;
    m_lengthBox->setText(QString::number(spins));
}

analysis::JobInput AnalysisWindow::entries() const {
    analysis::JobInput input;
    input.steprate = m_steprateBox->value();
    input.runLength = wholeNumber(m_lengthBox->text(), analysis::kMaxRunLength).value_or(0);
    input.simulate = m_simulation->isChecked();
    input.runs = wholeNumber(m_runsBox->text(), analysis::kMaxRuns).value_or(0);
    input.seed = analysis::parseSeed(m_seedBox->text().toStdString()).value_or(0);
    if (input.simulate) {
        return input;
    }
    for (int i = 0; i < m_files->count(); ++i) {
        const QListWidgetItem* item = m_files->item(i);
        if (item->checkState() != Qt::Checked) {
            continue;
        }
        if (item == m_loadedItem) {
            input.loaded.push_back(m_loaded.numbers);
        } else {
            input.files.push_back(
                QFile::encodeName(item->data(Qt::UserRole).toString()).toStdString());
        }
    }
    return input;
}

QString AnalysisWindow::entryRefusal() const {
    const QLocale german(QLocale::German); // as the library's sentences write numbers
    const auto quoted = [](const QString& text) {
        return QStringLiteral("\u201e") + text + QStringLiteral("\u201c");
    };
    if (m_simulation->isChecked()) {
        if (!wholeNumber(m_runsBox->text(), analysis::kMaxRuns)) {
            return QStringLiteral("Die Zahl der Läufe %1 ist keine ganze Zahl von 1 bis %2 "
                                  "(nur Ziffern).")
                .arg(quoted(m_runsBox->text()), german.toString(analysis::kMaxRuns));
        }
        if (!analysis::parseSeed(m_seedBox->text().toStdString())) {
            return fromUtf8(
                analysis::seedRefusal(m_seedBox->text().toStdString(), Language::German));
        }
    }
    if (!wholeNumber(m_lengthBox->text(), analysis::kMaxRunLength)) {
        return QStringLiteral("Die Lauflänge %1 ist keine ganze Zahl von 1 bis %2 Würfen "
                              "(nur Ziffern).")
            .arg(quoted(m_lengthBox->text()), german.toString(analysis::kMaxRunLength));
    }
    return fromUtf8(analysis::entriesRefusal(entries(), Language::German));
}

QString AnalysisWindow::costText() const {
    return m_cost->text();
}

QString AnalysisWindow::caption() const {
    return m_caption->text();
}

void AnalysisWindow::entriesChanged() {
    if (!m_calculate) {
        return; // still being built
    }
    const QString refusal = entryRefusal();
    m_entryRefusal->setText(refusal);
    m_entryRefusal->setVisible(!refusal.isEmpty()); // in the cost line's place
    m_cost->setVisible(refusal.isEmpty());
    m_calculate->setEnabled(!m_running && refusal.isEmpty());
    if (!refusal.isEmpty()) {
        m_cost->clear();
        m_estimate = {};
        return;
    }
    const analysis::JobInput input = entries();
    long long fileSpins = 0;
    bool estimated = false;
    if (!input.simulate) {
        for (const auto& loaded : input.loaded) {
            fileSpins += static_cast<long long>(loaded.numbers.size());
        }
        // A spin takes at least two bytes of a file: its digit and a separator.
        for (int i = 0; i < m_files->count(); ++i) {
            const QListWidgetItem* item = m_files->item(i);
            if (item != m_loadedItem && item->checkState() == Qt::Checked) {
                fileSpins += QFileInfo(item->data(Qt::UserRole).toString()).size() / 2;
                estimated = true;
            }
        }
    }
    m_estimate = analysis::estimateCost(input, fileSpins);
    m_cost->setText(QStringLiteral("Aufwand: ") +
                    (estimated ? QStringLiteral("bis zu ") : QString()) +
                    fromUtf8(analysis::costLine(m_estimate, input.threads, Language::German)));
}

// A permanence the main window loaded from a file that is ticked as well
// would count its spins twice: the user decides, "Nein" first.
bool AnalysisWindow::countsLoadedTwice() {
    if (m_simulation->isChecked() || !m_loadedItem || m_loadedItem->checkState() != Qt::Checked) {
        return false;
    }
    for (int i = 0; i < m_files->count(); ++i) {
        const QListWidgetItem* item = m_files->item(i);
        const QString path = item->data(Qt::UserRole).toString();
        if (item == m_loadedItem || item->checkState() != Qt::Checked ||
            !analysis::loadedFrom(m_loaded.origin, QFileInfo(path).fileName().toStdString())) {
            continue;
        }
        const QString question =
            QStringLiteral("%1 stammt aus der Datei %2, die ebenfalls angekreuzt ist: Ihre Würfe "
                           "würden doppelt gezählt.\n\nTrotzdem beide auswerten?")
                .arg(QStringLiteral("\u201e") + m_loadedItem->text() + QStringLiteral("\u201c"),
                     QStringLiteral("\u201e") + item->text() + QStringLiteral("\u201c"));
        return QMessageBox::question(this, kTitle, question, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) != QMessageBox::Yes;
    }
    return false;
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
    return saveWidgetImage(m_chart, path, kTitle);
}

bool AnalysisWindow::saveHistogram(const QString& path) const {
    return saveWidgetImage(&m_histogram->chart(), path, kTitle);
}

QString AnalysisWindow::tableText() const {
    const std::string table = analysis::summaryTableText(rows(), decimalSeparator().toStdString());
    if (!m_result) {
        return fromUtf8(table);
    }
    return fromUtf8(analysis::tableNote(originShown()) + table);
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

QString AnalysisWindow::saveFolder() const {
    if (m_loadedItem && !m_loaded.path.isEmpty()) {
        const QDir folder = QFileInfo(m_loaded.path).absoluteDir();
        if (folder.exists()) {
            return folder.path();
        }
    }
    if (!m_lastSaveFolder.isEmpty() && QDir(m_lastSaveFolder).exists()) {
        return m_lastSaveFolder;
    }
    return QDir::currentPath();
}

QString AnalysisWindow::chooseSavePath(const QString& title, const QString& name,
                                       const QString& filters) {
    QString filter;
    const QString chosen = QFileDialog::getSaveFileName(
        this, title, QDir(saveFolder()).filePath(name), filters, &filter);
    if (chosen.isEmpty()) {
        return {};
    }
    const QString path = withFilterSuffix(chosen, filter);
    // The dialog asked about the name typed, not about the one with the extension.
    if (path != chosen && QFileInfo::exists(path) &&
        QMessageBox::question(this, title,
                              QStringLiteral("%1 gibt es schon.\nSoll sie ersetzt werden?")
                                  .arg(QDir::toNativeSeparators(path)),
                              QMessageBox::Yes | QMessageBox::No,
                              QMessageBox::No) != QMessageBox::Yes) {
        return {};
    }
    m_lastSaveFolder = QFileInfo(path).absolutePath();
    return path;
}

bool AnalysisWindow::saveTable(const QString& path) {
    const QByteArray text = tableText().toUtf8();
    const WriteResult result =
        writeWholeFile(path, std::string_view(text.data(), static_cast<std::size_t>(text.size())));
    if (!result.ok) {
        QMessageBox::warning(this, kTitle, result.error);
    }
    return result.ok;
}

} // namespace cr::ui
