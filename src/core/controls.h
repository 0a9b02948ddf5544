// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace cr {

// The controls the run writes to, named as the window names them.
enum class Control {
    text, // the status label
    textanzahl,
    textakut,
    textwiederhol,
    textstep,
    cliptext,
    labtempa,
    labtempb,
    labtempc,
    labtempd,
    labtempe,
    labtempf,
    labstat,
    okstart,
    okweiter,
    okstep,
    okreset,
    okclip,
    okinfo,
    okextern,
    okabbrechen,
    okende,
    okexternok,
    okexternabbruch,
    Frame1,
    infotext,
    tabelle2,
};

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
