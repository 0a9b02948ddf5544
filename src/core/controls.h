// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string_view>

namespace cr {

// The controls the run writes to, named as the window names them (the
// dumps and the scenario scripts use the same names).
enum class Control {
    text,            // the status label at the top right: instructions, refusals, end line
    textanzahl,      // the box "Anzahl Würfe": how many spins the run takes
    textakut,        // the box "Akut": running number of the spin taken last
    textwiederhol,   // the box "Step - Rate": spins per step
    textstep,        // the box "Step": running number of the current step
    cliptext,        // the hidden text the export puts on the clipboard
    labtempa,        // counter "Leer" of Rot/Schwarz: fields not hit since Start/Reset
    labtempb,        // counter "Leer" of Manque/Passe
    labtempc,        // counter "Leer" of Gerade/Ungerade
    labtempd,        // counter "1x (rot)" of Rot/Schwarz: fields hit in step 1 only
    labtempe,        // counter "1x (rot)" of Manque/Passe
    labtempf,        // counter "1x (rot)" of Gerade/Ungerade
    labstat,         // the figure over "Statistisch": expected empty fields per pair
    okstart,         // button "Start"
    okweiter,        // button "Weiter": one spin
    okstep,          // button "S t e p": spins up to the end of the step
    okreset,         // button "Reset": a fresh evaluation within the run
    okclip,          // button "Export": the step results to the clipboard
    okinfo,          // button "Info" (reads "Ende Info" while the info text is open)
    okextern,        // button "Import": opens the import chooser
    okabbrechen,     // button "Abbruch": abandons the run
    okende,          // button "Ende": closes the program after asking
    okexternok,      // the chooser's "OK": imports the chosen file
    okexternabbruch, // the chooser's "Abbr.": closes the chooser
    Frame1,          // the import chooser, over the right-hand column
    infotext,        // the info text, over the grid
    tabelle2,        // the grid of the current step's spins, left
};

// How many controls there are: tabelle2 is the last.
inline constexpr std::size_t kControlCount = static_cast<std::size_t>(Control::tabelle2) + 1;

std::string_view controlName(Control control);

// The window as the run sees it: it writes captions, texts and states and
// asks questions; it reads back nothing but the text boxes.
//
// Contract of setText on a text box: a different text notifies the box's
// check at once, nested inside the call; the same text notifies nothing.
class WindowPort {
public:
    virtual ~WindowPort() = default;
    virtual std::string_view boxText(Control box) const = 0;
    virtual void setText(Control control, std::string_view text) = 0;
    virtual void setEnabled(Control control, bool enabled) = 0;
    virtual void setVisible(Control control, bool visible) = 0;
    // A modal Yes/No question with Yes as default; true for Yes.
    virtual bool confirm(std::string_view title, std::string_view question) = 0;
    virtual void closeWindow() = 0;
    virtual void clipboardClear() = 0;
    // Puts plain text on the system clipboard; false when it did not take it.
    virtual bool clipboardSet(std::string_view text) = 0;
};

} // namespace cr

namespace cr {

// The states the window definition gives the controls before start-up runs.
bool enabledAtStartup(Control control);
bool visibleAtStartup(Control control);

} // namespace cr
