// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/run.h"

#include "core/numparse.h"
#include "core/texts.h"

#include <cmath>

namespace cr {

namespace {

bool validSpins(double v) {
    return v > 0 && v < kSpinsLimit;
}

} // namespace

RunControl::RunControl(WindowPort& window, RandomSource& random, std::string decimalSeparator)
    : m_window(window), m_random(random), m_decimalSeparator(std::move(decimalSeparator)) {}

void RunControl::startup() {
    m_state.anzahl = 0;
    m_state.modus = Modus::Drawn;
    m_state.steprate = 0;
    m_state.akut = 0;
    m_state.zeile = 0;
    m_state.leerrs = m_state.leermp = m_state.leergu = 0;
    m_state.einmalrs = m_state.einmalmp = m_state.einmalgu = 0;
    m_state.serie = Serie::Off;
    m_state.statwert = 0;
    m_state.schritt = 1;
    m_state.statzeile = 1;
    m_random.seedFromClock();
    for (std::size_t i = 0; i < texts::kRowTitles.size(); ++i) {
        m_state.feldtitel[i + 1][0] = std::string(texts::kRowTitles[i]);
    }
    m_state.farbe = makeColourTable();

    // Built line by line, each line appended to what the label shows.
    std::string status;
    for (std::size_t i = 0; i < texts::kStartupLines.size(); ++i) {
        if (i > 0) {
            status += texts::kLineBreak;
        }
        status += texts::kStartupLines[i];
        setStatus(status);
    }
}

void RunControl::spinsBoxChanged() {
    const double v = lenientParse(m_window.boxText(Control::textanzahl));
    if (validSpins(v)) {
        m_state.anzahl = v;
        m_window.setEnabled(Control::textwiederhol, true);
    } else {
        m_window.setEnabled(Control::okstart, false);
        m_window.setText(Control::textanzahl, "");
    }
}

void RunControl::stepRateBoxChanged() {
    if (!validSpins(lenientParse(m_window.boxText(Control::textanzahl)))) {
        m_window.setEnabled(Control::okstart, false);
        m_window.setText(Control::textanzahl, "");
        return;
    }
    const double rounded = roundHalfEven(lenientParse(m_window.boxText(Control::textwiederhol)));
    if (rounded >= 1 && rounded <= kMaxSteprate) {
        m_state.steprate = static_cast<int>(rounded);
        m_window.setEnabled(Control::okstart, true);
    } else {
        // Too small or too large for the counters: refused alike.
        m_state.steprate = 0;
        m_window.setEnabled(Control::okstart, false);
        m_window.setText(Control::textwiederhol, "");
    }
}

void RunControl::start() {
    beginAfresh();
    m_window.setEnabled(Control::okabbrechen, true);
    setImportUsable(false);
    m_runStarted = true;
    m_window.setEnabled(Control::okweiter, true);
    m_window.setEnabled(Control::okstep, true);
    m_window.setEnabled(Control::okreset, true);
    m_window.setEnabled(Control::textakut, true);
    if (m_state.modus == Modus::Drawn) {
        setStatus(std::string(texts::kComputerDraws));
    }

    // The run keeps its own step rate and total, whatever the boxes say later.
    m_runSteprate = m_state.steprate;
    const double wholeSpins = std::floor(m_state.anzahl);
    m_runTotal = static_cast<int>(
        m_state.modus == Modus::Replayed ? std::min(wholeSpins, m_state.permanzahl) : wholeSpins);
    if (m_live) {
        m_runTotal = kLiveTotal; // the permanence grows as numbers are entered
    }
    m_endAnnounced = false;

    const auto lastCell = static_cast<std::size_t>(roundHalfEven(m_state.anzahl + 20));
    m_state.zahlen.assign(lastCell + 1, -1);
    freshEvaluation(m_state, m_runSteprate);
    m_grid.setRowCount(m_runSteprate);
    m_grid.writeRowNumbers();
    m_random.seedFromClock();
    if (m_state.modus == Modus::Drawn) {
        for (int k = 0; k <= wholeSpins; ++k) {
            m_state.zahl = numberFromUniform(m_random.next());
            m_state.zahlen[static_cast<std::size_t>(k)] = m_state.zahl;
        }
    }
    m_window.setEnabled(Control::okstart, false);
    if (m_live) {
        startLive();
    }
}

void RunControl::reset() {
    if (m_state.steprate >= 1) {
        m_runSteprate = m_state.steprate;
        m_grid.setRowCount(m_runSteprate);
    }
    m_grid.clearAll(true);
    m_grid.scrollToTop();
    for (Control label :
         {Control::labtempa, Control::labtempb, Control::labtempc, Control::labtempd,
          Control::labtempe, Control::labtempf, Control::labstat}) {
        m_window.setText(label, "");
    }
    freshEvaluation(m_state, m_runSteprate);
    m_window.setText(Control::textstep, "0");
    m_window.setEnabled(Control::okclip, false);
    setCliptext("");
    clearResults();
    if (m_live && m_runStarted) {
        keepLiveAnchor();
        if (m_liveObserver && !m_resuming) {
            m_liveObserver->liveReset(m_runSteprate);
        }
    }
}

// Whatever an earlier run left behind, a new one begins at its first spin:
// fresh counters, an empty grid and no results of the run it replaces.
void RunControl::beginAfresh() {
    // Positions, counters and field tables start afresh with the evaluation below.
    m_state.akut = 0;
    m_state.statzeile = 1;
    m_grid.clearAll(false);
    for (Control shown : {Control::labtempa, Control::labtempb, Control::labtempc,
                          Control::labtempd, Control::labtempe, Control::labtempf, Control::labstat,
                          Control::textakut, Control::textstep}) {
        m_window.setText(shown, "");
    }
    m_window.setEnabled(Control::okclip, false);
    setCliptext("");
    clearResults();
    if (m_endLineShown) {
        std::string text = m_statusText;
        text.resize(text.size() - texts::kEndReached.size() - 1);
        setStatus(std::move(text));
    }
}

// The step results kept for the export and the chart belong to one section.
void RunControl::clearResults() {
    for (std::size_t entry = 0; entry <= 6; ++entry) {
        for (std::size_t slot = 1; slot <= kRecordedSteps; ++slot) {
            m_state.feldtitel[entry][slot].clear();
        }
    }
    clearHistory();
}

void RunControl::ende() {
    if (m_window.confirm(texts::kEndeTitle, texts::kEndeQuestion)) {
        m_window.closeWindow();
    }
}

std::string RunControl::statisticText(int statwert) const {
    std::string shown = std::to_string(statwert / 2);
    if (statwert % 2 != 0) {
        shown += m_decimalSeparator;
        shown += '5';
    }
    return shown;
}

void freshEvaluation(RunState& s, int steprate) {
    const auto rows = static_cast<std::size_t>(steprate) + 1;
    for (FieldTable* table : {&s.feldrs, &s.feldmp, &s.feldgu}) {
        table->assign(rows, {kFieldEmpty, kFieldEmpty, kFieldEmpty});
    }
    s.leerrs = s.leermp = s.leergu = 2 * steprate;
    s.einmalrs = s.einmalmp = s.einmalgu = 0;
    s.statwert = 2 * steprate;
    s.zeile = 0;
    s.schritt = 1;
    s.serie = Serie::Off;
}

void RunControl::toggleInfo(const std::function<std::optional<std::string>()>& readInfoFile) {
    m_infoOpen = !m_infoOpen;
    if (m_infoOpen) {
        m_window.setVisible(Control::infotext, true);
        const std::optional<std::string> content = readInfoFile();
        m_window.setText(Control::infotext, content ? *content : std::string(texts::kInfoMissing));
        m_window.setText(Control::okinfo, texts::kInfoClose);
    } else {
        m_window.setVisible(Control::infotext, false);
        m_window.setText(Control::okinfo, texts::kInfoCaption);
        m_window.setText(Control::infotext, "");
    }
}

void RunControl::clearHistory() {
    m_history.clear();
    ++m_historyVersion;
}

void RunControl::setStatus(std::string text) {
    m_statusText = std::move(text);
    m_endLineShown = false;
    m_window.setText(Control::text, m_statusText);
}

void RunControl::appendStatusLine(std::string_view line) {
    std::string text = m_statusText;
    text += texts::kLineBreak;
    text += line;
    setStatus(std::move(text));
}

void RunControl::setCliptext(std::string text) {
    m_cliptext = std::move(text);
    m_window.setText(Control::cliptext, m_cliptext);
}

} // namespace cr
