// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

namespace cr::ui {

// The status label. Its lines are separated by a lone carriage return, which
// a plain label would not break at; it keeps the text as written and shows
// each line on its own.
class StatusLabel final : public QLabel {
public:
    using QLabel::QLabel;
    void setStatusText(const QString& text);
    QString statusText() const { return m_text; }
    // Where the window's font stands in for a wider one, tightens the letter
    // spacing just enough that each of the program's own lines fits.
    void fitLines(const QStringList& lines);

private:
    QString m_text;
};

} // namespace cr::ui
