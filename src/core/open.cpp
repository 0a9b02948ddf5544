// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/run.h"
#include "core/texts.h"

namespace cr {

namespace {

// A file name as the status label and a saved header can carry it: at most
// kShownName characters (counted as UTF-8 lead bytes), no control characters
// and none of the characters that separate or quote the fields of a
// permanence.
constexpr std::size_t kShownName = 40;

std::string plainName(std::string_view name) {
    std::string shown;
    std::size_t characters = 0;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        const bool lead = (byte & 0xC0) != 0x80;
        if (lead && ++characters > kShownName) {
            shown += "...";
            break;
        }
        if (byte < 0x20 || byte == 0x7F) {
            shown += '?';
        } else if (c == ',') {
            shown += ';';
        } else if (c == '"') {
            shown += '\'';
        } else {
            shown += c;
        }
    }
    return shown;
}

} // namespace

void RunControl::applyOpened(const PermanenceOutcome& outcome, std::string_view fileName,
                             bool withHeader) {
    if (outcome.kind == PermanenceOutcome::Kind::Refused) {
        showRefusal(outcome);
        return;
    }
    if (outcome.kind != PermanenceOutcome::Kind::Read || !m_importUsable) {
        return;
    }
    const auto kept = static_cast<double>(outcome.cells.size()) - 21;
    takeOver(outcome, kept, fileName);

    std::string status;
    if (withHeader) {
        for (const std::string& line : outcome.header) {
            status += line;
            status += texts::kLineBreak;
        }
        status += "  ";
    } else {
        status += ' ';
    }
    status += plainName(fileName);
    status += withHeader ? ": " : std::string(1, texts::kLineBreak) + "  ";
    status += std::to_string(static_cast<long long>(outcome.count));
    status += texts::kOpenedSpins;
    status += std::to_string(outcome.firstKept);
    if (!withHeader) {
        status += texts::kLineBreak;
        status += texts::kStartupLines[1];
    }
    setStatus(std::move(status));
    endImport();
}

std::vector<int> RunControl::takenSpins() const {
    std::vector<int> spins;
    const int taken = m_runStarted ? std::min(m_state.akut, m_runTotal) : 0;
    spins.reserve(static_cast<std::size_t>(std::max(taken, 0)));
    for (int k = 1; k <= taken; ++k) {
        spins.push_back(numberOfSpin(k));
    }
    return spins;
}

std::string RunControl::origin() const {
    if (m_state.modus == Modus::Drawn) {
        return std::string(texts::kOriginDrawn);
    }
    if (m_live) {
        return std::string(texts::kOriginLive);
    }
    std::string origin(texts::kOriginReplayed);
    origin += m_sourceName.empty() ? std::string(texts::kOriginUnnamed) : plainName(m_sourceName);
    origin += texts::kOriginFrom;
    origin += std::to_string(m_sourceFirst);
    return origin;
}

} // namespace cr
