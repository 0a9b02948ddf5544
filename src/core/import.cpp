// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/refusal.h"
#include "core/run.h"
#include "core/texts.h"

namespace cr {

namespace {

std::string joinLines(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (std::string_view line : lines) {
        if (!text.empty()) {
            text += texts::kLineBreak;
        }
        text += line;
    }
    return text;
}

} // namespace

void RunControl::openChooser() {
    m_window.setVisible(Control::Frame1, true);
    showChooserInstructions();
}

void RunControl::showChooserInstructions() {
    std::string status(1, ' ');
    status +=
        joinLines({texts::kChooserLines[0], texts::kChooserLines[1], texts::kChooserLines[2]});
    setStatus(std::move(status));
}

void RunControl::cancelChooser() {
    m_state.modus = Modus::Drawn;
    m_window.setVisible(Control::Frame1, false);
    setStatus(joinLines({texts::kStartupLines[0], texts::kModusLine, texts::kStartupLines[2],
                         texts::kStartupLines[3]}));
}

void RunControl::showRefusal(const PermanenceOutcome& outcome) {
    const std::array<std::string, 3> lines = refusalLines(outcome);
    setStatus(joinLines({lines[0], lines[1], lines[2]}));
}

void RunControl::applyPermanence(const PermanenceOutcome& outcome, std::string_view fileName) {
    using Kind = PermanenceOutcome::Kind;
    // A refusal shown for an earlier file never stays up for this one.
    showChooserInstructions();
    if (outcome.kind == Kind::Refused) {
        showRefusal(outcome); // nothing of the file is taken over; the chooser stays open
        return;
    }
    m_state.permanzahl = 0;
    if (outcome.kind == Kind::EmptyFile || outcome.kind == Kind::NotSpielbank) {
        return;
    }
    // The header lines as far as they were read: field 1 and 2 each end a line.
    std::string status;
    for (std::size_t i = 0; i < outcome.header.size(); ++i) {
        status += outcome.header[i];
        if (i < 2) {
            status += texts::kLineBreak;
        }
        setStatus(status);
    }
    if (outcome.kind == Kind::Read) {
        takeOver(outcome, outcome.count, fileName);
    }
    endImport();
}

// The spins of a read file become the run's permanence; spins is the count
// the run may replay.
void RunControl::takeOver(const PermanenceOutcome& outcome, double spins,
                          std::string_view fileName) {
    m_state.permanzahl = spins;
    m_state.anzahl = m_state.permanzahl;
    m_window.setText(Control::textanzahl,
                     std::to_string(static_cast<long long>(m_state.permanzahl)));
    m_state.modus = Modus::Replayed;
    m_state.permanenz = outcome.cells;
    m_sourceName = std::string(fileName);
    m_sourceFirst = outcome.firstKept;
}

void RunControl::endImport() {
    m_window.setVisible(Control::Frame1, false);
    setImportUsable(false);
    m_window.setEnabled(Control::okabbrechen, true);
}

void RunControl::setImportUsable(bool usable) {
    m_importUsable = usable;
    m_window.setEnabled(Control::okextern, usable);
}

} // namespace cr
