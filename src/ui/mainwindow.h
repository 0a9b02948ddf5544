#pragma once

#include "core/controls.h"
#include "core/run.h"

#include <QString>
#include <QWidget>
#include <array>
#include <map>
#include <memory>
#include <string>

class QAction;
class QLabel;
class QLineEdit;
class QPushButton;
class QMessageBox;
class QTextEdit;

namespace cr::ui {

class CourseWindow;
class ImportChooser;
class ResultGridModel;
class ResultGridView;

// The program's one window. It lays out the controls and hands every user
// event to the run control, which owns the run state; the window only shows.
class MainWindow final : public QWidget, public WindowPort {
    Q_OBJECT
public:
    static const QString kTitle;

    MainWindow(RandomSource& random, const QString& decimalSeparator, const QString& appDir,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    const RunControl& run() const { return m_run; }
    const ResultGridModel& gridModel() const { return *m_model; }
    QString cliptext() const { return m_cliptext; }
    QWidget* control(Control c) const { return m_widgets.at(c); }
    ImportChooser& chooser() const { return *m_chooser; }

    // WindowPort
    std::string_view boxText(Control box) const override;
    void setText(Control control, std::string_view text) override;
    void setEnabled(Control control, bool enabled) override;
    void setVisible(Control control, bool visible) override;
    bool confirm(std::string_view title, std::string_view question) override;
    void closeWindow() override;
    void clipboardClear() override;
    bool clipboardSet(std::string_view text) override;

private:
    // Display changes of one user event are shown together when it returns.
    class Batch;
    template <typename Handler> void handle(Handler handler);
    void keepFocusAtWork(QWidget* focusedBefore);

    void createWidgets();
    void createMiddle();
    void createRightColumn();
    void createChooserFrame();
    void toggleInfo();
    void createDecorations();
    void createConnections();
    void applyStartupStates();
    void applyTabOrder();
    void applyText(Control control, const QString& text);
    void flushPending();
    // The context menu with the course chart and the table of every step.
    void createContextMenu();
    void showCourse();
    void saveSteps();
    void followHistory();

    RunControl m_run;
    std::unique_ptr<ResultGridModel> m_model;
    std::map<Control, QWidget*> m_widgets;
    mutable std::map<Control, std::string> m_boxCache;
    // Texts written during a user event, shown when it returns.
    struct PendingText {
        std::string text;
        bool waiting = false;
    };
    std::array<PendingText, static_cast<std::size_t>(Control::tabelle2) + 1> m_pending;
    int m_batchDepth = 0;
    QString m_cliptext;
    QString m_appDir;
    QString m_decimalSeparator;

    struct Boxes {
        QLineEdit* anzahl = nullptr;
        QLineEdit* akut = nullptr;
        QLineEdit* wiederhol = nullptr;
        QLineEdit* step = nullptr;
    } m_boxes;
    struct Buttons {
        QPushButton* start = nullptr;
        QPushButton* weiter = nullptr;
        QPushButton* step = nullptr;
        QPushButton* reset = nullptr;
        QPushButton* clip = nullptr;
        QPushButton* info = nullptr;
        QPushButton* import = nullptr;
        QPushButton* abbrechen = nullptr;
        QPushButton* ende = nullptr;
    } m_buttons;
    ImportChooser* m_chooser = nullptr;
    ResultGridView* m_grid = nullptr;
    QTextEdit* m_infotext = nullptr;
    QMessageBox* m_confirmBox = nullptr;
    CourseWindow* m_course = nullptr; // built when first shown
    QAction* m_showCourse = nullptr;
    QAction* m_saveSteps = nullptr;
    unsigned m_seenHistory = 0;
};

} // namespace cr::ui
