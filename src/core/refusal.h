// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/permanence.h"

#include <array>
#include <string>

namespace cr {

// The three status lines that name a refused permanence's spin: " Datei
// nicht übernommen:", "  Wurf N lautet FELD," and "  erlaubt sind 0 bis 36.".
std::array<std::string, 3> refusalLines(const PermanenceOutcome& outcome);

} // namespace cr
