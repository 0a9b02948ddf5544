// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/controls.h"
#include "core/run.h"

#include <array>
#include <deque>
#include <optional>
#include <string>

namespace cr::support {

// A window held in memory, for the tests, the fuzz targets and the
// benchmarks: it keeps every text and state the run writes and keeps the
// text-box contract of a real window (a different text notifies the box's
// check at once, the same text notifies nothing).
class MemoryWindow final : public WindowPort {
public:
    RunControl* run = nullptr;
    std::deque<bool> answers;         // queued Yes/No answers to confirmation boxes
    bool answerWhenNoneQueued = true; // the answer to a box with none queued
    std::optional<std::string> clipboard;
    bool clipboardRefuses = false; // as when another program holds the clipboard

    std::string_view boxText(Control box) const override { return m_texts[index(box)]; }
    void setText(Control control, std::string_view text) override {
        std::string& current = m_texts[index(control)];
        if (current == text) {
            return;
        }
        current.assign(text);
        if (run && control == Control::textanzahl) {
            run->spinsBoxChanged();
        } else if (run && control == Control::textwiederhol) {
            run->stepRateBoxChanged();
        }
    }
    void setEnabled(Control control, bool on) override { m_enabled[index(control)] = on; }
    void setVisible(Control control, bool on) override { m_visible[index(control)] = on; }
    bool confirm(std::string_view, std::string_view) override {
        if (answers.empty()) {
            return answerWhenNoneQueued;
        }
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }
    void closeWindow() override {}
    void clipboardClear() override { clipboard.reset(); }
    bool clipboardSet(std::string_view text) override {
        if (!clipboardRefuses) {
            clipboard = std::string(text);
        }
        return !clipboardRefuses;
    }

    bool isEnabled(Control control) const { return m_enabled[index(control)]; }
    bool isVisible(Control control) const { return m_visible[index(control)]; }
    std::string textOf(Control control) const { return m_texts[index(control)]; }

    // Typing into an enabled box: every key is one change.
    void type(Control box, std::string_view keys) {
        if (!isEnabled(box)) {
            return;
        }
        for (char key : keys) {
            setText(box, textOf(box) + key);
        }
    }

private:
    static std::size_t index(Control c) { return static_cast<std::size_t>(c); }
    std::array<std::string, kControlCount> m_texts;
    std::array<bool, kControlCount> m_enabled = [] {
        std::array<bool, kControlCount> states{};
        for (std::size_t i = 0; i < kControlCount; ++i) {
            states[i] = enabledAtStartup(static_cast<Control>(i));
        }
        return states;
    }();
    std::array<bool, kControlCount> m_visible{};
};

} // namespace cr::support
