// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "scenariorandom.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QMessageBox;
class QTemporaryDir;
class QObject;
class QEvent;

namespace cr::ui {
class MainWindow;
}

namespace cr::scenario {

struct DialogRecord {
    QString title;
    QString text;
    QString icon;
    QStringList buttons;
    QString defaultButton;
    bool yes = false;
    QString answer; // "yes", "no", or the button a message box was closed with
};

// Runs a scenario script against the real main window, line by line.
class Runner {
public:
    static constexpr std::size_t kDialogsKept = 1000;
    Runner();
    ~Runner();
    // Returns the exit status: 0 when every line ran, 2 otherwise.
    int run(const std::vector<std::string>& lines);
    // The same, each line run as soon as it has been read (a script piped in
    // by another program that watches the dumps).
    int run(std::istream& in, const std::string& source);

private:
    struct LineError {
        std::string reason;
    };
    struct InvariantBroken {}; // reported already; the runner ends with status 1
    void runLine(const std::string& line);
    bool runSetupLine(const std::string& command, const std::string& rest);
    void runWindowLine(const std::string& command, const std::string& rest);
    void ensureWindow();
    bool windowOpen() const;
    void typeInto(const std::string& name, const std::string& text);
    void setBox(const std::string& name, const std::string& text);
    void backspace(const std::string& name, const std::string& count);
    void click(const std::string& name);
    void pressKey(const std::string& name);
    void openFile(const std::string& argument);
    void saveRun(const std::string& path);
    void chooserCommand(const std::string& command, const std::string& argument);
    void saveSteps(const std::string& path);
    void systemTest(const std::string& options);
    void liveCommand(const std::string& command, const std::string& text);
    void runMonkey(const std::string& arguments);
    // The monkey's own lines (monkeyreach.cpp); false for any other line.
    bool runMonkeyLine(const std::string& line);
    void courseLine(const std::string& rest);
    void analysisLine(const std::string& rest);
    void drop(const std::string& path);
    // One action's lines, then the rules checked; the broken one in words.
    std::string monkeyAction(const std::vector<std::string>& lines);
    // A new window as the runner's first, with journals of its own.
    void freshWindow(std::uint64_t seed);
    void reportShrunk(std::uint64_t seed, long long count);
    std::vector<std::vector<std::string>> shrink(std::uint64_t seed,
                                                 std::vector<std::vector<std::string>> actions);
    bool breaks(std::uint64_t seed, const std::vector<std::vector<std::string>>& actions);
    // One line, numbered from 1; the exit status when it ends the run.
    std::optional<int> runNumbered(const std::string& line, std::size_t number);
    void dump();
    void settle();
    void watchDialog(QMessageBox* box);

    class DialogWatcher;
    ScenarioRandom m_random;
    std::unique_ptr<ui::MainWindow> m_window;
    std::unique_ptr<DialogWatcher> m_watcher;
    std::deque<bool> m_answers;
    std::vector<DialogRecord> m_dialogs; // the last kDialogsKept boxes shown
    std::size_t m_dialogsShown = 0;
    QString m_appDir;
    std::string m_systemtest;                    // the last systemtest's result line, as JSON
    std::string m_monkeySaves;                   // where the monkey saves runs and steps
    std::unique_ptr<QTemporaryDir> m_trialHomes; // journals of the shrinking's windows
    int m_trials = 0;
};

} // namespace cr::scenario
