// SPDX-License-Identifier: GPL-3.0-or-later
#include "monkey.h"

#include "ui/files/importchooser.h"
#include "ui/main/mainwindow.h"

#include <QDir>
#include <QListWidget>

namespace cr::scenario {

namespace {

const std::vector<std::string> kButtons{"okstart", "okweiter",   "okstep",         "okreset",
                                        "okclip",  "okinfo",     "okextern",       "okabbrechen",
                                        "okende",  "okexternok", "okexternabbruch"};
const std::vector<std::string> kKeys{"Tab", "Backtab", "Return", "Space", "Escape"};
const std::vector<std::string> kFiles{"anfuehrung.txt", "beispiel.txt",       "cp1252.txt",
                                      "cr.txt",         "einrueckung.txt",    "klein.txt",
                                      "komma.txt",      "kopf.txt",           "kurz.txt",
                                      "leer.txt",       "leerzeilen.txt",     "lf.txt",
                                      "nord.txt",       "sechs.txt",          "wurf36_6.txt",
                                      "wurf37.txt",     "nur_leerzeilen.txt", "fehlt.txt"};
// Texts a person types by mistake or on purpose.
const std::vector<std::string> kOddTexts{"3,5",   "2.5",  "0.5", "abc",
                                         "12abc", "-3",   "0",   "99999999999999999999",
                                         "1E3",   "&H10", " 7",  "1e400"};

} // namespace

Monkey::Monkey(std::uint64_t seed, std::string permanences)
    : m_engine(seed), m_permanences(std::move(permanences)) {}

// Plain modulo rather than a distribution, whose output the standard leaves
// to each library: the stream of a seed must be the same everywhere.
int Monkey::below(int n) {
    return static_cast<int>(m_engine() % static_cast<std::uint64_t>(n));
}

std::string Monkey::pick(const std::vector<std::string>& choices) {
    return choices[static_cast<std::size_t>(below(static_cast<int>(choices.size())))];
}

std::string Monkey::someText(bool stepRate) {
    switch (below(10)) {
    case 0:
    case 1:
        return pick(kOddTexts);
    case 2:
        return std::to_string(below(20000)); // now and then past every limit
    default:
        return std::to_string(stepRate ? 1 + below(12) : 1 + below(150));
    }
}

std::vector<std::string> Monkey::next(const ui::MainWindow& window) {
    const int roll = below(108);
    if (roll >= 100) {
        return {below(3) == 0 ? "click okstep" : "click okweiter"}; // so runs get somewhere
    }
    if (roll < 32) {
        const std::string button = pick(kButtons);
        if (button == "okende") {
            return {"click okende"}; // no answer queued: No
        }
        if (button == "okabbrechen" && below(2) == 0) {
            return {"answer yes", "click okabbrechen"};
        }
        return {"click " + button};
    }
    if (roll < 52) {
        const std::string box = below(3) == 0 ? "textanzahl" : "textwiederhol";
        switch (below(4)) {
        case 0:
            return {"set " + box + " " + someText(box == "textwiederhol")};
        case 1:
            return {"backspace " + box + " " + std::to_string(below(4))};
        case 2:
            return {"set " + box + " "};
        default:
            return {"type " + box + " " + someText(box == "textwiederhol")};
        }
    }
    if (roll < 64) {
        return {"key " + pick(kKeys)};
    }
    if (roll < 66) {
        return {"livestart"};
    }
    if (roll < 78) {
        if (below(8) == 0) {
            return {"live " + pick(kOddTexts)};
        }
        return {"live " + std::to_string(below(37))};
    }
    if (roll < 83) {
        return {below(3) == 0 ? "redo" : "undo"};
    }
    if (roll < 86) {
        std::string line = "open " + m_permanences + "/" + pick(kFiles);
        if (below(2) == 0) {
            line += ' ';
            line += std::to_string(1 + below(8));
        }
        if (below(2) == 0) {
            return {"answer yes", line};
        }
        return {line};
    }
    // The import chooser; its lines do nothing while it is hidden.
    const ui::ImportChooser& chooser = window.chooser();
    switch (below(4)) {
    case 0:
        return {"dir " + (below(4) == 0 ? m_permanences + "/.." : m_permanences)};
    case 1: {
        const QStringList drives = chooser.drives();
        if (!drives.isEmpty() && below(4) == 0) {
            return {"drive " + drives.at(below(static_cast<int>(drives.size()))).toStdString()};
        }
        return {"click okexternok"};
    }
    default: {
        const QListWidget* list = chooser.fileList();
        if (list && list->count() > 0 && chooser.isVisible()) {
            return {"select " + list->item(below(list->count()))->text().toStdString()};
        }
        return {"click okextern"};
    }
    }
}

} // namespace cr::scenario

// The runner's "monkey SEED COUNT".
#include "core/texts.h"
#include "invariants.h"
#include "runner.h"
#include "words.h"

#include <deque>
#include <iostream>
#include <sstream>

namespace cr::scenario {

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
    m_random.seed(static_cast<std::uint64_t>(*seed)); // the window's draws follow the seed too
    Monkey monkey(static_cast<std::uint64_t>(*seed), CR_SCENARIO_PERMANENCES);
    const QString abbruch = QString::fromUtf8(texts::kAbbruchTitle.data(),
                                              static_cast<int>(texts::kAbbruchTitle.size()));
    std::deque<std::string> recent; // the last actions, in words, for the report
    for (long long number = 1; number <= *count; ++number) {
        const std::vector<std::string> lines = monkey.next(*m_window);
        std::string words;
        for (const std::string& line : lines) {
            if (!words.empty()) {
                words += "; ";
            }
            words += line;
        }
        recent.push_back(std::to_string(number) + ": " + words);
        if (recent.size() > 20) {
            recent.pop_front();
        }
        ActionContext context;
        context.gridRowsBefore = m_window->run().grid().rowCount();
        const std::size_t shownBefore = m_dialogsShown;
        m_answers.clear(); // an answer belongs to its own action only
        try {
            for (const std::string& line : lines) {
                runLine(line);
                settle();
            }
        } catch (const LineError& error) {
            throw LineError{"monkey " + std::to_string(*seed) + " action " +
                            std::to_string(number) + " (" + words + "): " + error.reason};
        }
        m_answers.clear();
        const std::size_t fresh = std::min(m_dialogsShown - shownBefore, m_dialogs.size());
        for (std::size_t i = m_dialogs.size() - fresh; i < m_dialogs.size(); ++i) {
            context.restarted |= m_dialogs[i].title == abbruch && m_dialogs[i].yes;
        }
        context.dialogsKept = static_cast<long long>(m_dialogs.size());
        const std::string broken = brokenInvariant(*m_window, context);
        if (!broken.empty()) {
            std::cerr << "monkey: seed " << *seed << ", action " << number
                      << " broke a rule: " << broken << "\nreplay: monkey " << *seed << " "
                      << number << "\nthe last actions:\n";
            for (const std::string& line : recent) {
                std::cerr << "  " << line << "\n";
            }
            std::cerr.flush();
            throw InvariantBroken{};
        }
    }
}

} // namespace cr::scenario
