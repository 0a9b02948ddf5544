// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/export.h"

#include "core/texts.h"

namespace cr {

namespace {

void appendLine(std::string& out, std::string_view title, const std::array<std::string, 16>& row) {
    out += title;
    for (std::size_t s = 1; s <= kRecordedSteps; ++s) {
        out += '\t';
        out += row[s];
    }
    out += texts::kExportLineEnd;
}

} // namespace

std::string exportText(const ResultTable& feldtitel, bool withStatistics) {
    std::string out;
    if (withStatistics) {
        appendLine(out, texts::kStatisticTitle, feldtitel[0]);
    }
    for (std::size_t r = 1; r <= 6; ++r) {
        appendLine(out, feldtitel[r][0], feldtitel[r]);
    }
    return out;
}

void RunControl::exportResults() {
    m_window.clipboardClear();
    setCliptext("");
    setCliptext(exportText(m_state.feldtitel, m_state.statzeile == 1));
    if (!m_window.clipboardSet(m_cliptext)) {
        // Nothing reached the clipboard: keep the results for another try.
        if (m_live && m_runStarted) {
            keepLiveAnchor();
        }
        return;
    }
    takeExported();
    if (m_live && m_runStarted) {
        keepLiveAnchor();
        if (m_liveObserver) {
            m_liveObserver->liveExported();
        }
    }
}

// The results on the clipboard are done with: the next export begins afresh.
void RunControl::takeExported() {
    for (std::size_t r = 1; r <= 6; ++r) {
        for (std::size_t s = 1; s <= kRecordedSteps; ++s) {
            m_state.feldtitel[r][s].clear();
        }
    }
    m_state.statzeile = 0;
    m_window.setEnabled(Control::okclip, false);
}

} // namespace cr
