// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QAccessibleEvent;

namespace cr::ui {

// What the window tells a screen reader of its own accord goes through here:
// to the platform's accessibility bridge, or to a listener that stands in
// for it (the tests listen this way, where no bridge runs).
using AnnouncementListener = void (*)(QAccessibleEvent* event);
void listenToAnnouncements(AnnouncementListener listener);

// True while anyone listens, so that work for announcements can be skipped.
bool announcing();
// Passes the event to the listener, else to the bridge.
void announce(QAccessibleEvent* event);
// For a change the toolkit has already passed to the bridge: a listener
// hears of it too.
void announceToListener(QAccessibleEvent* event);

} // namespace cr::ui
