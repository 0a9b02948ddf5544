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

private:
    QString m_text;
};

} // namespace cr::ui
