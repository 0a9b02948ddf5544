// SPDX-License-Identifier: GPL-3.0-or-later
// "Auswertung": the list of sources, the main window's permanence offered
// first among them, and the choice between files and a simulation.
#include "analysis/analysisform.h"
#include "analysis/entries.h"
#include "ui/analysis/analysiswindow.h"
#include "ui/analysis/analysiswindow_p.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>

namespace cr::ui {

using namespace analysisparts;

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

} // namespace cr::ui
