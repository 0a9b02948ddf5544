#include "ui/statuslabel.h"

namespace cr::ui {

void StatusLabel::setStatusText(const QString& text) {
    m_text = text;
    QString shown = text;
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    setText(shown);
}

} // namespace cr::ui
