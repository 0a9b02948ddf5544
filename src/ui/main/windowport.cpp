// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main/windowport.h"

#include "ui/accessibility/accessibility.h"
#include "ui/common/statuslabel.h"
#include "ui/grid/resultgridmodel.h"

#include <QClipboard>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTextEdit>

namespace cr::ui {

QtWindowPort::QtWindowPort(QWidget* window) : m_window(window) {}

QtWindowPort::~QtWindowPort() = default;

QtWindowPort::Batch::Batch(QtWindowPort& port, std::function<void()> shown)
    : m_port(port), m_shown(std::move(shown)) {
    ++m_port.m_batchDepth;
    m_port.m_gridModel->beginBatch();
}

QtWindowPort::Batch::~Batch() {
    if (--m_port.m_batchDepth == 0) {
        m_port.flushPending();
        if (m_shown) {
            m_shown();
        }
    }
    m_port.m_gridModel->endBatch();
}

std::string_view QtWindowPort::boxText(Control box) const {
    auto* edit = qobject_cast<QLineEdit*>(m_widgets.at(box));
    std::string& cached = m_boxCache[box];
    cached = edit ? edit->text().toStdString() : std::string();
    return cached;
}

void QtWindowPort::setText(Control control, std::string_view text) {
    if (control == Control::cliptext) {
        m_cliptext = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        return;
    }
    const bool checked = control == Control::textanzahl || control == Control::textwiederhol;
    PendingText& pending = m_pending[static_cast<std::size_t>(control)];
    if (m_batchDepth > 0 && !checked) {
        pending.text.assign(text);
        pending.waiting = true;
        return;
    }
    pending.waiting = false;
    applyText(control, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void QtWindowPort::applyText(Control control, const QString& text) {
    QWidget* widget = m_widgets.at(control);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        if (edit->text() != text) {
            edit->setText(text);
        }
    } else if (auto* status = dynamic_cast<StatusLabel*>(widget)) {
        status->setStatusText(text);
        refreshAccessibleName(status, text);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(text);
        refreshAccessibleName(label, text);
    } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
        button->setText(text);
    } else if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
        frame->setTitle(text);
    } else if (auto* rich = qobject_cast<QTextEdit*>(widget)) {
        rich->setPlainText(text);
    }
}

void QtWindowPort::flushPending() {
    for (std::size_t i = 0; i < m_pending.size(); ++i) {
        PendingText& pending = m_pending[i];
        if (pending.waiting) {
            pending.waiting = false;
            applyText(static_cast<Control>(i), QString::fromStdString(pending.text));
        }
    }
}

void QtWindowPort::setEnabled(Control control, bool enabled) {
    m_widgets.at(control)->setEnabled(enabled);
}

// What appears comes on top of what it covers (the info text, the chooser).
void QtWindowPort::setVisible(Control control, bool visible) {
    QWidget* widget = m_widgets.at(control);
    widget->setVisible(visible);
    if (visible) {
        widget->raise();
    }
}

bool QtWindowPort::confirm(std::string_view title, std::string_view question) {
    // One box serves every question; it is built on first use.
    if (!m_confirmBox) {
        m_confirmBox = new QMessageBox(QMessageBox::Question, QString(), QString(),
                                       QMessageBox::Yes | QMessageBox::No, m_window);
        m_confirmBox->setTextFormat(Qt::PlainText);
    }
    m_confirmBox->setWindowTitle(QString::fromUtf8(title.data(), qsizetype(title.size())));
    m_confirmBox->setText(QString::fromUtf8(question.data(), qsizetype(question.size())));
    m_confirmBox->setDefaultButton(QMessageBox::Yes);
    return m_confirmBox->exec() == QMessageBox::Yes;
}

void QtWindowPort::closeWindow() {
    m_window->close();
}

void QtWindowPort::clipboardClear() {
    QGuiApplication::clipboard()->clear();
}

bool QtWindowPort::clipboardSet(std::string_view text) {
    const QString plain = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(plain);
    // Only what really arrived counts as exported.
    return clipboard->text() == plain;
}

} // namespace cr::ui
