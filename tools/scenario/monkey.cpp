// SPDX-License-Identifier: GPL-3.0-or-later
#include "monkey.h"

#include "ui/analysis/analysiswindow.h"
#include "ui/files/importchooser.h"
#include "ui/main/mainwindow.h"
#include "ui/main/runmenu.h"
#include "ui/system/systemwindow.h"
#include "words.h"

#include <QDir>
#include <QListWidget>

namespace cr::scenario {

namespace {

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
const std::vector<std::string> kSystems{"rot",      "schwarz", "manque", "passe", "gerade",
                                        "ungerade", "leer",    "folge",  "gegen", "letzter"};
const std::vector<std::string> kProgressions{"flat", "martingale", "paroli", "dalembert"};

} // namespace

Monkey::Monkey(std::uint64_t seed, std::string permanences, std::string saves)
    : m_engine(seed), m_permanences(std::move(permanences)), m_saves(std::move(saves)) {}

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

std::string Monkey::somePermanence() {
    return m_permanences + "/" + pick(kFiles);
}

std::vector<std::string> Monkey::next(const ui::MainWindow& window) {
    // Mostly the main window; the other windows' jobs cost far more per
    // action, so they come less often.
    const int roll = below(128);
    if (roll < 110) {
        return mainAction(window);
    }
    if (roll < 116) {
        return fileAction();
    }
    if (roll < 120) {
        return courseAction();
    }
    if (roll < 125) {
        return analysisAction(window);
    }
    return systemAction(window);
}

std::vector<std::string> Monkey::mainAction(const ui::MainWindow& window) {
    const int roll = below(100);
    if (roll >= 84) {
        return {below(3) == 0 ? "click okstep" : "click okweiter"}; // so runs get somewhere
    }
    if (roll < 24) {
        const std::string button = pick(kButtonNames);
        if (button == "okende") {
            return {"click okende"}; // no answer queued: No
        }
        if (button == "okabbrechen" && below(2) == 0) {
            return {"answer yes", "click okabbrechen"};
        }
        return {"click " + button};
    }
    if (roll < 40) {
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
    if (roll < 48) {
        return {"key " + pick(kKeys)};
    }
    if (roll < 50) {
        return {"livestart"};
    }
    if (roll < 58) {
        if (below(8) == 0) {
            return {"live " + pick(kOddTexts)};
        }
        return {"live " + std::to_string(below(37))};
    }
    if (roll < 62) {
        return {"tableau " + std::to_string(below(37))}; // a click on the live panel's tableau
    }
    if (roll < 66) {
        return {below(3) == 0 ? "redo" : "undo"};
    }
    if (roll < 70) {
        std::string line = "open " + somePermanence();
        if (below(2) == 0) {
            line += ' ';
            line += std::to_string(1 + below(8));
        }
        if (below(2) == 0) {
            return {"answer yes", line};
        }
        return {line};
    }
    return chooserAction(window);
}

// The import chooser; its lines do nothing while it is hidden.
std::vector<std::string> Monkey::chooserAction(const ui::MainWindow& window) {
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

// Saving the run or its steps, opening what was saved, and files dropped
// on the window. A few names only, so the folder stays small; a name under
// a saved file is a folder that cannot exist.
std::vector<std::string> Monkey::fileAction() {
    const std::string saved = m_saves + "/lauf-" + std::to_string(below(3)) + ".txt";
    switch (below(6)) {
    case 0:
        return {"save " + (below(6) == 0 ? saved + "/darunter.txt" : saved)};
    case 1:
        return {"savesteps " + m_saves + "/steps-" + std::to_string(below(2)) + ".txt"};
    case 2:
        return {"answer yes", "open " + saved};
    case 3:
        return {below(2) == 0 ? "drop " + somePermanence() : "drop " + saved};
    case 4:
        return {"answer yes", "drop " + somePermanence()};
    default:
        return {"drop"}; // text, not a file
    }
}

std::vector<std::string> Monkey::courseAction() {
    switch (below(5)) {
    case 0:
        return {"menu verlauf"};
    case 1:
        return {"verlauf close"};
    case 2:
        return {"verlauf log"};
    default:
        return {"verlauf zoom " + std::to_string(1 << below(7))};
    }
}

// "Auswertung": small jobs computed to their end, a job cancelled while the
// main window goes on, and a run of its findings replayed in the main window.
std::vector<std::string> Monkey::analysisAction(const ui::MainWindow& window) {
    const ui::AnalysisWindow* analysis = window.menu().analysisWindow();
    if (!analysis || !analysis->isVisible() || below(12) == 0) {
        return {"menu auswertung"};
    }
    const std::string simulate = "auswertung simulate " + std::to_string(1 + below(40)) + " " +
                                 std::to_string(1 + below(400)) + " " +
                                 std::to_string(1 + below(40)) + " " + std::to_string(below(1000));
    switch (below(8)) {
    case 0:
        return {"auswertung close"};
    case 1:
        return {"auswertung files " + somePermanence() + " " + std::to_string(1 + below(12))};
    case 2: {
        std::vector<std::string> lines{"auswertung start"};
        for (const std::string& line : mainAction(window)) {
            lines.push_back(line);
        }
        lines.emplace_back("auswertung cancel");
        return lines;
    }
    case 3:
        return {simulate,
                "auswertung search " + std::to_string(1 + below(6)) + " " +
                    std::to_string(below(6)),
                "answer yes", "auswertung replay " + std::to_string(below(4))};
    case 4:
        return {"auswertung source " + std::to_string(below(4))};
    default:
        return {simulate};
    }
}

// "Systemtest" over the main window's run: computed to its end, or started
// and cancelled while the main window goes on.
std::vector<std::string> Monkey::systemAction(const ui::MainWindow& window) {
    const ui::SystemWindow* system = window.menu().systemWindow();
    if (!system || !system->isVisible() || below(10) == 0) {
        return {"menu systemtest"};
    }
    switch (below(5)) {
    case 0:
        return {"system close"};
    case 1: {
        std::vector<std::string> lines{"system start"};
        for (const std::string& line : mainAction(window)) {
            lines.push_back(line);
        }
        lines.emplace_back("system cancel");
        return lines;
    }
    default:
        return {"systemtest --system " + pick(kSystems) + " --progression " + pick(kProgressions) +
                " --steprate " + std::to_string(1 + below(40))};
    }
}

} // namespace cr::scenario
