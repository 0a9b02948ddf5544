// SPDX-License-Identifier: GPL-3.0-or-later
// The words around the table of "Auswertung": the note above a saved table,
// the sentence on chance above the shown one, and the loaded permanence.
#include "analysis/tablenote.h"

#include <gtest/gtest.h>

namespace {

using namespace cr::analysis;

TEST(TableNote, SaysWhatTheTableWasComputedFrom) {
    TableOrigin files;
    files.sources = {"t1.csv ab Wurf 100000 (im Hauptfenster geladen)", "t2.csv ab Wurf 1"};
    files.steprate = 37;
    files.runLength = 370;
    files.runs = 12345;
    files.version = "5.1.0";
    files.when = "07.12.2025 15:55";
    EXPECT_EQ(tableNote(files),
              "# Auswertung mit Chancenraster 5.1.0, berechnet am 07.12.2025 15:55\r\n"
              "# Quelle: t1.csv ab Wurf 100000 (im Hauptfenster geladen)\r\n"
              "# Quelle: t2.csv ab Wurf 1\r\n"
              "# Step-Rate 37, Lauflänge 370 Würfe, 12.345 Läufe\r\n");
    TableOrigin simulated;
    simulated.simulated = true;
    simulated.seed = 18446744073709551615ULL;
    simulated.steprate = 1;
    simulated.runLength = 100000;
    simulated.runs = 1;
    simulated.version = "5.1.0";
    simulated.when = "01.01.2026 00:00";
    EXPECT_EQ(tableNote(simulated),
              "# Auswertung mit Chancenraster 5.1.0, berechnet am 01.01.2026 00:00\r\n"
              "# Quelle: Simulation, Seed 18446744073709551615\r\n"
              "# Step-Rate 1, Lauflänge 100.000 Würfe, 1 Lauf\r\n");
    EXPECT_EQ(sourceLabel("t2.csv"), "t2.csv ab Wurf 1");
}

// k deviations put about k × 0.0455 beyond ±2 by chance.
TEST(TableNote, ChanceSentence) {
    const struct {
        std::size_t deviations, beyond;
        const char* text;
    } cases[] = {
        {60, 4,
         "Unter den 60 Abweichungen z erwartet man bei reinem Zufall etwa 3 jenseits von ±2; "
         "hier sind es 4. Erst viel mehr deutet auf ein Muster."},
        {6, 0,
         "Unter den 6 Abweichungen z erwartet man bei reinem Zufall weniger als 1 jenseits von "
         "±2; hier ist es keine. Erst viel mehr deutet auf ein Muster."},
        {12, 1,
         "Unter den 12 Abweichungen z erwartet man bei reinem Zufall etwa 1 jenseits von ±2; "
         "hier ist es eine. Erst viel mehr deutet auf ein Muster."},
        {60000, 2730,
         "Unter den 60.000 Abweichungen z erwartet man bei reinem Zufall etwa 2.730 jenseits "
         "von ±2; hier sind es 2.730. Erst viel mehr deutet auf ein Muster."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(chanceSentence(c.deviations, c.beyond), c.text) << c.deviations;
    }
    // Two steps, twelve deviations; beyond ±2 means strictly beyond.
    std::vector<SummaryRow> rows(2);
    rows[0].deviation = {2.0, -2.0, 2.01, 0, 0, 0};
    rows[1].deviation = {-2.5, 0, 0, 0, 0, 1.99};
    EXPECT_EQ(beyondTwo(rows), 2u);
    EXPECT_EQ(tableCaption(1, rows),
              "Je Zeile ein Step: für jeden der sechs Zähler Mittel und Standardabweichung (SD) "
              "über 1 Lauf neben dem exakten Mittel E und seinem σ; z = (Mittel − E) / (σ / "
              "√Läufe) ist der Abstand des Mittels von E in Standardfehlern. Unter den 12 "
              "Abweichungen z erwartet man bei reinem Zufall etwa 1 jenseits von ±2; hier sind "
              "es 2. Erst viel mehr deutet auf ein Muster.");
}

// The main window's permanence is named by its file and first spin, and
// matched to a file of the list by that name as its run shows it.
TEST(TableNote, LoadedPermanence) {
    EXPECT_EQ(loadedLabel("nachgespielt aus t1.csv ab Wurf 100000"),
              "t1.csv ab Wurf 100000 (im Hauptfenster geladen)");
    EXPECT_EQ(loadedLabel("gezogene Zahlen"), "");
    const std::string longName(45, 'x');
    const struct {
        const char* origin;
        std::string file;
        bool same;
    } cases[] = {
        {"nachgespielt aus t1.csv ab Wurf 100000", "t1.csv", true},
        {"nachgespielt aus t1.csv ab Wurf 100000", "t11.csv", false},
        {"nachgespielt aus a;b.csv ab Wurf 1", "a,b.csv", true},
        {"nachgespielt aus xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx... ab Wurf 1", longName, true},
        {"nachgespielt aus xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx... ab Wurf 1", "y" + longName,
         false},
        {"nachgespielt aus einer Permanenz ab Wurf 1", "t1.csv", false},
        {"gezogene Zahlen", "t1.csv", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(loadedFrom(c.origin, c.file), c.same) << c.origin << " / " << c.file;
    }
}

} // namespace
