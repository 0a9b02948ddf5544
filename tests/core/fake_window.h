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
    std::map<Control, bool> visible;
    std::deque<bool> answers; // queued Yes/No answers; none queued means No
    std::vector<std::string> questions;
    bool closed = false;
    std::optional<std::string> clipboard;
    bool clipboardRefuses = false; // as when another program holds the clipboard
    int spinsChecks = 0;
    int stepRateChecks = 0;

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
        notify(control);
    }
    void setEnabled(Control control, bool on) override { enabled[control] = on; }
    void setVisible(Control control, bool on) override { visible[control] = on; }
    bool confirm(std::string_view title, std::string_view question) override {
        questions.push_back(std::string(title) + "|" + std::string(question));
        if (answers.empty()) {
            return false;
        }
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }
    void closeWindow() override { closed = true; }
    void clipboardClear() override { clipboard.reset(); }
    bool clipboardSet(std::string_view text) override {
        if (clipboardRefuses) {
            return false;
        }
        clipboard = std::string(text);
        return true;
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

private:
    void notify(Control control) {
        if (!run) {
            return;
        }
        if (control == Control::textanzahl) {
            ++spinsChecks;
            run->spinsBoxChanged();
        } else if (control == Control::textwiederhol) {
            ++stepRateChecks;
            run->stepRateBoxChanged();
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
