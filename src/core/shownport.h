// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/controls.h"

#include <array>
#include <string>

namespace cr {

// What the run last wrote to each control: texts and enabled states.
struct Shown {
    std::array<std::string, kControlCount> texts;
    std::array<bool, kControlCount> enabled{};
};

// The window port the run writes through: every write goes on to the real
// window and is remembered, so that the run can put back what it showed at
// an earlier moment (taking back a live entry). While muted, writes are
// remembered only; the window is told the end result afterwards.
class ShownPort final : public WindowPort {
public:
    explicit ShownPort(WindowPort& window) : m_window(window) {
        for (std::size_t i = 0; i < kControlCount; ++i) {
            m_shown.enabled[i] = enabledAtStartup(static_cast<Control>(i));
        }
    }

    std::string_view boxText(Control box) const override { return m_window.boxText(box); }
    void setText(Control control, std::string_view text) override;
    void setEnabled(Control control, bool enabled) override {
        m_shown.enabled[index(control)] = enabled;
        if (!m_muted) {
            m_window.setEnabled(control, enabled);
        }
    }
    void setVisible(Control control, bool visible) override {
        m_window.setVisible(control, visible);
    }
    bool confirm(std::string_view title, std::string_view question) override {
        return m_window.confirm(title, question);
    }
    void closeWindow() override { m_window.closeWindow(); }
    void clipboardClear() override { m_window.clipboardClear(); }
    bool clipboardSet(std::string_view text) override { return m_window.clipboardSet(text); }

    const Shown& shown() const { return m_shown; }
    void setMuted(bool muted) { m_muted = muted; }

    // The texts and states of CONTROLS as FORMER had them, remembered only.
    template <typename Controls> void takeOver(const Shown& former, const Controls& controls) {
        for (const Control c : controls) {
            m_shown.texts[index(c)] = former.texts[index(c)];
            m_shown.enabled[index(c)] = former.enabled[index(c)];
        }
    }
    // Tells the window every text and state of CONTROLS that differs from
    // what it showed (BEFORE).
    template <typename Controls> void showChanges(const Shown& before, const Controls& controls) {
        for (const Control c : controls) {
            if (m_shown.texts[index(c)] != before.texts[index(c)]) {
                m_window.setText(c, m_shown.texts[index(c)]);
            }
            if (m_shown.enabled[index(c)] != before.enabled[index(c)]) {
                m_window.setEnabled(c, m_shown.enabled[index(c)]);
            }
        }
    }

private:
    static std::size_t index(Control c) { return static_cast<std::size_t>(c); }
    WindowPort& m_window;
    Shown m_shown;
    bool m_muted = false;
};

} // namespace cr
