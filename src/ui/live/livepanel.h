// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <optional>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;

namespace cr {
class RunControl;
}

namespace cr::ui {

// The live entry below the main window's form: a box for the number that
// fell, the table's tableau of numbers to click, "Zurück" and "Wiederholen",
// how far the run has come, and a line saying what the last entry did (which
// a screen reader hears).
class LivePanel final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeight = 172;

    explicit LivePanel(QWidget* parent);

    // Enabled states and texts as the run stands; after every user event.
    void follow(const RunControl& run);
    // After an entry, an undo or a redo: what it did, in the line below.
    void tell(const RunControl& run, const QString& what);

    QLineEdit* entryBox() const { return m_entry; }
    QPushButton* numberButton(int number) const {
        return m_numbers[static_cast<std::size_t>(number)];
    }
    QPushButton* undoButton() const { return m_undo; }
    QPushButton* redoButton() const { return m_redo; }
    // Its controls in the order Tab visits them.
    std::vector<QWidget*> tabOrder() const;
    QString progressText() const;
    QString lastText() const;

signals:
    void entered(const QString& text); // Enter in the box, or a number of the tableau
    void undoRequested();
    void redoRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* m_entry = nullptr;
    std::array<QPushButton*, 37> m_numbers{};
    QPushButton* m_undo = nullptr;
    QPushButton* m_redo = nullptr;
    QLabel* m_progress = nullptr;
    QLabel* m_last = nullptr;
    std::optional<std::array<int, 6>> m_counters; // as last told
};

} // namespace cr::ui
