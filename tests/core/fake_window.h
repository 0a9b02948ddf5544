#pragma once

#include "core/controls.h"
#include "core/random.h"
#include "core/run.h"

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace cr::testing {

// An in-memory window keeping the text-box contract: a different text
// notifies the box's check at once, the same text notifies nothing.
class FakeWindow final : public WindowPort {
public:
    RunControl* run = nullptr;
    std::map<Control, std::string> texts;
    std::map<Control, bool> enabled;
    std::deque<bool> answers; // queued Yes/No answers; none queued means No
    std::optional<std::string> clipboard;
    bool clipboardRefuses = false; // as when another program holds the clipboard

    std::string_view boxText(Control box) const override {
        auto it = texts.find(box);
        return it == texts.end() ? std::string_view() : std::string_view(it->second);
    }
    void setText(Control control, std::string_view text) override {
        std::string& current = texts[control];
        if (current == text) {
            return;
        }
        current = std::string(text);
        if (run && control == Control::textanzahl) {
            run->spinsBoxChanged();
        } else if (run && control == Control::textwiederhol) {
            run->stepRateBoxChanged();
        }
    }
    void setEnabled(Control control, bool on) override { enabled[control] = on; }
    void setVisible(Control, bool) override {}
    bool confirm(std::string_view, std::string_view) override {
        const bool yes = !answers.empty() && answers.front();
        if (!answers.empty()) {
            answers.pop_front();
        }
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

    bool isEnabled(Control control) const {
        auto it = enabled.find(control);
        return it == enabled.end() ? enabledAtStartup(control) : it->second;
    }
    std::string textOf(Control control) const { return std::string(boxText(control)); }

    // Typing: every key is one change of the box.
    void type(Control box, std::string_view keys) {
        if (!isEnabled(box)) {
            return;
        }
        for (char key : keys) {
            setText(box, textOf(box) + key);
        }
    }
};

// Delivers queued numbers, each as the uniform value (n + 0.5) / 37.
class QueuedRandom final : public RandomSource {
public:
    std::deque<int> queue;
    int seeds = 0;
    void seedFromClock() override { ++seeds; }
    double next() override {
        int n = 0;
        if (!queue.empty()) {
            n = queue.front();
            queue.pop_front();
        }
        return (n + 0.5) / 37.0;
    }
};

// A run control wired to an in-memory window and queued numbers, started up.
struct Harness {
    FakeWindow window;
    QueuedRandom random;
    RunControl run{window, random, ","};

    Harness() {
        window.run = &run;
        run.startup();
    }
    // Types the number of spins and the step rate, queues the numbers and starts.
    void startWith(std::string_view spins, std::string_view steprate,
                   const std::vector<int>& numbers) {
        window.type(Control::textanzahl, spins);
        window.type(Control::textwiederhol, steprate);
        random.queue.assign(numbers.begin(), numbers.end());
        run.start();
    }
};

} // namespace cr::testing
