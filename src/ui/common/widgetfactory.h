// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace cr::ui {

// The window's font family; where it is not installed a close sans-serif
// stands in (see installFontSubstitutes).
inline const QString kFontFamily = QStringLiteral("MS Sans Serif");
void installFontSubstitutes();
QFont windowFont(double points, bool bold);

enum class HeadingStyle { Bold, Regular };

QLabel* makeHeading(QWidget* parent, const QString& name, const QString& caption,
                    const QRect& geometry, const QColor& textColour,
                    HeadingStyle style = HeadingStyle::Bold);
QLabel* makeCounter(QWidget* parent, const QString& name, const QString& toolTip,
                    const QRect& geometry);
QLineEdit* makeBox(QWidget* parent, const QString& name, const QString& toolTip,
                   const QRect& geometry);
QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption,
                        const QString& toolTip, const QRect& geometry, double points);

void setColours(QWidget* widget, const QColor& background, const QColor& text);

} // namespace cr::ui
