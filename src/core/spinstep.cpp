// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/numparse.h"
#include "core/run.h"
#include "core/texts.h"

namespace cr {

void RunControl::weiter() {
    while (pass() == PassResult::SpinTaken && m_state.serie == Serie::Running) {
    }
}

void RunControl::step() {
    m_state.serie = Serie::Running;
    weiter();
}

PassResult RunControl::pass() {
    const CellColour hitColour = m_state.schritt == 1 ? CellColour::DarkRed : CellColour::DarkBlue;
    ++m_state.akut;
    ++m_state.zeile;
    if (m_state.akut == m_runTotal) {
        announceEnd();
    }
    if (m_state.akut > m_runTotal) {
        // A run that never had a spin to take still says it has ended.
        if (!m_endAnnounced) {
            announceEnd();
        }
        m_state.serie = Serie::Off;
        return PassResult::RunOver;
    }
    m_window.setText(Control::textakut, std::to_string(m_state.akut));
    m_window.setText(Control::textstep, std::to_string(m_state.schritt));
    m_state.zahl = numberOfSpin(m_state.akut);

    const int row = m_state.zeile - 1;
    const int previous = m_state.zeile == 1 ? m_runSteprate - 1 : m_state.zeile - 2;
    m_grid.setColour(previous, ResultGrid::kNumberColumn, CellColour::LightGrey);
    m_grid.setColour(row, ResultGrid::kNumberColumn, CellColour::Green);
    m_grid.setNumber(row, ResultGrid::kSpinColumn, m_state.zahl);

    paintHits(evaluateSpin(m_state, m_state.zahl, m_state.zeile), row, hitColour);
    showCounters();
    if (m_state.zeile == m_runSteprate) {
        stepEnd();
        return PassResult::StepEnded;
    }
    return PassResult::SpinTaken;
}

int RunControl::numberOfSpin(int spin) const {
    const auto k = static_cast<std::size_t>(spin);
    if (m_state.modus == Modus::Drawn) {
        return k < m_state.zahlen.size() && m_state.zahlen[k] >= 0 ? m_state.zahlen[k] : 0;
    }
    if (k >= m_state.permanenz.size() || isEmptyCell(m_state.permanenz[k])) {
        return 0; // an empty cell reads as 0
    }
    return static_cast<int>(roundHalfEven(m_state.permanenz[k]));
}

void RunControl::paintHits(const SpinHits& hits, int row, CellColour hitColour) {
    for (int i = 0; i < kPairCount; ++i) {
        const auto pair = static_cast<Pair>(i);
        if (hits.zero) {
            m_grid.setColour(row, fieldColumn(pair, 1), CellColour::Green);
            m_grid.setColour(row, fieldColumn(pair, 2), CellColour::Green);
        } else {
            m_grid.setColour(row, fieldColumn(pair, hits.side[static_cast<std::size_t>(i)]),
                             hitColour);
        }
    }
}

void RunControl::showCounters() {
    m_window.setText(Control::labtempa, std::to_string(m_state.leerrs));
    m_window.setText(Control::labtempb, std::to_string(m_state.leermp));
    m_window.setText(Control::labtempc, std::to_string(m_state.leergu));
    m_window.setText(Control::labtempd, std::to_string(m_state.einmalrs));
    m_window.setText(Control::labtempe, std::to_string(m_state.einmalmp));
    m_window.setText(Control::labtempf, std::to_string(m_state.einmalgu));
}

void RunControl::stepEnd() {
    const std::string shown = statisticText(m_state.statwert);
    m_window.setText(Control::labstat, shown);
    m_history.push_back(stepResultOf(m_state));
    ++m_historyVersion;
    m_state.statwert = halvedStatistic(m_state.statwert);
    if (m_state.schritt <= kRecordedSteps) {
        m_window.setEnabled(Control::okclip, true);
        auto slot = static_cast<std::size_t>(m_state.schritt);
        m_state.feldtitel[0][slot] = shown;
        const int counters[] = {m_state.leerrs,   m_state.leermp,   m_state.leergu,
                                m_state.einmalrs, m_state.einmalmp, m_state.einmalgu};
        for (std::size_t i = 0; i < 6; ++i) {
            m_state.feldtitel[i + 1][slot] = std::to_string(counters[i]);
        }
    }
    m_state.zeile = 0;
    ++m_state.schritt;
    m_state.serie = Serie::Off;
}

void RunControl::announceEnd() {
    m_endAnnounced = true;
    appendStatusLine(texts::kEndReached);
    m_endLineShown = true;
    m_window.setEnabled(Control::okweiter, false);
    m_window.setEnabled(Control::okstep, false);
    m_window.setEnabled(Control::okreset, false);
}

} // namespace cr
