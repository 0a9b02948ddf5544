// SPDX-License-Identifier: GPL-3.0-or-later
// "Auswertung": what the user keeps of a result: the table copied or saved
// with its origin, the charts saved as images, and where a save starts.
#include "ui/analysis/analysiswindow.h"
#include "ui/analysis/analysiswindow_p.h"
#include "ui/analysis/summarymodel.h"
#include "ui/charts/coursechart.h"
#include "ui/charts/histogramchart.h"
#include "ui/charts/histogramview.h"
#include "ui/files/saveimage.h"
#include "ui/files/stepsaver.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>

namespace cr::ui {

namespace {

const QString kChartFilters = QStringLiteral("PNG (*.png);;SVG (*.svg)");

} // namespace

using namespace analysisparts;

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
