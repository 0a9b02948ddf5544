// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string_view>

// The program's own texts, exactly as the user sees them.
namespace cr::texts {

inline constexpr char kLineBreak = '\r'; // status lines are joined by a lone CR

inline constexpr std::array<std::string_view, 4> kStartupLines{
    " Anzahl der gewünschten Würfe eingeben,",
    "  Step-Rate wählen und Start drücken.",
    "  Oder Import drücken und entspr. Datei der",
    "  Spielbank Hamburg angeben.",
};

inline constexpr std::string_view kComputerDraws = " Der Computer erzeugt die Zahlen...";
inline constexpr std::string_view kEndReached = "  Ende erreicht ...";

inline constexpr std::array<std::string_view, 6> kRowTitles{
    "leer   RS ", "leer   MP ", "leer   GU ", "1xrot    RS ", "1xrot    MP ", "1xrot    GU ",
};

// The counters as the window names them beside the grid (its headings and
// the chart's legend); the export keeps its own row titles above.
inline constexpr std::array<std::string_view, 6> kCounterNames{
    "Leer R/S", "Leer M/P", "Leer G/U", "1x (rot) R/S", "1x (rot) M/P", "1x (rot) G/U",
};

inline constexpr std::string_view kAbbruchTitle = " Abbruch";
inline constexpr std::string_view kAbbruchQuestion = "Abbruch bitte bestätigen !     ";
inline constexpr std::string_view kEndeTitle = " Beenden";
inline constexpr std::string_view kEndeQuestion = "Soll das Programm beendet werden ?     ";

inline constexpr std::string_view kStartCaption = "Start";

// The info text.
inline constexpr std::string_view kInfoCaption = "Info";
inline constexpr std::string_view kInfoClose = "Ende Info";
inline constexpr std::string_view kInfoMissing =
    "Problem:\nKann die Datei Info_Kugellauf4.txt nicht finden.";

// The import chooser.
inline constexpr std::array<std::string_view, 3> kChooserLines{
    " Geben Sie den Ort an, wo sich die Datei", // after a leading blank
    "   mit den Permanenzen der Hamburger Spiel-",
    "   bank befindet und drücken Sie anschl. OK",
};
inline constexpr std::string_view kModusLine = "  Modus wählen und Start drücken.";
inline constexpr std::string_view kRefusedFirst = " Datei nicht übernommen:";
inline constexpr std::string_view kRefusedSpin = "  Wurf ";
inline constexpr std::string_view kRefusedIs = " lautet ";
inline constexpr std::string_view kRefusedLast = "  erlaubt sind 0 bis 36.";

// A permanence opened from the context menu, and a run saved as one.
inline constexpr std::string_view kOpenedSpins = " Würfe, ab Wurf ";
inline constexpr std::string_view kOriginDrawn = "gezogene Zahlen";
inline constexpr std::string_view kOriginReplayed = "nachgespielt aus ";
inline constexpr std::string_view kOriginUnnamed = "einer Permanenz";
inline constexpr std::string_view kOriginFrom = " ab Wurf ";
inline constexpr std::string_view kSavedFirstLine = "Spielbank Chancenraster";
inline constexpr std::string_view kSavedAt = "gespeichert am ";
inline constexpr std::string_view kSavedCount = " Würfe";

// Live entry.
inline constexpr std::array<std::string_view, 2> kLivePrepared{
    " Live-Eingabe: Step-Rate wählen und Start",
    "  drücken, dann jede gefallene Zahl eingeben.",
};
inline constexpr std::array<std::string_view, 2> kLiveRunning{
    " Live-Eingabe: jede gefallene Zahl eingeben",
    "  und Enter drücken; Zurück mit Strg+Z.",
};
inline constexpr std::string_view kLiveEmpty = "  Bitte eine Zahl von 0 bis 36 eingeben.";
inline constexpr std::string_view kLiveNotANumber = "  ist keine Zahl von 0 bis 36.";
inline constexpr std::string_view kLiveOver = "  Der Lauf ist zu Ende: keine Eingabe mehr.";
inline constexpr std::string_view kOriginLive = "live eingegeben";

// The export.
inline constexpr std::string_view kStatisticTitle = "Statistisch ";
inline constexpr std::string_view kExportLineEnd = "\r\n";

// The table of every completed step.
inline constexpr std::string_view kStepTitle = "Step ";
inline constexpr std::string_view kMeanTitle = "Erwartungswert ";

} // namespace cr::texts
