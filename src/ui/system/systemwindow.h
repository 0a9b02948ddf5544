// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/entries.h"
#include "ui/system/systemjob.h"

#include <QElapsedTimer>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace cr::ui {

class BalanceChart;
class JobRunner;
class SessionHistogram;

// "Systemtest": what betting by a rule (a Marsch and a stake progression)
// would have done over the main window's run, permanence files or simulated
// sessions, with the exact law beside every result. The form is checked as
// the main window checks its boxes: a refusal in red, nothing started.
class SystemWindow final : public QWidget {
    Q_OBJECT
public:
    explicit SystemWindow(QWidget* parent);
    ~SystemWindow() override;

    // Where "Lauf des Hauptfensters" takes its numbers from, asked at each start.
    // `size` gives the number of its spins for the cost line without copying them.
    void setMainRun(std::function<MainRun()> mainRun, std::function<long long()> size = {}) {
        m_mainRun = std::move(mainRun);
        m_mainRunSize = std::move(size);
    }
    void useMainRun();
    void addFiles(const QStringList& paths);
    void chooseSimulation(long long sessions, std::uint64_t seed);
    // The form set from rules, as the tool's options give them.
    void setRules(const analysis::SystemRules& rules);
    // The rules the form holds, or none when an entry is refused.
    std::optional<analysis::SystemRules> rules() const;
    // Why the form cannot be computed as it stands; empty when it can.
    QString entryRefusal() const;

    void calculate(); // "Berechnen"
    void cancel();    // "Abbrechen"
    bool busy() const;
    void waitUntilDone();
    // The refusal or message under the form, as shown.
    QString refusalText() const;
    QString costText() const;
    const SystemOutcome* outcome() const { return m_outcome.get(); }
    QString betLogText() const;

    QLineEdit* unitBox() const { return m_unit; }
    QLineEdit* limitBox() const { return m_limit; }
    QLineEdit* capitalBox() const { return m_capital; }
    QLineEdit* paroliBox() const { return m_paroli; }
    QLineEdit* steprateBox() const { return m_steprate; }
    QLineEdit* lengthBox() const { return m_length; }
    QLineEdit* sessionsBox() const { return m_sessions; }
    QLineEdit* seedBox() const { return m_seed; }
    QCheckBox* pairBox(int pair) const { return m_pairs[static_cast<std::size_t>(pair)]; }
    QComboBox* marschChoice() const { return m_marsch; }
    QComboBox* progressionChoice() const { return m_progression; }
    QTableWidget* table() const { return m_table; }
    BalanceChart* chart() const { return m_chart; }

signals:
    // The work has ended (done or stopped) and what it found is shown.
    void finished();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override; // the main run may have grown meanwhile

private:
    QWidget* buildForm();
    QWidget* buildResults();
    void entriesChanged();
    void showCost();
    void showOutcome(bool outOfMemory);
    void saveText(const QString& title, const QString& name, const QString& text);
    void saveCurve();

    std::function<MainRun()> m_mainRun;
    std::function<long long()> m_mainRunSize;
    QRadioButton* m_fromRun = nullptr;
    QRadioButton* m_fromFiles = nullptr;
    QRadioButton* m_simulation = nullptr;
    QListWidget* m_files = nullptr;
    QLineEdit* m_sessions = nullptr;
    QLineEdit* m_seed = nullptr;
    QLineEdit* m_length = nullptr;
    QComboBox* m_marsch = nullptr;
    std::array<QCheckBox*, kPairCount> m_pairs{};
    QComboBox* m_progression = nullptr;
    QLineEdit* m_unit = nullptr;
    QLineEdit* m_limit = nullptr;
    QLineEdit* m_capital = nullptr;
    QComboBox* m_zero = nullptr;
    QLineEdit* m_paroli = nullptr;
    QLineEdit* m_steprate = nullptr;
    QLabel* m_cost = nullptr;
    analysis::Cost m_estimate;
    QLabel* m_refusal = nullptr;
    QPushButton* m_calculate = nullptr;
    QPushButton* m_cancel = nullptr;
    QProgressBar* m_progressBar = nullptr;
    QLabel* m_progressText = nullptr;
    QLabel* m_summary = nullptr;
    QLabel* m_luck = nullptr;
    BalanceChart* m_chart = nullptr;
    SessionHistogram* m_histogram = nullptr;
    QTableWidget* m_table = nullptr;
    std::vector<QPushButton*> m_outputButtons;
    JobRunner* m_runner = nullptr;
    std::shared_ptr<SystemOutcome> m_pending; // written by the work under way
    std::shared_ptr<const SystemOutcome> m_outcome;
    QString m_lastFolder;
    QElapsedTimer m_clock; // since "Berechnen", for the line at the end
};

} // namespace cr::ui
