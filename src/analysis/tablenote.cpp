// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/tablenote.h"

#include "core/texts.h"

#include <algorithm>
#include <cmath>

namespace cr::analysis {

namespace {

// A count with its thousands grouped as German writes them: "12.345".
std::string grouped(unsigned long long value) {
    std::string digits = std::to_string(value);
    for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3) {
        digits.insert(static_cast<std::size_t>(at), 1, '.');
    }
    return digits;
}

std::string grouped(long long value) {
    return grouped(static_cast<unsigned long long>(std::max(value, 0LL)));
}

constexpr std::string_view kLoadedMark = " (im Hauptfenster geladen)";
constexpr std::string_view kCut = "...";

} // namespace

std::string tableNote(const TableOrigin& origin) {
    std::string note;
    const auto line = [&note](const std::string& text) {
        note += "# ";
        note += text;
        note += texts::kExportLineEnd;
    };
    line("Auswertung mit Chancenraster " + origin.version + ", berechnet am " + origin.when);
    if (origin.simulated) {
        line("Quelle: Simulation, Seed " + std::to_string(origin.seed));
    }
    for (const std::string& source : origin.sources) {
        line("Quelle: " + source);
    }
    line("Step-Rate " + grouped(static_cast<long long>(origin.steprate)) + ", Lauflänge " +
         grouped(origin.runLength) + " Würfe, " + grouped(origin.runs) +
         (origin.runs == 1 ? " Lauf" : " Läufe"));
    return note;
}

std::string sourceLabel(std::string_view fileName) {
    return std::string(fileName) + std::string(texts::kOriginFrom) + "1";
}

std::string loadedLabel(std::string_view runOrigin) {
    if (runOrigin.substr(0, texts::kOriginReplayed.size()) != texts::kOriginReplayed) {
        return {};
    }
    runOrigin.remove_prefix(texts::kOriginReplayed.size());
    return std::string(runOrigin) + std::string(kLoadedMark);
}

bool loadedFrom(std::string_view runOrigin, std::string_view fileName) {
    if (runOrigin.substr(0, texts::kOriginReplayed.size()) != texts::kOriginReplayed) {
        return false;
    }
    runOrigin.remove_prefix(texts::kOriginReplayed.size());
    const std::size_t from = runOrigin.rfind(texts::kOriginFrom);
    if (from == std::string_view::npos) {
        return false;
    }
    std::string_view shown = runOrigin.substr(0, from);
    std::string name(fileName);
    for (char& c : name) {
        c = c == ',' ? ';' : c == '"' ? '\'' : c;
    }
    if (shown.size() > kCut.size() && shown.substr(shown.size() - kCut.size()) == kCut) {
        shown.remove_suffix(kCut.size()); // a long name, cut: its beginning must match
        return name.size() > shown.size() && name.compare(0, shown.size(), shown) == 0;
    }
    return name == shown;
}

std::size_t beyondTwo(const std::vector<SummaryRow>& rows) {
    std::size_t count = 0;
    for (const SummaryRow& row : rows) {
        for (const double z : row.deviation) {
            count += std::abs(z) > 2 ? 1 : 0;
        }
    }
    return count;
}

std::string chanceSentence(std::size_t deviations, std::size_t beyond) {
    const double expected = static_cast<double>(deviations) * kBeyondTwoChance;
    const std::string about =
        expected < 0.5 ? "weniger als 1"
                       : "etwa " + grouped(static_cast<unsigned long long>(std::llround(expected)));
    const std::string found =
        beyond == 0   ? "hier ist es keine"
        : beyond == 1 ? "hier ist es eine"
                      : "hier sind es " + grouped(static_cast<unsigned long long>(beyond));
    return "Unter den " + grouped(static_cast<unsigned long long>(deviations)) +
           " Abweichungen z erwartet man bei reinem Zufall " + about + " jenseits von ±2; " +
           found + ". Erst viel mehr deutet auf ein Muster.";
}

namespace {

bool endsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// "Leer R/S", "1x (rot) G/U": the pair of chances whose fields the counter
// counts.
std::string pairOf(std::string_view counter) {
    const std::string_view pair = counter.substr(counter.rfind(' ') + 1);
    return pair == "R/S" ? "Rot/Schwarz" : pair == "M/P" ? "Manque/Passe" : "Gerade/Ungerade";
}

// What the counter counts, after "die Zahl der".
std::string counterMeaning(std::string_view counter) {
    const std::string fields = "Felder " + pairOf(counter);
    if (counter.substr(0, 4) == "Leer") {
        return fields + ", die seit Beginn des Laufs noch nie getroffen wurden";
    }
    return fields + ", die nur im ersten Step getroffen wurden";
}

} // namespace

std::string columnExplanation(std::string_view title) {
    const auto quoted = [](std::string_view counter) {
        return "\u201e" + std::string(counter) + "\u201c";
    };
    if (title == "Step") {
        return "Der Step: Nach Step n hat ein Lauf n \u00d7 Step-Rate Würfe genommen.";
    }
    if (title == "Erwartungswert") {
        return "E: der exakte Mittelwert, den reiner Zufall für jeden der sechs Zähler nach "
               "diesem Step erwartet.";
    }
    if (title == "σ") {
        return "σ: die exakte Standardabweichung eines Zählers um E nach diesem Step, bei "
               "reinem Zufall.";
    }
    if (title == "Statistisch") {
        return "Der statistische Wert: beginnt beim Doppelten der Step-Rate und halbiert sich "
               "mit jedem Step (gerundet).";
    }
    if (title == "\u2265 1 exakt") {
        return "Der exakte Anteil der Läufe mit mindestens einem leeren Feld eines Paares, bei "
               "reinem Zufall: 1 \u2212 (1 \u2212 q)^N, q die Chance einer Position, dass eines "
               "ihrer beiden Felder noch leer ist, N die Step-Rate.";
    }
    for (const std::string_view end : {" Mittel", " SD", " z", " \u2265 1"}) {
        if (!endsWith(title, end)) {
            continue;
        }
        const std::string_view counter = title.substr(0, title.size() - end.size());
        if (end == " Mittel") {
            return "Mittel von " + quoted(counter) + " über alle Läufe: die Zahl der " +
                   counterMeaning(counter) + ".";
        }
        if (end == " SD") {
            return "SD: die Standardabweichung von " + quoted(counter) +
                   " über die Läufe; bei reinem Zufall nahe σ.";
        }
        if (end == " z") {
            return "z = (Mittel \u2212 E) / (σ / \u221aLäufe): um wie viele Standardfehler das "
                   "Mittel von " +
                   quoted(counter) +
                   " von E abweicht. Reiner Zufall gibt meist Werte zwischen \u22122 und 2; rot "
                   "hinterlegt: |z| > 3.";
        }
        return "Anteil der Läufe, in denen nach diesem Step mindestens ein Feld " +
               pairOf(counter) + " noch nie getroffen wurde.";
    }
    return {};
}

std::string tableCaption(long long runs, const std::vector<SummaryRow>& rows) {
    return "Je Zeile ein Step: für jeden der sechs Zähler Mittel und Standardabweichung (SD) "
           "über " +
           grouped(runs) + (runs == 1 ? " Lauf" : " Läufe") +
           " neben dem exakten Mittel E und seinem σ; z = (Mittel − E) / (σ / √Läufe) ist der "
           "Abstand des Mittels von E in Standardfehlern. " +
           chanceSentence(rows.size() * kCounters, beyondTwo(rows));
}

} // namespace cr::analysis
