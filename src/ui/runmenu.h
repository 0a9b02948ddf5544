#pragma once

#include <QObject>
#include <QString>

class QAction;
class QWidget;

namespace cr {
class RunControl;
}

namespace cr::ui {

class CourseWindow;

// The features of the window's context menu, beyond the original controls:
// the course chart of the run and saving every step. The window hands them
// the run; they read it and never change it.
class RunMenu final : public QObject {
    Q_OBJECT
public:
    RunMenu(QWidget* window, const RunControl& run, QString decimalSeparator);

    // Adds the menu to a widget's right click.
    void attachTo(QWidget* target);
    // Called after every user event: the chart follows the steps, and saving
    // needs at least one.
    void follow();

    void showCourse();
    void saveSteps();
    CourseWindow* courseWindow() const { return m_course; }

private:
    QWidget* m_window;
    const RunControl& m_run;
    QString m_decimalSeparator;
    QAction* m_showCourse = nullptr;
    QAction* m_saveSteps = nullptr;
    CourseWindow* m_course = nullptr; // built when first shown
    unsigned m_seenHistory = 0;
};

} // namespace cr::ui
