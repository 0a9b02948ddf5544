// SPDX-License-Identifier: GPL-3.0-or-later
// "Auswertung": the entries of the form, why they cannot be computed as they
// stand, and what they would cost.
#include "analysis/analysisform.h"
#include "analysis/entries.h"
#include "core/limits.h"
#include "ui/analysis/analysiswindow.h"
#include "ui/analysis/analysiswindow_p.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

namespace cr::ui {

namespace {

// A whole number typed into a box, 1 to most: the seed's rule for digits,
// so that no box takes what another refuses.
std::optional<long long> wholeNumber(const QString& text, long long most) {
    const std::optional<std::uint64_t> value = analysis::parseSeed(text.toStdString());
    if (!value || *value < 1 || *value > static_cast<std::uint64_t>(most)) {
        return std::nullopt;
    }
    return static_cast<long long>(*value);
}

} // namespace

using namespace analysisparts;

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

} // namespace cr::ui
