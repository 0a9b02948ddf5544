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

// Draws what a person could do next in the window, as script lines. The
// choice depends only on the seed and on the window as it stands, so the
// same seed gives the same actions.
class Monkey {
public:
    Monkey(std::uint64_t seed, std::string permanences);
    // One action: usually one line, sometimes an answer queued before a click.
    std::vector<std::string> next(const ui::MainWindow& window);

private:
    int below(int n);
    std::string pick(const std::vector<std::string>& choices);
    std::string someText(bool stepRate);

    std::mt19937_64 m_engine;
    std::string m_permanences; // the folder of the test permanences
};

} // namespace cr::scenario
