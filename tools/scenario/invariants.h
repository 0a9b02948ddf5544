// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace cr::ui {
class MainWindow;
}

namespace cr::scenario {

// What the checker needs to know of the action just done.
struct ActionContext {
    bool restarted = false;    // "Abbruch" was confirmed with Yes in it
    int gridRowsBefore = 0;    // the grid's row count before it
    long long dialogsKept = 0; // the runner's own record of boxes shown
    std::string exportBefore;  // the export text box before it
    std::string exportDue;     // what an export would have to give before it
};

// The context as it stands before an action; the rest is filled in after.
ActionContext contextBefore(const ui::MainWindow& window);

// The first rule of the run that the window breaks as it stands, in words;
// empty when every one holds.
std::string brokenInvariant(const ui::MainWindow& window, const ActionContext& context);

} // namespace cr::scenario
