// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QWidget>

namespace cr::ui {

// A straight one-pixel line between two points given in twips.
class LineWidget final : public QWidget {
public:
    LineWidget(const QString& name, int x1, int y1, int x2, int y2, const QColor& colour,
               QWidget* parent);
    QColor colour() const { return m_colour; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_colour;
};

// A rectangle outline, one pixel wide.
class OutlineWidget final : public QWidget {
public:
    OutlineWidget(const QString& name, const QRect& geometry, const QColor& colour,
                  QWidget* parent);
    QColor colour() const { return m_colour; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_colour;
};

} // namespace cr::ui
