// SPDX-License-Identifier: GPL-3.0-or-later
// Cutting a monkey's failing actions down to the few that matter, each try
// in a window of its own, as the runner's first window would be.
#include "runner.h"
#include "ui/main/mainwindow.h"

#include <QDir>
#include <QTemporaryDir>
#include <chrono>

namespace cr::scenario {

namespace {

// Long enough to cut a typical finding to a handful of actions, short
// enough that a stress run goes on to the next seed.
constexpr std::chrono::seconds kShrinkTime{90};

} // namespace

void Runner::freshWindow(std::uint64_t seed) {
    m_window.reset();
    settle();
    m_dialogs.clear();
    m_dialogsShown = 0;
    m_answers.clear();
    m_systemtest.clear();
    if (!m_trialHomes) {
        m_trialHomes = std::make_unique<QTemporaryDir>();
    }
    // No unfinished live session of an earlier try may be offered.
    const QString home = m_trialHomes->filePath(QString::number(++m_trials));
    QDir().mkpath(home);
    qputenv("XDG_DATA_HOME", QFile::encodeName(home));
    ensureWindow();
    m_random.seed(seed);
}

bool Runner::breaks(std::uint64_t seed, const std::vector<std::vector<std::string>>& actions) {
    freshWindow(seed);
    try {
        for (const auto& lines : actions) {
            if (!monkeyAction(lines).empty()) {
                return true;
            }
        }
    } catch (const LineError&) {
        return false; // without the actions left out, a line lost its target
    }
    return false;
}

std::vector<std::vector<std::string>>
Runner::shrink(std::uint64_t seed, std::vector<std::vector<std::string>> actions) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + kShrinkTime;
    // Most faults need only the last few actions: the shortest tail first.
    for (std::size_t keep = 1; keep < actions.size() && Clock::now() < deadline; keep *= 2) {
        std::vector<std::vector<std::string>> tail(actions.end() - static_cast<long>(keep),
                                                   actions.end());
        if (breaks(seed, tail)) {
            actions = std::move(tail);
            break;
        }
    }
    // Then leave out ever smaller pieces while the rule still breaks.
    for (std::size_t piece = actions.size() / 2; piece >= 1; piece /= 2) {
        for (std::size_t at = 0; at < actions.size() && Clock::now() < deadline;) {
            std::vector<std::vector<std::string>> fewer;
            const std::size_t end = std::min(actions.size(), at + piece);
            fewer.insert(fewer.end(), actions.begin(), actions.begin() + static_cast<long>(at));
            fewer.insert(fewer.end(), actions.begin() + static_cast<long>(end), actions.end());
            if (!fewer.empty() && breaks(seed, fewer)) {
                actions = std::move(fewer);
            } else {
                at += piece;
            }
        }
        if (piece == 1 || Clock::now() >= deadline) {
            break;
        }
    }
    return actions;
}

} // namespace cr::scenario
