// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/accessibility/announce.h"

#include <QAccessible>

namespace cr::ui {

namespace {

AnnouncementListener g_listener = nullptr;

} // namespace

void listenToAnnouncements(AnnouncementListener listener) {
    g_listener = listener;
}

bool announcing() {
    return g_listener || QAccessible::isActive();
}

void announce(QAccessibleEvent* event) {
    if (g_listener) {
        g_listener(event);
    } else {
        QAccessible::updateAccessibility(event);
    }
}

void announceToListener(QAccessibleEvent* event) {
    if (g_listener) {
        g_listener(event);
    }
}

} // namespace cr::ui
