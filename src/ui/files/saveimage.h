// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

namespace cr::ui {

// A name without an extension gets the first one of the chosen filter
// ("TSV (*.tsv)" gives ".tsv"); any other name stays as it is.
QString withFilterSuffix(const QString& path, const QString& filter);

// Saves what a widget shows as SVG for a name ending ".svg", else as PNG;
// false when nothing was written. TITLE names the SVG drawing.
bool saveWidgetImage(QWidget* widget, const QString& path, const QString& title);

} // namespace cr::ui
