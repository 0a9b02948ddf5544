// SPDX-License-Identifier: GPL-3.0-or-later
// The runner's "monkey SEED COUNT": the actions run, the rules checked after
// each, and a failing seed reported and shrunk.
#include "core/texts.h"
#include "invariants.h"
#include "monkey.h"
#include "runner.h"
#include "words.h"

#include <QTemporaryDir>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <iostream>
#include <malloc.h>
#include <sstream>

namespace cr::scenario {

namespace {

// The runner's resident memory as the kernel counts it, for the progress
// lines that show whether a long run holds on to what it no longer needs.
long long residentKiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::atoll(line.c_str() + 6);
        }
    }
    return -1;
}

std::string inWords(const std::vector<std::string>& lines) {
    std::string words;
    for (const std::string& line : lines) {
        if (!words.empty()) {
            words += "; ";
        }
        words += line;
    }
    return words;
}

} // namespace

std::string Runner::monkeyAction(const std::vector<std::string>& lines) {
    static const QString abbruch = QString::fromUtf8(texts::kAbbruchTitle.data(),
                                                     static_cast<int>(texts::kAbbruchTitle.size()));
    ActionContext context = contextBefore(*m_window);
    const std::size_t shownBefore = m_dialogsShown;
    m_answers.clear(); // an answer belongs to its own action only
    for (const std::string& line : lines) {
        if (!runMonkeyLine(line)) {
            runLine(line);
        }
        settle();
    }
    m_answers.clear();
    // A confirmed "Abbruch" leaves the window as the restart sets it, unless
    // the same action goes on to a new run (a file opened or dropped, a run
    // replayed from "Auswertung", the live entry): only a click or a key ends
    // with the restart.
    const std::string& last = lines.back();
    const bool endsWithRestart = last.rfind("click ", 0) == 0 || last.rfind("key ", 0) == 0;
    const std::size_t fresh = std::min(m_dialogsShown - shownBefore, m_dialogs.size());
    for (std::size_t i = m_dialogs.size() - fresh; i < m_dialogs.size(); ++i) {
        context.restarted |= endsWithRestart && m_dialogs[i].title == abbruch && m_dialogs[i].yes;
    }
    context.dialogsKept = static_cast<long long>(m_dialogs.size());
    return brokenInvariant(*m_window, context);
}

void Runner::runMonkey(const std::string& arguments) {
    std::istringstream input(arguments);
    std::string seedWord;
    std::string countWord;
    std::string extra;
    input >> seedWord >> countWord >> extra;
    const auto seed = wholeNumber(seedWord);
    const auto count = wholeNumber(countWord);
    if (!seed || !count || *count < 0 || !extra.empty()) {
        throw LineError{"monkey takes a seed and a count of actions"};
    }
    if (!windowOpen()) {
        return;
    }
    const auto start = static_cast<std::uint64_t>(*seed);
    m_random.seed(start); // the window's draws follow the seed too
    const QTemporaryDir saves;
    if (!saves.isValid()) {
        throw LineError{"monkey: no temporary folder for its saved runs"};
    }
    m_monkeySaves = saves.path().toStdString();
    Monkey monkey(start, CR_SCENARIO_PERMANENCES, m_monkeySaves);
    std::deque<std::string> recent; // the last actions, in words, for the report
    const bool progress = qEnvironmentVariableIsSet("CR_MONKEY_PROGRESS");
    for (long long number = 1; number <= *count; ++number) {
        const std::vector<std::string> lines = monkey.next(*m_window);
        recent.push_back(std::to_string(number) + ": " + inWords(lines));
        if (recent.size() > 20) {
            recent.pop_front();
        }
        if (progress && number % 10000 == 0) {
            // Beside the resident size, what the heap holds in use: resident
            // memory the allocator keeps after freeing is no leak.
            std::cerr << "monkey: " << number << " actions, resident " << residentKiB()
                      << " KiB, heap in use " << mallinfo2().uordblks / 1024 << " KiB" << std::endl;
        }
        std::string broken;
        try {
            broken = monkeyAction(lines);
        } catch (const LineError& error) {
            throw LineError{"monkey " + std::to_string(start) + " action " +
                            std::to_string(number) + " (" + inWords(lines) + "): " + error.reason};
        }
        if (broken.empty()) {
            continue;
        }
        std::cerr << "monkey: seed " << start << ", action " << number
                  << " broke a rule: " << broken << "\nreplay: monkey " << start << " " << number
                  << "\nthe last actions:\n";
        for (const std::string& line : recent) {
            std::cerr << "  " << line << "\n";
        }
        std::cerr.flush();
        reportShrunk(start, number);
        throw InvariantBroken{};
    }
}

// The actions of the seed again, in a fresh window, cut down to the fewest
// that still break a rule.
void Runner::reportShrunk(std::uint64_t seed, long long count) {
    std::vector<std::vector<std::string>> actions;
    freshWindow(seed);
    Monkey monkey(seed, CR_SCENARIO_PERMANENCES, m_monkeySaves);
    bool broke = false;
    while (!broke && static_cast<long long>(actions.size()) < count) {
        actions.push_back(monkey.next(*m_window));
        broke = !monkeyAction(actions.back()).empty();
    }
    if (!broke || static_cast<long long>(actions.size()) != count) {
        std::cerr << "shrinking: a fresh window does not break the rule at the same action\n";
        return;
    }
    const auto fewest = shrink(seed, std::move(actions));
    std::cerr << "shrunk to " << fewest.size() << " actions (seed " << seed
              << " for the window's draws):\n";
    for (const auto& lines : fewest) {
        std::cerr << "  " << inWords(lines) << "\n";
    }
    std::cerr.flush();
}

} // namespace cr::scenario
