// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/refusal.h"

#include "core/texts.h"

namespace cr {

std::array<std::string, 3> refusalLines(const PermanenceOutcome& outcome) {
    std::string spin(texts::kRefusedSpin);
    spin += std::to_string(outcome.refusedSpin);
    spin += texts::kRefusedIs;
    spin += outcome.refusedText;
    spin += ',';
    return {std::string(texts::kRefusedFirst), spin, std::string(texts::kRefusedLast)};
}

} // namespace cr
