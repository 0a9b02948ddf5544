// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/controls.h"
#include "core/evaluation.h"
#include "core/grid.h"
#include "core/permanence.h"
#include "core/random.h"
#include "core/wheel.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace cr {

// State of one field: empty since Start/Reset, hit once in step 1, or out.
inline constexpr int kFieldEmpty = 0;
inline constexpr int kFieldOnce = 1;
inline constexpr int kFieldOut = 2;

inline constexpr int kMaxSteprate = 16383;
inline constexpr double kSpinsLimit = 10000; // the spins box takes 0 < n < 10000
inline constexpr int kRecordedSteps = 15;

// One field table: rows 0..steprate, sides 0..2 (row 0 and side 0 unused).
using FieldTable = std::vector<std::array<int, 3>>;

// Results of the steps for the export: [entry 0..7][slot 0..15].
using ResultTable = std::array<std::array<std::string, 16>, 8>;

// Where the numbers of a run come from.
enum class Modus : int {
    Drawn = 0,    // drawn by the program at Start
    Replayed = 1, // replayed from an imported permanence
};

// Whether a "S t e p" series is running: the passes go on to the step's end.
enum class Serie : int {
    Off = 0,
    Running = 1,
};

// Every variable of the run, under the names the window and the dumps use.
struct RunState {
    double anzahl = 0; // spins wanted, as parsed from the spins box (unrounded)
    int steprate = 0;  // spins per step as the step-rate box gave it; 0 = none
    Modus modus = Modus::Drawn;
    std::vector<int> zahlen;       // drawn numbers, cell k = spin k; -1 = empty cell
    std::vector<double> permanenz; // imported spins, cell k = spin k; kEmptyCell = empty
    double permanzahl = 0;         // spins found in the imported file
    int zahl = 0;                  // number of the spin taken last (or drawn last)
    int akut = 0;                  // running number of the spin taken last; 0 before the first
    int zeile = 0;                 // position of that spin in its step, 1..steprate; 0 = none
    int schritt = 1;               // running number of the current step, from 1
    Serie serie = Serie::Off;
    int leerrs = 0, leermp = 0, leergu = 0;       // fields of each pair not hit since Start/Reset
    int einmalrs = 0, einmalmp = 0, einmalgu = 0; // fields hit in step 1 and never since
    int statwert = 0; // twice the statistical expectation of empty fields ("Statistisch")
    FieldTable feldrs, feldmp, feldgu; // state of every field: kFieldEmpty, kFieldOnce, kFieldOut
    ColourTable farbe{};               // colour of every number
    ResultTable feldtitel;             // step results for the export: [entry][step 1..15]
    int statzeile = 1;                 // 1: the next export begins with the statistics line
};

// A fresh evaluation at the given step rate, as Start and Reset begin it:
// every field empty, all of them counted empty, none hit once, step 1.
void freshEvaluation(RunState& s, int steprate);

// What one pass of "Weiter" did.
enum class PassResult {
    SpinTaken, // a spin inside a step
    StepEnded, // the spin completed its step
    RunOver,   // no spin left: nothing taken
};

// The run control: start-up, the two input checks, Start, Reset, the spins
// and the complete restart. It owns the run state and the grid content and
// writes everything the user sees through the window port.
class RunControl {
public:
    RunControl(WindowPort& window, RandomSource& random, std::string decimalSeparator);

    // Handlers, one per user event.
    void startup();
    void spinsBoxChanged();
    void stepRateBoxChanged();
    void start();
    void reset();
    void weiter();
    void step();
    void abbruch();
    void ende();
    // "Info": shows the info text over the grid, or closes it again. The file
    // is read at every opening; nullopt means it could not be read.
    void toggleInfo(const std::function<std::optional<std::string>()>& readInfoFile);
    void openChooser();
    void cancelChooser();
    // The chooser's OK: what the import reader found in the chosen file.
    void applyPermanence(const PermanenceOutcome& outcome, std::string_view fileName = {});
    // "Permanenz öffnen …": a file read by either layout's reader, perhaps
    // from a later spin on; a read file is taken over as by the import.
    void applyOpened(const PermanenceOutcome& outcome, std::string_view fileName, bool withHeader);
    void showRefusal(const PermanenceOutcome& outcome);
    void exportResults();

    const RunState& state() const { return m_s; }
    ResultGrid& grid() { return m_grid; }
    const ResultGrid& grid() const { return m_grid; }
    const std::string& statusText() const { return m_statusText; }
    const std::string& cliptext() const { return m_cliptext; }
    // Every completed step since the last Start, Reset or Abbruch (not only
    // the fifteen the export keeps); the version changes with every change.
    const std::vector<StepResult>& history() const { return m_history; }
    unsigned historyVersion() const { return m_historyVersion; }
    // Whether "Import" is usable (before Start and any import, or after
    // Abbruch): so is opening a permanence in any other way.
    bool importUsable() const { return m_importUsable; }
    // From Start to Abbruch: the run has spins that can be saved.
    bool runStarted() const { return m_runStarted; }
    // The numbers of the spins taken so far, spin 1 first.
    std::vector<int> takenSpins() const;
    // Where the numbers of the run come from, in words, for a saved run.
    std::string origin() const;
    // The step rate and total the current run was prepared with.
    int runSteprate() const { return m_runSteprate; }
    int runTotal() const { return m_runTotal; }

    // Formats half of a statistic value as the statistics label shows it.
    std::string statisticText(int statwert) const;

private:
    PassResult pass();
    void paintHits(const SpinHits& hits, int row, CellColour hitColour);
    void clearHistory();
    void beginAfresh();
    void clearResults();
    void showCounters();
    void stepEnd();
    void announceEnd();
    int numberOfSpin(int spin) const;
    void setImportUsable(bool usable);
    void takeOver(const PermanenceOutcome& outcome, double spins, std::string_view fileName);
    void setStatus(std::string text);
    void appendStatusLine(std::string_view line);
    void setCliptext(std::string text);
    void endImport();
    void showChooserInstructions();

    WindowPort& m_window;
    RandomSource& m_random;
    std::string m_decimalSeparator;
    RunState m_s;
    ResultGrid m_grid;
    std::string m_statusText;
    std::string m_cliptext;
    int m_runSteprate = 0;
    int m_runTotal = 0;
    bool m_endAnnounced = false;
    // The status label ends with the end line this window appended.
    bool m_endLineShown = false;
    bool m_infoOpen = false;
    bool m_importUsable = true;
    bool m_runStarted = false;
    std::string m_sourceName; // the file replayed, as far as it is known
    long long m_sourceFirst = 1;
    std::vector<StepResult> m_history;
    unsigned m_historyVersion = 0;
};

} // namespace cr
