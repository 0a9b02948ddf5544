// SPDX-License-Identifier: GPL-3.0-or-later
// What "Systemtest" writes out: its tables as text files and its curve as
// an image, each where the user chooses, a failure said in a warning.
#include "analysis/betlog.h"
#include "ui/files/saveimage.h"
#include "ui/files/stepsaver.h"
#include "ui/system/systemcharts.h"
#include "ui/system/systemform.h"
#include "ui/system/systemwindow.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace cr::ui {

using analysis::betLog;
using systemform::kSystemTitle;

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
        QMessageBox::warning(this, kSystemTitle, result.error);
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
    if (!saveWidgetImage(m_chart, path, kSystemTitle)) {
        QMessageBox::warning(this, kSystemTitle,
                             QStringLiteral("Die Kurve wurde nicht gespeichert."));
    }
}

} // namespace cr::ui
