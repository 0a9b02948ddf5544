// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/analysis/oddrunspanel.h"

#include "analysis/runs.h"
#include "core/expectation.h"
#include "core/texts.h"
#include "ui/analysis/jobrunner.h"

#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

namespace cr::ui {

namespace {

// How many runs the list shows: enough to see whether the farthest stands
// alone, few enough to read.
constexpr std::size_t kShown = 20;

struct Column {
    const char* title;
    const char* tip;
};
constexpr Column kColumns[] = {
    {"Quelle", "Die Datei (oder die Simulation), aus der der Lauf stammt."},
    {"ab Wurf", "Der erste Wurf des Laufs in seiner Datei; ein Doppelklick spielt den Lauf "
                "von dort an im Hauptfenster ab."},
    {"Wert", "Der Zähler dieses Laufs am Ende des gewählten Steps."},
    {"Abstand in \u03c3",
     "Wie weit der Wert vom exakten Mittel E liegt, in Standardabweichungen \u03c3 eines "
     "einzelnen Laufs. Unter vielen Läufen liegen einige allein durch Zufall 2 oder 3 \u03c3 "
     "weit weg."},
};

} // namespace

OddRunsPanel::OddRunsPanel(QWidget* parent) : QWidget(parent), m_runner(new JobRunner(this)) {
    auto* layout = new QVBoxLayout(this);
    auto* form = new QHBoxLayout;
    m_stepBox = new QSpinBox(this);
    m_stepBox->setRange(1, 1);
    m_stepBox->setToolTip(QStringLiteral("Der Step, an dessen Ende die Läufe verglichen werden."));
    m_counterBox = new QComboBox(this);
    for (const std::string_view name : texts::kCounterNames) {
        m_counterBox->addItem(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    }
    m_counterBox->setToolTip(QStringLiteral("Der Zähler, dessen Abweichung zählt."));
    m_searchButton = new QPushButton(QStringLiteral("Suchen"), this);
    m_searchButton->setEnabled(false);
    connect(m_searchButton, &QPushButton::clicked, this, [this] {
        search(m_stepBox->value(), static_cast<std::size_t>(m_counterBox->currentIndex()));
    });
    form->addWidget(new QLabel(QStringLiteral("Step"), this));
    form->addWidget(m_stepBox);
    form->addWidget(new QLabel(QStringLiteral("Zähler"), this));
    form->addWidget(m_counterBox);
    form->addWidget(m_searchButton);
    form->addStretch(1);
    layout->addLayout(form);
    m_note = new QLabel(this);
    m_note->setWordWrap(true);
    layout->addWidget(m_note);
    m_table = new QTableWidget(0, static_cast<int>(std::size(kColumns)), this);
    for (int c = 0; c < m_table->columnCount(); ++c) {
        auto* header = new QTableWidgetItem(QString::fromUtf8(kColumns[c].title));
        header->setToolTip(QString::fromUtf8(kColumns[c].tip));
        m_table->setHorizontalHeaderItem(c, header);
    }
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    connect(m_table, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { replayRow(row); });
    layout->addWidget(m_table, 1);
    connect(m_runner, &JobRunner::progressed, this,
            [this](long long, long long, const QString& text) {
                if (m_runner->busy()) {
                    m_note->setText(QStringLiteral("Suche läuft: ") + text);
                }
            });
    connect(m_runner, &JobRunner::ended, this, [this](bool outOfMemory) {
        m_searchButton->setEnabled(m_result != nullptr);
        if (outOfMemory) {
            m_note->setText(QStringLiteral("Für die Suche reichte der Speicher nicht."));
            return;
        }
        m_found = std::move(*m_pending);
        showFound();
    });
}

OddRunsPanel::~OddRunsPanel() = default; // the runner, a child, stops its search

void OddRunsPanel::setResult(std::shared_ptr<const analysis::JobResult> result,
                             const analysis::JobInput& input) {
    cancel();
    waitUntilDone();
    m_result = std::move(result);
    m_input = input;
    m_input.loaded.clear();
    m_found.clear();
    m_table->setRowCount(0);
    const long long steps = input.runLength / std::max(input.steprate, 1);
    m_stepBox->setRange(1, static_cast<int>(std::clamp(steps, 1LL, 1LL << 30)));
    m_searchButton->setEnabled(m_result != nullptr);
    m_note->setText(m_result ? QStringLiteral("Step und Zähler wählen, dann \u201eSuchen\u201c: "
                                              "die Läufe, die dort am weitesten vom exakten "
                                              "Mittel liegen.")
                             : QString());
}

void OddRunsPanel::search(int step, std::size_t counter) {
    if (!m_result || m_runner->busy()) {
        return;
    }
    m_step = step;
    m_counter = counter;
    m_searchButton->setEnabled(false);
    m_pending = std::make_shared<std::vector<analysis::OddRun>>();
    m_runner->start([result = m_result, input = m_input, step, counter,
                     found = m_pending](analysis::JobProgress& progress) {
        *found = analysis::oddestRuns(result->read, input, step, counter, kShown, &progress);
    });
}

void OddRunsPanel::cancel() {
    m_runner->cancel();
}

bool OddRunsPanel::busy() const {
    return m_runner->busy();
}

void OddRunsPanel::waitUntilDone() {
    m_runner->waitUntilDone();
}

QString OddRunsPanel::noteText() const {
    return m_note->text();
}

QString OddRunsPanel::sourceName(std::size_t source) const {
    if (m_input.simulate) {
        return QStringLiteral("Simulation, Seed %1").arg(m_input.seed);
    }
    if (!m_result || source >= m_result->read.size()) {
        return {};
    }
    return QFileInfo(QString::fromStdString(m_result->read[source].name)).fileName();
}

void OddRunsPanel::showFound() {
    const QLocale locale;
    const double sigma = expectedSigma(m_input.steprate, m_step);
    const QString counter = m_counterBox->itemText(static_cast<int>(m_counter));
    m_table->setRowCount(static_cast<int>(m_found.size()));
    for (int row = 0; row < m_table->rowCount(); ++row) {
        const analysis::OddRun& run = m_found[static_cast<std::size_t>(row)];
        long long first = run.firstSpin;
        if (!m_input.simulate && run.source < m_result->read.size()) {
            first += m_result->read[run.source].firstSpin - 1;
        }
        const QString cells[] = {
            sourceName(run.source),
            m_input.simulate ? QStringLiteral("Lauf %L1").arg(run.run + 1) : locale.toString(first),
            locale.toString(run.value),
            sigma > 0 ? locale.toString(run.distance / sigma, 'f', 2) : QStringLiteral("\u2013")};
        for (int c = 0; c < m_table->columnCount(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c > 0) {
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            m_table->setItem(row, c, item);
        }
    }
    m_table->resizeColumnsToContents();
    QString note =
        QStringLiteral("Die %1 Läufe, deren \u201e%2\u201c am Ende von Step %3 am weitesten vom "
                       "exakten Mittel E = %4 liegen (\u03c3 eines Laufs: %5).")
            .arg(m_found.size())
            .arg(counter)
            .arg(m_step)
            .arg(locale.toString(expectedCount(m_input.steprate, m_step), 'f', 2))
            .arg(locale.toString(sigma, 'f', 2));
    if (!m_found.empty() && m_result->stats.runs() > 0) {
        // The farthest means something only beside how many chance gives.
        const analysis::FarRuns far = analysis::runsAtLeastAsFar(
            m_result->stats, m_input.steprate, m_step, m_counter, m_found.front().value);
        note += QStringLiteral(" Mindestens so weit wie der erste (Wert %1) liegen %L2 von %L3 "
                               "Läufen; reiner Zufall gibt etwa %4.")
                    .arg(m_found.front().value)
                    .arg(far.seen)
                    .arg(m_result->stats.runs())
                    .arg(locale.toString(far.expected, 'f', far.expected < 10 ? 1 : 0));
    }
    m_note->setText(note + QStringLiteral(" Doppelklick spielt einen Lauf im Hauptfenster Wurf "
                                          "für Wurf ab."));
}

void OddRunsPanel::replayRow(int row) {
    if (row < 0 || row >= static_cast<int>(m_found.size()) || !m_result) {
        return;
    }
    const analysis::OddRun& run = m_found[static_cast<std::size_t>(row)];
    if (m_input.simulate) {
        emit replayNumbers(
            QStringLiteral("Simulation, Seed %1, Lauf %2").arg(m_input.seed).arg(run.run + 1),
            analysis::simulatedRun(m_input.seed, run.run, m_input.runLength));
        return;
    }
    const analysis::Source& source = m_result->read[run.source];
    if (!source.file.empty()) {
        emit replayFile(QString::fromStdString(source.file), source.firstSpin + run.firstSpin - 1);
        return;
    }
    const auto begin = source.numbers.begin() + (run.firstSpin - 1);
    emit replayNumbers(QString::fromStdString(source.name) + QString::fromUtf8(texts::kOriginFrom) +
                           QString::number(run.firstSpin),
                       std::vector<std::uint8_t>(begin, begin + m_input.runLength));
}

} // namespace cr::ui
