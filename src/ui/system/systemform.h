// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/entries.h"

#include <QLineEdit>
#include <QLocale>
#include <QString>
#include <cstdint>
#include <optional>

// What the "Systemtest" form and its results share: the limits of the boxes
// and how their numbers are read and shown.
namespace cr::ui::systemform {

inline const QString kSystemTitle = QStringLiteral("Systemtest");
inline constexpr long long kMostSessions = 1'000'000'000;
inline constexpr long long kMostSessionSpins = 1'000'000'000;

// The whole number in a box, least to most, as the seed's rule reads digits.
inline std::optional<long long> boxNumber(const QLineEdit* box, long long least, long long most) {
    const std::optional<std::uint64_t> value = analysis::parseSeed(box->text().toStdString());
    if (!value || *value < static_cast<std::uint64_t>(least) ||
        *value > static_cast<std::uint64_t>(most)) {
        return std::nullopt;
    }
    return static_cast<long long>(*value);
}

inline QString grouped(long long n) {
    return QLocale().toString(n);
}

inline QString rangeRefusal(const QString& what, long long least, long long most) {
    return QStringLiteral("%1 muss eine ganze Zahl von %2 bis %3 sein.")
        .arg(what, grouped(least), grouped(most));
}

inline QLineEdit* numberBox(QWidget* parent, const QString& text, const QString& tip) {
    auto* box = new QLineEdit(text, parent);
    box->setToolTip(tip);
    box->setMaximumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0000000000000")));
    return box;
}

} // namespace cr::ui::systemform
