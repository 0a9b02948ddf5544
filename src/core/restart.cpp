// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/run.h"
#include "core/texts.h"

#include <algorithm>

namespace cr {

void RunControl::abbruch() {
    if (!m_window.confirm(texts::kAbbruchTitle, texts::kAbbruchQuestion)) {
        return;
    }
    if (m_live && m_liveObserver) {
        m_liveObserver->liveEnded();
    }
    clearLive();
    // Every row the grid has, whatever the step-rate box says now.
    m_grid.clearAll(false);
    m_grid.scrollToTop();
    m_window.setEnabled(Control::okclip, false);

    std::fill(m_state.zahlen.begin(), m_state.zahlen.end(), -1);
    std::fill(m_state.permanenz.begin(), m_state.permanenz.end(), kEmptyCell);

    m_state.anzahl = 0;
    m_state.steprate = 0;
    m_state.akut = 0;
    m_state.zeile = 0;
    m_state.schritt = 1;
    m_state.modus = Modus::Drawn;
    m_state.serie = Serie::Off;
    m_state.einmalrs = m_state.einmalmp = m_state.einmalgu = 0;
    m_state.statzeile = 1;
    clearHistory();

    setImportUsable(true);
    m_runStarted = false;
    m_window.setText(Control::okstart, texts::kStartCaption);
    m_window.setEnabled(Control::okstart, false);
    for (Control c : {Control::okabbrechen, Control::okweiter, Control::okstep, Control::okreset,
                      Control::textakut, Control::textwiederhol}) {
        m_window.setEnabled(c, false);
    }
    for (Control box :
         {Control::textanzahl, Control::textstep, Control::textwiederhol, Control::textakut}) {
        m_window.setText(box, "");
    }
    m_window.setEnabled(Control::okclip, false);
    setCliptext("");
    for (Control label :
         {Control::labtempa, Control::labtempb, Control::labtempc, Control::labtempd,
          Control::labtempe, Control::labtempf, Control::labstat}) {
        m_window.setText(label, "");
    }
    m_window.setEnabled(Control::textanzahl, true);
}

} // namespace cr
