// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/job.h"
#include "analysis/oddruns.h"

#include <QWidget>
#include <cstdint>
#include <memory>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace cr::ui {

class JobRunner;

// "Auffällige Läufe": for a step and a counter the runs that lie farthest
// from the exact mean, with where each comes from; a double click asks the
// main window to replay one of them spin by spin. The search runs on a job
// runner of its own, so the window stays usable.
class OddRunsPanel final : public QWidget {
    Q_OBJECT
public:
    explicit OddRunsPanel(QWidget* parent = nullptr);
    ~OddRunsPanel() override;

    // The result shown and the entries it was computed from; none: nothing
    // to search.
    void setResult(std::shared_ptr<const analysis::JobResult> result,
                   const analysis::JobInput& input);
    void search(int step, std::size_t counter); // as "Suchen" does
    void cancel();
    bool busy() const;
    void waitUntilDone();
    // Asks for the replay of the row's run (a double click on it).
    void replayRow(int row);

    QTableWidget* table() const { return m_table; }
    QString noteText() const;

signals:
    // The run from firstSpin of the file on: the main window opens it there.
    void replayFile(const QString& path, long long firstSpin);
    // A run without a file (simulated, or numbers of the main window): its numbers.
    void replayNumbers(const QString& name, const std::vector<std::uint8_t>& numbers);

private:
    void showFound();
    QString sourceName(std::size_t source) const;

    std::shared_ptr<const analysis::JobResult> m_result;
    analysis::JobInput m_input; // without the loaded numbers: the result keeps them
    std::vector<analysis::OddRun> m_found;
    std::shared_ptr<std::vector<analysis::OddRun>> m_pending; // the search's until it ends
    int m_step = 0;
    std::size_t m_counter = 0;

    QSpinBox* m_stepBox = nullptr;
    QComboBox* m_counterBox = nullptr;
    QPushButton* m_searchButton = nullptr;
    QLabel* m_note = nullptr;
    QTableWidget* m_table = nullptr;
    JobRunner* m_runner = nullptr;
};

} // namespace cr::ui
