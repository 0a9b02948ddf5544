// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/controls.h"

namespace cr {

std::string_view controlName(Control control) {
    switch (control) {
    case Control::text:
        return "text";
    case Control::textanzahl:
        return "textanzahl";
    case Control::textakut:
        return "textakut";
    case Control::textwiederhol:
        return "textwiederhol";
    case Control::textstep:
        return "textstep";
    case Control::cliptext:
        return "cliptext";
    case Control::labtempa:
        return "labtempa";
    case Control::labtempb:
        return "labtempb";
    case Control::labtempc:
        return "labtempc";
    case Control::labtempd:
        return "labtempd";
    case Control::labtempe:
        return "labtempe";
    case Control::labtempf:
        return "labtempf";
    case Control::labstat:
        return "labstat";
    case Control::okstart:
        return "okstart";
    case Control::okweiter:
        return "okweiter";
    case Control::okstep:
        return "okstep";
    case Control::okreset:
        return "okreset";
    case Control::okclip:
        return "okclip";
    case Control::okinfo:
        return "okinfo";
    case Control::okextern:
        return "okextern";
    case Control::okabbrechen:
        return "okabbrechen";
    case Control::okende:
        return "okende";
    case Control::okexternok:
        return "okexternok";
    case Control::okexternabbruch:
        return "okexternabbruch";
    case Control::Frame1:
        return "Frame1";
    case Control::infotext:
        return "infotext";
    case Control::tabelle2:
        return "tabelle2";
    }
    return "";
}

bool enabledAtStartup(Control control) {
    switch (control) {
    case Control::textwiederhol:
    case Control::textakut:
    case Control::okstart:
    case Control::okweiter:
    case Control::okstep:
    case Control::okreset:
    case Control::okabbrechen:
    case Control::okclip:
    case Control::okexternok:
        return false;
    default:
        return true;
    }
}

bool visibleAtStartup(Control control) {
    return control != Control::Frame1 && control != Control::infotext &&
           control != Control::cliptext;
}

} // namespace cr
