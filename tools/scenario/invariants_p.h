// SPDX-License-Identifier: GPL-3.0-or-later
// What the rules' two files share.
#pragma once

#include "invariants.h"

#include <sstream>
#include <string>

class QWidget;

namespace cr::scenario {

// The first broken rule, in words; later ones would only follow from it.
class Findings {
public:
    template <typename... Words> void fail(const Words&... words) {
        if (m_broken.tellp() == 0) {
            (m_broken << ... << words);
        }
    }
    std::string text() const { return m_broken.str(); }

private:
    std::ostringstream m_broken;
};

const QWidget* control(const ui::MainWindow& window, const char* name);
bool enabledControl(const ui::MainWindow& window, const char* name);

void checkJobs(const ui::MainWindow& window, Findings& found);
void checkCourse(const ui::MainWindow& window, Findings& found);
void checkResults(const ui::MainWindow& window, Findings& found);
void checkExport(const ui::MainWindow& window, const ActionContext& context, Findings& found);

} // namespace cr::scenario
