// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/statuslabel.h"

#include <QFontMetrics>
#include <cmath>

namespace cr::ui {

void StatusLabel::fitLines(const QStringList& lines) {
    QFont f = font();
    f.setLetterSpacing(QFont::PercentageSpacing, 100);
    const QFontMetrics metrics(f);
    int widest = 0;
    for (const QString& line : lines) {
        widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    const int room = contentsRect().width() - 2 * margin() - 2;
    if (widest > room && widest > 0) {
        f.setLetterSpacing(QFont::PercentageSpacing, std::floor(100.0 * room / widest));
    }
    setFont(f);
}

void StatusLabel::setStatusText(const QString& text) {
    m_text = text;
    QString shown = text;
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    setText(shown);
}

} // namespace cr::ui
