// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/export.h"
#include "core/run.h"
#include "core/texts.h"

namespace cr {

namespace {

// Everything of the window a live entry can change; the boxes the user types
// in and the buttons their checks enable stay as they are when an entry is
// taken back.
constexpr Control kEntryControls[] = {
    Control::text,     Control::cliptext, Control::textakut, Control::textstep, Control::labtempa,
    Control::labtempb, Control::labtempc, Control::labtempd, Control::labtempe, Control::labtempf,
    Control::labstat,  Control::okclip,   Control::okweiter, Control::okstep,   Control::okreset,
};

std::string joined(const std::array<std::string_view, 2>& lines) {
    std::string text(lines[0]);
    text += texts::kLineBreak;
    text += lines[1];
    return text;
}

// A number as typed at the table: one or two digits, blanks around allowed.
std::optional<int> liveNumber(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    if (text.empty() || text.size() > 2) {
        return std::nullopt;
    }
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value <= 36 ? std::optional<int>(value) : std::nullopt;
}

// The typed text as the refusal quotes it: short enough for the label.
std::string quoted(std::string_view text) {
    constexpr std::size_t kMost = 12;
    std::string shown(text.substr(0, kMost));
    if (text.size() > kMost) {
        // Never cut a character of several bytes in two.
        while (!shown.empty() && (static_cast<unsigned char>(shown.back()) & 0xC0) == 0x80) {
            shown.pop_back();
        }
        if (!shown.empty() && (static_cast<unsigned char>(shown.back()) & 0x80) != 0) {
            shown.pop_back();
        }
        shown += "\u2026";
    }
    return "  \u201e" + shown + "\u201c" + std::string(texts::kLiveNotANumber.substr(1));
}

} // namespace

void RunControl::prepareLive() {
    if (m_runStarted) {
        return; // a run under way is ended first (Abbruch)
    }
    // A permanence loaded and not yet started is continued from its end.
    std::vector<int> numbers;
    if (m_state.modus == Modus::Replayed) {
        for (int k = 1; k <= static_cast<int>(m_state.permanzahl); ++k) {
            numbers.push_back(numberOfSpin(k));
        }
    }
    clearLive();
    m_live = true;
    m_state.modus = Modus::Replayed;
    m_liveNumbers = std::move(numbers);
    showLiveNumbers();
    m_sourceName.clear();
    m_sourceFirst = 1;
    m_window.setVisible(Control::Frame1, false);
    m_window.setText(Control::textanzahl, std::to_string(kLiveTotal));
    setImportUsable(false);
    m_window.setEnabled(Control::okabbrechen, true);
    setStatus(joined(texts::kLivePrepared));
}

// "Start" of a live run: its total is fixed, nothing is there to take by
// "Weiter", and every number the permanence has is taken at once.
void RunControl::startLive() {
    m_window.setEnabled(Control::okweiter, false);
    m_window.setEnabled(Control::okstep, false);
    m_refusalShown = false;
    setStatus(joined(texts::kLiveRunning));
    m_redo.clear();
    m_anchorAkut = 0;
    keepLiveAnchor();
    if (m_liveObserver && !m_resuming) {
        m_liveObserver->liveStarted(m_runSteprate);
    }
    const Shown before = m_window.shown();
    m_window.setMuted(true);
    while (m_state.akut < static_cast<int>(m_liveNumbers.size()) && m_state.akut < m_runTotal) {
        pass();
    }
    m_window.setMuted(false);
    m_window.showChanges(before, kEntryControls);
}

bool RunControl::liveEntry(std::string_view text) {
    if (!m_live || !m_runStarted) {
        return false;
    }
    const std::optional<int> number = liveNumber(text);
    if (!number) {
        const bool blank = text.find_first_not_of(' ') == std::string_view::npos;
        showLiveRefusal(blank ? std::string(texts::kLiveEmpty) : quoted(text));
        return false;
    }
    if (m_state.akut >= m_runTotal) {
        showLiveRefusal(texts::kLiveOver);
        return false;
    }
    m_redo.clear();
    takeLiveNumber(*number);
    return true;
}

void RunControl::takeLiveNumber(int number) {
    dropLiveRefusal();
    m_liveNumbers.push_back(number);
    m_state.permanenz.resize(m_liveNumbers.size() + 21, kEmptyCell);
    m_state.permanenz[m_liveNumbers.size()] = number;
    m_state.permanzahl = static_cast<double>(m_liveNumbers.size());
    if (m_liveObserver && !m_resuming) {
        m_liveObserver->liveNumber(number);
    }
    pass();
}

bool RunControl::liveUndo() {
    if (!canUndo()) {
        return false;
    }
    m_redo.push_back(m_liveNumbers.back());
    m_liveNumbers.pop_back();
    if (m_liveObserver) {
        m_liveObserver->liveUndone();
    }
    // Back to the anchor, then every number kept since taken again, unseen:
    // the window is told only what differs in the end.
    const Shown before = m_window.shown();
    GridObserver* const gridObserver = m_grid.observer();
    m_grid.setObserver(nullptr);
    m_window.setMuted(true);

    const double anzahl = m_state.anzahl;
    const int steprate = m_state.steprate;
    m_state = m_anchor.state;
    m_state.anzahl = anzahl; // the boxes' own values, as the user left them
    m_state.steprate = steprate;
    showLiveNumbers();
    m_grid.assignCells(m_anchor.grid);
    m_statusText = m_anchor.statusText;
    m_cliptext = m_anchor.cliptext;
    m_endAnnounced = m_anchor.endAnnounced;
    m_endLineShown = m_anchor.endLineShown;
    m_history = m_anchor.history;
    ++m_historyVersion;
    m_refusalShown = false;
    m_window.takeOver(m_anchor.shown, kEntryControls);
    while (m_state.akut < static_cast<int>(m_liveNumbers.size())) {
        pass();
    }

    m_window.setMuted(false);
    m_grid.setObserver(gridObserver);
    m_grid.announceReset();
    m_window.showChanges(before, kEntryControls);
    return true;
}

bool RunControl::liveRedo() {
    if (!canRedo() || !m_runStarted || m_state.akut >= m_runTotal) {
        return false;
    }
    const int number = m_redo.back();
    m_redo.pop_back();
    takeLiveNumber(number);
    return true;
}

// Start, Reset and Export begin what "Zurück" can take back.
void RunControl::keepLiveAnchor() {
    dropLiveRefusal();
    m_redo.clear();
    m_anchorAkut = m_state.akut;
    m_anchor.state = m_state;
    m_anchor.grid.assignCells(m_grid);
    m_anchor.shown = m_window.shown();
    m_anchor.statusText = m_statusText;
    m_anchor.cliptext = m_cliptext;
    m_anchor.endAnnounced = m_endAnnounced;
    m_anchor.endLineShown = m_endLineShown;
    m_anchor.history = m_history;
}

// The live numbers as the run's permanence: cell k holds spin k, twenty
// empty cells after the last as a read file leaves them.
void RunControl::showLiveNumbers() {
    m_state.permanenz.assign(m_liveNumbers.size() + 21, kEmptyCell);
    for (std::size_t k = 0; k < m_liveNumbers.size(); ++k) {
        m_state.permanenz[k + 1] = m_liveNumbers[k];
    }
    m_state.permanzahl = static_cast<double>(m_liveNumbers.size());
}

void RunControl::clearLive() {
    m_live = false;
    m_liveNumbers.clear();
    m_redo.clear();
    m_anchorAkut = 0;
    m_refusalShown = false;
}

void RunControl::showLiveRefusal(std::string_view line) {
    dropLiveRefusal();
    appendStatusLine(line);
    m_refusalShown = true;
}

void RunControl::dropLiveRefusal() {
    if (!m_refusalShown) {
        return;
    }
    const std::size_t lineStart = m_statusText.rfind(texts::kLineBreak);
    const bool endLine = m_endLineShown;
    setStatus(m_statusText.substr(0, lineStart == std::string::npos ? 0 : lineStart));
    m_endLineShown = endLine;
    m_refusalShown = false;
}

void RunControl::resumeLive(const std::vector<LiveEvent>& events) {
    m_resuming = true;
    prepareLive();
    for (const LiveEvent& e : events) {
        switch (e.kind) {
        case LiveEvent::Kind::Start:
            m_window.setText(Control::textwiederhol, std::to_string(e.value));
            if (m_state.steprate == e.value) {
                start();
            }
            break;
        case LiveEvent::Kind::Number:
            if (!m_runStarted) {
                m_liveNumbers.push_back(e.value);
                showLiveNumbers();
            } else if (m_state.akut < m_runTotal) {
                takeLiveNumber(e.value);
            }
            break;
        case LiveEvent::Kind::Reset:
            if (m_runStarted) {
                m_window.setText(Control::textwiederhol, std::to_string(e.value));
                reset();
            }
            break;
        case LiveEvent::Kind::Export:
            if (m_runStarted) {
                setCliptext(exportText(m_state.feldtitel, m_state.statzeile == 1));
                takeExported();
            }
            break;
        }
    }
    m_resuming = false;
}

} // namespace cr
