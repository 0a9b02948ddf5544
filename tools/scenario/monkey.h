// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace cr::ui {
class MainWindow;
}

namespace cr::scenario {

// Draws what a person could do next in the window, as lines: the runner's
// script lines, and a few of the monkey's own for the other windows (see
// Runner::runMonkeyLine). The choice depends only on the seed and on the
// window as it stands, so the same seed gives the same actions.
class Monkey {
public:
    // PERMANENCES: the folder of the test permanences; SAVES: a folder the
    // monkey may write its saved runs and steps into.
    Monkey(std::uint64_t seed, std::string permanences, std::string saves);
    // One action: usually one line, sometimes an answer queued before a
    // click, or a job started, something done meanwhile and the job cancelled.
    std::vector<std::string> next(const ui::MainWindow& window);

private:
    int below(int n);
    std::string pick(const std::vector<std::string>& choices);
    std::string someText(bool stepRate);
    std::string somePermanence();
    // One action in the main window alone.
    std::vector<std::string> mainAction(const ui::MainWindow& window);
    std::vector<std::string> chooserAction(const ui::MainWindow& window);
    std::vector<std::string> fileAction();
    std::vector<std::string> courseAction();
    std::vector<std::string> analysisAction(const ui::MainWindow& window);
    std::vector<std::string> systemAction(const ui::MainWindow& window);

    std::mt19937_64 m_engine;
    std::string m_permanences;
    std::string m_saves;
};

} // namespace cr::scenario
