// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

namespace cr::ui {

// Lets the window and the grid present themselves to a screen reader as
// described below; done before the window is built, and again harmlessly.
// The objects of the class named windowClass are the program's window.
void installAccessibleFactories(const QString& windowClass);

// Gives every control of the window a German name a screen reader can say,
// and its tool tip as the description. Buttons with a plain caption keep the
// caption as their name, so "Info"/"Ende Info" is read as it stands. Sets up
// the covers (info text, import chooser) and the announcements of the grid.
// windowClass is as for installAccessibleFactories.
void describeForScreenReaders(QWidget* window, const QString& windowClass);

// For the counters and the status label the name carries the content as
// well ("Leer Rot/Schwarz: 5"); called whenever their text changes. A
// changed name is announced.
void refreshAccessibleName(QWidget* widget, const QString& shownText);

// The status lines (separated by a lone carriage return) as spoken text:
// the lines run on into one another as the sentences they form, a word
// broken with "-" at a line end is joined, and the text ends in a full stop.
QString spokenStatus(const QString& text);

} // namespace cr::ui
