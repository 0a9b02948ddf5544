// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the files of the "Auswertung" window share among themselves; no
// other window includes it.

#include <QLineEdit>
#include <QLocale>
#include <QString>
#include <string>

namespace cr::ui::analysisparts {

inline const QString kTitle = QStringLiteral("Auswertung");

inline QString decimalSeparator() {
    return QLocale().decimalPoint();
}

inline QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A box as wide as `widest` needs, never stretched by the form.
inline void sizeToContent(QLineEdit* box, const QString& widest) {
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(widest) + 16);
}

} // namespace cr::ui::analysisparts
