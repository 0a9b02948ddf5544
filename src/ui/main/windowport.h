// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/controls.h"

#include <QString>
#include <array>
#include <functional>
#include <map>
#include <string>

class QMessageBox;
class QWidget;

namespace cr::ui {

class ResultGridModel;

// The run's view of the window, over the real widgets. Texts written while a
// user event is handled are shown together when it returns (see Batch), so
// a whole "S t e p" series costs one repaint; the two input boxes are never
// deferred, because their checks run nested inside the change.
class QtWindowPort final : public WindowPort {
public:
    explicit QtWindowPort(QWidget* window);
    ~QtWindowPort() override;

    // The port works once the window's controls and its grid model exist.
    void attach(std::map<Control, QWidget*> widgets, ResultGridModel* gridModel) {
        m_widgets = std::move(widgets);
        m_gridModel = gridModel;
    }
    QString cliptext() const { return m_cliptext; }

    // Open while one user event is handled; the outermost one shows what was
    // written, then calls shown.
    class Batch {
    public:
        Batch(QtWindowPort& port, std::function<void()> shown);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        QtWindowPort& m_port;
        std::function<void()> m_shown;
    };

    std::string_view boxText(Control box) const override;
    void setText(Control control, std::string_view text) override;
    void setEnabled(Control control, bool enabled) override;
    void setVisible(Control control, bool visible) override;
    bool confirm(std::string_view title, std::string_view question) override;
    void closeWindow() override;
    void clipboardClear() override;
    bool clipboardSet(std::string_view text) override;

private:
    void applyText(Control control, const QString& text);
    void flushPending();

    struct PendingText {
        std::string text;
        bool waiting = false;
    };
    QWidget* m_window;
    ResultGridModel* m_gridModel = nullptr;
    std::map<Control, QWidget*> m_widgets;
    mutable std::map<Control, std::string> m_boxCache;
    std::array<PendingText, kControlCount> m_pending;
    int m_batchDepth = 0;
    QString m_cliptext;
    QMessageBox* m_confirmBox = nullptr;
};

} // namespace cr::ui
