#pragma once

#include "core/controls.h"
#include "core/evaluation.h"
#include "core/grid.h"
#include "core/permanence.h"
#include "core/random.h"
#include "core/wheel.h"

#include <array>
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

// Every variable of the run, under the names the program uses for them.
struct RunState {
    double anzahl = 0;
    int steprate = 0;
    int modus = 0;
    std::vector<int> zahlen;       // -1 marks an empty cell
    std::vector<double> permanenz; // kEmptyCell marks an empty cell
    double permanzahl = 0;
    int zahl = 0;
    int akut = 0;
    int zeile = 0;
    int schritt = 1;
    int serie = 0;
    int leerrs = 0, leermp = 0, leergu = 0;
    int einmalrs = 0, einmalmp = 0, einmalgu = 0;
    int statwert = 0;
    FieldTable feldrs, feldmp, feldgu;
    ColourTable farbe{};
    ResultTable feldtitel;
    int statzeile = 1;
};

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
    void openChooser();
    void cancelChooser();
    void applyPermanence(const PermanenceOutcome& outcome);
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
    int takeNumber() const;
    void freshFieldTables();
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
    std::vector<StepResult> m_history;
    unsigned m_historyVersion = 0;
};

} // namespace cr
