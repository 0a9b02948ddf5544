// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/accessibility/coverwatch.h"

#include "ui/accessibility/announce.h"

#include <QAccessible>
#include <QEvent>
#include <QWidget>

namespace cr::ui {

namespace {

constexpr const char* kCoveredBy = "coveredBy";

void announce(QWidget* widget, QAccessible::Event type) {
    QAccessibleEvent event(widget, type);
    cr::ui::announce(&event);
}

} // namespace

CoverWatch::CoverWatch(QWidget* cover, QWidget* opener, QWidget* firstFocus)
    : QObject(cover), m_cover(cover), m_opener(opener), m_firstFocus(firstFocus) {
    cover->installEventFilter(this);
    if (cover->isVisibleTo(cover->parentWidget())) {
        this->cover();
    }
}

bool CoverWatch::isCovered(const QWidget* widget) {
    return widget->property(kCoveredBy).isValid();
}

bool CoverWatch::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_cover) {
        return false;
    }
    switch (event->type()) {
    case QEvent::ShowToParent:
        if (m_covered.empty()) {
            cover();
            if (!focusInside() && m_firstFocus && m_firstFocus->isEnabled()) {
                m_firstFocus->setFocus(Qt::OtherFocusReason);
            }
        }
        break;
    case QEvent::Hide: // before the toolkit moves the focus out of a hidden widget
        if (!m_covered.empty() && m_cover->isHidden()) { // closed, not just the window hidden
            m_focusWasInside = focusInside();
            uncover();
        }
        break;
    case QEvent::HideToParent:
        if (!m_covered.empty()) {
            m_focusWasInside = focusInside();
            uncover();
        }
        if (m_focusWasInside && m_opener && m_opener->isEnabled() && m_opener->isVisible() &&
            (m_opener->focusPolicy() & Qt::TabFocus)) {
            m_opener->setFocus(Qt::OtherFocusReason);
        }
        m_focusWasInside = false;
        break;
    default:
        break;
    }
    return false;
}

void CoverWatch::cover() {
    QWidget* window = m_cover->parentWidget();
    const QRect area = m_cover->geometry();
    for (QObject* child : window->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (!widget || widget == m_cover || widget->isWindow() ||
            !area.contains(widget->geometry().center()) || isCovered(widget)) {
            continue;
        }
        widget->setProperty(kCoveredBy, m_cover->objectName());
        m_covered.emplace_back(widget, widget->focusPolicy());
        widget->setFocusPolicy(Qt::NoFocus);
        announce(widget, QAccessible::ObjectHide);
    }
}

void CoverWatch::uncover() {
    for (const auto& [widget, policy] : m_covered) {
        if (widget) {
            widget->setProperty(kCoveredBy, QVariant());
            widget->setFocusPolicy(policy);
            announce(widget, QAccessible::ObjectShow);
        }
    }
    m_covered.clear();
}

bool CoverWatch::focusInside() const {
    const QWidget* focus = m_cover->window()->focusWidget();
    return focus && (focus == m_cover || m_cover->isAncestorOf(focus));
}

} // namespace cr::ui
