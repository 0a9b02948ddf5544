#pragma once

class QString;
class QWidget;

namespace cr::ui {

// Gives every control of the window a German name a screen reader can say,
// and its tool tip as the description. Buttons with a plain caption keep the
// caption as their name, so "Info"/"Ende Info" is read as it stands.
void describeForScreenReaders(QWidget* window);

// For the counters and the status label the name carries the content as
// well ("Leer Rot/Schwarz: 5"); called whenever their text changes.
void refreshAccessibleName(QWidget* widget, const QString& shownText);

} // namespace cr::ui
