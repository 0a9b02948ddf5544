// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/controls.h"
#include "core/run.h"
#include "ui/main/form.h"
#include "ui/main/windowport.h"

#include <QAction>
#include <QString>
#include <QWidget>
#include <memory>

namespace cr::ui {

class ImportChooser;
class JournalKeeper;
class LivePanel;
class ResultGridModel;
class RunMenu;

// The program's one window. It builds the form, hands every user event to
// the run control, which owns the run state, and shows what the run writes
// through its port; it decides nothing itself.
class MainWindow final : public QWidget {
    Q_OBJECT
public:
    static const QString kTitle;

    MainWindow(RandomSource& random, const QString& decimalSeparator, const QString& appDir,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    const RunControl& run() const { return m_run; }
    const ResultGridModel& gridModel() const { return *m_model; }
    QString cliptext() const { return m_port.cliptext(); }
    ImportChooser& chooser() const { return *m_form.chooser; }
    RunMenu& menu() const { return *m_menu; }
    LivePanel& livePanel() const { return *m_live; }
    JournalKeeper& journal() const { return *m_journal; }

    // Live entry, as the panel and the menu do it.
    void prepareLive();
    void enterLive(const QString& text);
    void undoLive();
    void redoLive();
    // Offers a live session the program never finished; after the window is shown.
    void offerUnfinishedLive();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    template <typename Handler> void handle(Handler handler);
    void keepFocusAtWork(QWidget* focusedBefore);
    void createConnections();
    void connectButton(QWidget* button, void (RunControl::*handler)());
    std::optional<std::string> readInfoFile() const;
    void followLive();

    QtWindowPort m_port;
    RunControl m_run;
    std::unique_ptr<ResultGridModel> m_model;
    Form m_form;
    RunMenu* m_menu = nullptr;
    LivePanel* m_live = nullptr;
    std::unique_ptr<JournalKeeper> m_journal;
    QAction* m_undo = nullptr; // "Zurück" of the live entry
    QAction* m_redo = nullptr; // "Wiederholen"
    QString m_appDir;
};

} // namespace cr::ui
