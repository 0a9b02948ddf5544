#pragma once

#include "core/controls.h"
#include "core/run.h"

#include <array>
#include <string>

namespace cr::support {

// A window held in memory: it keeps every text and state the run writes,
// and runs the box checks as a real window would.
class MemoryWindow final : public WindowPort {
public:
    RunControl* run = nullptr;

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
    bool isEnabled(Control control) const { return m_enabled[index(control)]; }
    bool confirm(std::string_view, std::string_view) override { return true; }
    void closeWindow() override {}
    void clipboardClear() override { m_clipboard.clear(); }
    bool clipboardSet(std::string_view text) override {
        m_clipboard.assign(text);
        return true;
    }

private:
    static constexpr std::size_t kControls = static_cast<std::size_t>(Control::tabelle2) + 1;
    static std::size_t index(Control c) { return static_cast<std::size_t>(c); }
    std::array<std::string, kControls> m_texts;
    std::array<bool, kControls> m_enabled = [] {
        std::array<bool, kControls> states{};
        for (std::size_t i = 0; i < kControls; ++i) {
            states[i] = enabledAtStartup(static_cast<Control>(i));
        }
        return states;
    }();
    std::array<bool, kControls> m_visible{};
    std::string m_clipboard;
};

} // namespace cr::support
