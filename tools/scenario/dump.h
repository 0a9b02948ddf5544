// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runner.h"

#include <string>
#include <vector>

namespace cr::scenario {

// What the window shows and the run state behind it, as one line of JSON;
// with the result line of the last "systemtest" (JSON) when there was one.
std::string dumpJson(const ui::MainWindow& window, bool closed,
                     const std::vector<DialogRecord>& dialogs, const std::string& systemtest = {});

} // namespace cr::scenario
