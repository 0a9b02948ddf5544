// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/files/saveimage.h"

#include <QFileInfo>
#include <QPixmap>
#include <QRegularExpression>
#include <QSvgGenerator>
#include <QWidget>

namespace cr::ui {

QString withFilterSuffix(const QString& path, const QString& filter) {
    if (!QFileInfo(path).suffix().isEmpty()) {
        return path;
    }
    static const QRegularExpression firstPattern(QStringLiteral("\\*\\.([A-Za-z0-9]+)"));
    const QRegularExpressionMatch match = firstPattern.match(filter);
    return match.hasMatch() ? path + QLatin1Char('.') + match.captured(1) : path;
}

bool saveWidgetImage(QWidget* widget, const QString& path, const QString& title) {
    if (!path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        return widget->grab().save(path, "PNG");
    }
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(widget->size());
    svg.setViewBox(widget->rect());
    svg.setTitle(title);
    widget->render(&svg);
    return QFileInfo(path).size() > 0;
}

} // namespace cr::ui
