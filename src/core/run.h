// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/controls.h"
#include "core/evaluation.h"
#include "core/grid.h"
#include "core/limits.h"
#include "core/permanence.h"
#include "core/random.h"
#include "core/shownport.h"
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

// The export keeps the results of the first fifteen steps.
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
    Off = 0,     // a single "Weiter", or no pass at all
    Running = 1, // "S t e p" was pressed and the step has not ended yet
};

// Every variable of the run, under the names the window and the dumps use.
struct RunState {
    double anzahl = 0; // spins wanted, as parsed from the box "Anzahl Würfe" (unrounded)
    int steprate = 0;  // spins per step as the box "Step - Rate" gave it; 0 = none accepted
    Modus modus = Modus::Drawn;    // where the numbers come from; the status label says it
    std::vector<int> zahlen;       // drawn numbers, cell k = spin k; -1 = empty cell
    std::vector<double> permanenz; // imported spins, cell k = spin k; kEmptyCell = empty
    double permanzahl = 0;         // spins found in the imported file
    int zahl = 0;    // number of the spin taken last (or drawn last), column "Zahl" of the grid
    int akut = 0;    // running number of the spin taken last, the box "Akut"; 0 before the first
    int zeile = 0;   // position of that spin in its step, its grid row + 1; 0 = none
    int schritt = 1; // running number of the current step, the box "Step"; from 1
    Serie serie = Serie::Off; // whether a "S t e p" series is running
    // Fields of each pair not hit since Start/Reset: the counters "Leer" (labtempa..c).
    int leerrs = 0, leermp = 0, leergu = 0;
    // Fields hit in step 1 and never since: the counters "1x (rot)" (labtempd..f).
    int einmalrs = 0, einmalmp = 0, einmalgu = 0;
    // Twice the expected count of empty fields per pair; labstat shows half of it.
    int statwert = 0;
    // State of every field per pair (kFieldEmpty, kFieldOnce, kFieldOut); the grid's
    // colours show it.
    FieldTable feldrs, feldmp, feldgu;
    ColourTable farbe{};   // colour of every number: kRed, kBlack or kNoColour
    ResultTable feldtitel; // step results for the export: [entry][step 1..15]
    int statzeile = 1;     // 1: the next export begins with the statistics line
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

// What a live run tells whoever keeps its journal, as it happens.
class LiveObserver {
public:
    virtual ~LiveObserver() = default;
    virtual void liveStarted(int steprate) = 0;
    virtual void liveNumber(int number) = 0;
    virtual void liveUndone() = 0; // the last number taken back
    virtual void liveReset(int steprate) = 0;
    virtual void liveExported() = 0;
    virtual void liveEnded() = 0; // "Abbruch": the live run is over
};

// One step of a live session as its journal keeps it.
struct LiveEvent {
    enum class Kind { Start, Number, Reset, Export };
    Kind kind = Kind::Number;
    int value = 0; // the step rate of Start and Reset; the number
};

// The run control: start-up, the two input checks, Start, Reset, the spins
// and the complete restart. It owns the run state and the grid content and
// writes everything the user sees through the window port.
//
// RunState is the program's variables as the window and the dumps name them;
// the members below it are what the control adds: the run's own figures,
// fixed at Start, and the window's bookkeeping.
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

    const RunState& state() const { return m_state; }
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
    // The spin of the replayed file that is the run's spin 1.
    long long sourceFirst() const { return m_sourceFirst; }
    // The step rate the current run was prepared with (see m_runSteprate).
    int runSteprate() const { return m_runSteprate; }

    // Live entry: a run whose permanence grows as the numbers falling at a
    // table are typed in. "Live-Eingabe …" prepares it as an import does (a
    // permanence loaded and not yet started is continued from its end);
    // "Start" takes every number the permanence has, and each entry is one
    // "Weiter" with that number.
    void prepareLive();
    bool live() const { return m_live; }
    // TEXT as typed; a text that is no number 0..36, or an entry past the
    // run's end, is refused with a line in the status label and changes
    // nothing else. True when the number was taken.
    bool liveEntry(std::string_view text);
    // "Zurück": the state exactly as if the last number had never been
    // entered; never past the last Start, Reset or Export.
    bool liveUndo();
    // "Wiederholen": the number last taken back, entered again.
    bool liveRedo();
    bool canUndo() const { return m_live && m_runStarted && m_state.akut > m_anchorAkut; }
    bool canRedo() const { return m_live && !m_redo.empty(); }
    // The live permanence's numbers, spin 1 first.
    const std::vector<int>& liveNumbers() const { return m_liveNumbers; }
    void setLiveObserver(LiveObserver* observer) { m_liveObserver = observer; }
    // An unfinished session from its journal, step by step as it was
    // entered; the observer hears nothing of it and the clipboard is left
    // alone.
    void resumeLive(const std::vector<LiveEvent>& events);

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
    void startLive();
    void takeLiveNumber(int number);
    void keepLiveAnchor();
    void clearLive();
    void showLiveNumbers();
    void takeExported();
    void showLiveRefusal(std::string_view line);
    void dropLiveRefusal();

    // What a live run puts back when it takes an entry back: everything an
    // entry can change, as it stood after the last Start, Reset or Export.
    struct LiveAnchor {
        RunState state;
        ResultGrid grid;
        Shown shown;
        std::string statusText;
        std::string cliptext;
        bool endAnnounced = false;
        bool endLineShown = false;
        std::vector<StepResult> history;
    };

    ShownPort m_window;
    RandomSource& m_random;
    std::string m_decimalSeparator; // the user's, for the statistics label
    RunState m_state;
    ResultGrid m_grid;

    // The run's own figures, fixed at Start (the step rate also at a Reset
    // with an accepted step rate), so that later edits of the boxes never
    // make a run address rows or spins it did not create.
    int m_runSteprate = 0; // rows of the grid and positions of a step
    int m_runTotal = 0;    // the spin whose pass ends the run

    // Window bookkeeping.
    std::string m_statusText;          // what the status label shows
    std::string m_cliptext;            // what the export put on the clipboard
    bool m_endAnnounced = false;       // the run's end line has been appended
    bool m_endLineShown = false;       // the status label still ends with that line
    bool m_infoOpen = false;           // the info text lies over the grid
    bool m_importUsable = true;        // see importUsable()
    bool m_runStarted = false;         // see runStarted()
    std::string m_sourceName;          // the file replayed, as far as it is known
    long long m_sourceFirst = 1;       // the file's spin that is the run's spin 1
    std::vector<StepResult> m_history; // see history()
    unsigned m_historyVersion = 0;

    // Live entry.
    bool m_live = false;            // see live()
    std::vector<int> m_liveNumbers; // see liveNumbers()
    std::vector<int> m_redo;        // numbers taken back, the last on top
    LiveAnchor m_anchor;            // see LiveAnchor
    int m_anchorAkut = 0;           // the spins taken at the anchor
    bool m_refusalShown = false;    // the status label ends with a refused entry's line
    LiveObserver* m_liveObserver = nullptr;
    bool m_resuming = false; // resumeLive is at work
};

} // namespace cr
