// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/widgetfactory.h"

#include "ui/common/palette.h"

#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace cr::ui {

namespace {

// A button with the focus is pressed by Return as well as by Space, as the
// buttons of a dialog are.
class WindowButton final : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (enter && event->modifiers() == Qt::NoModifier) {
            if (!event->isAutoRepeat()) {
                click();
            }
            event->accept();
            return;
        }
        QPushButton::keyPressEvent(event);
    }
};

} // namespace

void installFontSubstitutes() {
    QFont::insertSubstitutions(kFontFamily,
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                                QStringLiteral("Helvetica"), QStringLiteral("DejaVu Sans")});
}

QFont windowFont(double points, bool bold) {
    QFont font(kFontFamily);
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

void setColours(QWidget* widget, const QColor& background, const QColor& text) {
    QPalette pal = widget->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        pal.setColor(group, QPalette::Window, background);
        pal.setColor(group, QPalette::Base, background);
    }
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        pal.setColor(group, QPalette::WindowText, text);
        pal.setColor(group, QPalette::Text, text);
    }
    pal.setColor(QPalette::Disabled, QPalette::WindowText, colours::kGridLine);
    pal.setColor(QPalette::Disabled, QPalette::Text, colours::kGridLine);
    widget->setPalette(pal);
    widget->setAutoFillBackground(true);
}

QLabel* makeHeading(QWidget* parent, const QString& name, const QString& caption,
                    const QRect& geometry, const QColor& textColour, HeadingStyle style) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setFont(windowFont(8.25, style == HeadingStyle::Bold));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setColours(label, colours::kBackground, textColour);
    return label;
}

QLabel* makeCounter(QWidget* parent, const QString& name, const QString& toolTip,
                    const QRect& geometry) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setFont(windowFont(9.75, true));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setFrameShape(QFrame::Box);
    label->setLineWidth(1);
    label->setToolTip(toolTip);
    setColours(label, colours::kLightOrange, colours::kBlack);
    return label;
}

QLineEdit* makeBox(QWidget* parent, const QString& name, const QString& toolTip,
                   const QRect& geometry) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setGeometry(geometry);
    box->setFont(windowFont(12, true));
    box->setAlignment(Qt::AlignCenter);
    box->setToolTip(toolTip);
    setColours(box, colours::kLightGreen, colours::kBlack);
    return box;
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption,
                        const QString& toolTip, const QRect& geometry, double points) {
    auto* button = new WindowButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setFont(windowFont(points, true));
    button->setToolTip(toolTip);
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::StrongFocus);
    return button;
}

} // namespace cr::ui
