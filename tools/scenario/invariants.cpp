// SPDX-License-Identifier: GPL-3.0-or-later
// The rules the run keeps whatever the user does, read from the run state
// and from the widgets that show it.
#include "invariants.h"

#include "core/run.h"
#include "core/texts.h"
#include "invariants_p.h"
#include "ui/common/statuslabel.h"
#include "ui/grid/resultgridmodel.h"
#include "ui/main/mainwindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QWidget>
#include <sstream>

namespace cr::scenario {

namespace {

constexpr long long kDialogsKept = 1000;

class Checker {
public:
    Checker(const ui::MainWindow& window, const ActionContext& context)
        : m_window(window), m_run(window.run()), m_s(window.run().state()), m_context(context) {}

    std::string check() {
        if (!m_window.isVisible()) {
            return "the main window has closed";
        }
        checkBounds();
        checkEnabled();
        checkJobs(m_window, m_found);
        checkCourse(m_window, m_found);
        checkExport(m_window, m_context, m_found);
        if (m_run.runStarted()) {
            checkCounters();
            checkGrid();
            checkResults(m_window, m_found);
        } else {
            checkEmptyGrid();
        }
        checkLabels();
        if (m_context.restarted) {
            checkRestart();
        }
        return m_found.text();
    }

private:
    template <typename... Words> void fail(const Words&... words) { m_found.fail(words...); }
    bool enabled(const char* name) const { return enabledControl(m_window, name); }
    QString text(const char* name) const {
        const QWidget* widget = control(m_window, name);
        if (const auto* box = qobject_cast<const QLineEdit*>(widget)) {
            return box->text();
        }
        if (const auto* label = qobject_cast<const QLabel*>(widget)) {
            return label->text();
        }
        return {};
    }
    const FieldTable& table(int pair) const {
        return pair == 0 ? m_s.feldrs : pair == 1 ? m_s.feldmp : m_s.feldgu;
    }

    void checkBounds() {
        const int rate = m_run.runSteprate();
        const auto steps = static_cast<long long>(m_run.history().size());
        if (rate > 0 && steps * rate > m_s.akut) {
            fail(steps, " steps kept after ", m_s.akut, " spins at step rate ", rate);
        }
        if (m_run.liveNumbers().size() > static_cast<std::size_t>(kSpinsLimit) + 1) {
            fail(m_run.liveNumbers().size(), " live numbers kept");
        }
        if (m_context.dialogsKept > kDialogsKept) {
            fail("the runner keeps ", m_context.dialogsKept, " boxes");
        }
    }

    // The phase table: set-up before "Start" and after "Abbruch", the run,
    // and its end, where "Weiter", "S t e p" and "Reset" are off.
    void checkEnabled() {
        const bool weiter = enabled("okweiter");
        const bool stepping = enabled("okstep");
        const bool reset = enabled("okreset");
        if (enabled("okextern") != m_run.importUsable()) {
            fail("Import enabled ", enabled("okextern"), " while the run says usable ",
                 m_run.importUsable());
        }
        if (enabled("okstart") && (m_s.steprate < 1 || !(m_s.anzahl > 0))) {
            fail("Start enabled with steprate ", m_s.steprate, " and anzahl ", m_s.anzahl);
        }
        if (enabled("okclip") && (!m_run.runStarted() || m_s.schritt < 2)) {
            fail("Export enabled before any step ended (schritt ", m_s.schritt, ")");
        }
        if (!m_run.runStarted()) {
            if (weiter || stepping || reset) {
                fail("set-up: Weiter/Step/Reset enabled ", weiter, stepping, reset);
            }
            if (enabled("okabbrechen") == enabled("okextern")) {
                fail("set-up: Abbruch and Import both ", enabled("okextern"));
            }
            return;
        }
        if (enabled("okextern") || !enabled("okabbrechen")) {
            fail("run: Import enabled or Abbruch disabled");
        }
        if (m_run.live()) {
            if (weiter || stepping) {
                fail("live run: Weiter or Step enabled");
            }
            return;
        }
        if (weiter != stepping || weiter != reset) {
            fail("run: Weiter ", weiter, ", Step ", stepping, ", Reset ", reset, " differ");
        }
        const bool ended = !weiter;
        if (ended && m_run.statusText().find(texts::kEndReached) == std::string::npos) {
            fail("run: Weiter disabled but no end line in the status label");
        }
        const auto next = static_cast<std::size_t>(m_s.akut) + 1;
        bool nextExists = false;
        if (m_s.modus == Modus::Drawn) {
            nextExists = next < m_s.zahlen.size() && m_s.zahlen[next] >= 0;
        } else {
            nextExists = static_cast<double>(next) <= m_s.permanzahl;
        }
        if (ended && m_s.modus == Modus::Drawn && nextExists) {
            fail("run ended at spin ", m_s.akut, " though spin ", next, " was drawn");
        }
        if (!ended && !nextExists && m_s.akut > 0) {
            fail("run goes on after spin ", m_s.akut, ", the last there is");
        }
    }

    void checkCounters() {
        const int rate = m_run.runSteprate();
        int leer[3] = {0, 0, 0};
        int once[3] = {0, 0, 0};
        for (int pair = 0; pair < 3; ++pair) {
            if (static_cast<int>(table(pair).size()) != rate + 1) {
                fail("field table ", pair, " has ", table(pair).size(), " rows at step rate ",
                     rate);
                return;
            }
            for (int row = 1; row <= rate; ++row) {
                for (int side = 1; side <= 2; ++side) {
                    const int state =
                        table(pair)[static_cast<std::size_t>(row)][static_cast<std::size_t>(side)];
                    leer[pair] += state == kFieldEmpty;
                    once[pair] += state == kFieldOnce;
                }
            }
        }
        const int shownLeer[3] = {m_s.leerrs, m_s.leermp, m_s.leergu};
        const int shownOnce[3] = {m_s.einmalrs, m_s.einmalmp, m_s.einmalgu};
        for (int pair = 0; pair < 3; ++pair) {
            if (leer[pair] != shownLeer[pair] || once[pair] != shownOnce[pair]) {
                fail("pair ", pair, ": counters ", shownLeer[pair], "/", shownOnce[pair],
                     ", recount ", leer[pair], "/", once[pair]);
            }
        }
    }

    // Where the current step stands in the grid. A pass past the run's end
    // (D9) counts its row without taking a spin: then the row it counted is
    // not marked, or it is one past the last (the spin box cannot tell, a
    // person may type into it).
    int currentRow() const {
        const int rows = m_run.runSteprate();
        const bool ended = !m_run.live() && !enabled("okweiter");
        const bool overPassed =
            ended && m_s.zeile > 0 &&
            (m_s.zeile >= rows ||
             m_run.grid().colour(m_s.zeile - 1, ResultGrid::kNumberColumn) != CellColour::Green);
        return m_s.zeile - (overPassed ? 1 : 0);
    }

    CellColour expectedHit(int step) const {
        return step == 1 ? CellColour::DarkRed : CellColour::DarkBlue;
    }

    void checkGrid() {
        const ResultGrid& grid = m_run.grid();
        const int rows = m_run.runSteprate();
        if (grid.rowCount() != rows || m_window.gridModel().rowCount() != rows) {
            fail("the grid has ", grid.rowCount(), " rows (shown ", m_window.gridModel().rowCount(),
                 ") at step rate ", rows);
            return;
        }
        checkModel();
        const int z = currentRow();
        if (z < 0 || z >= rows) {
            fail("the current row ", z, " lies outside the grid of ", rows);
            return;
        }
        for (int r = 0; r < rows; ++r) {
            if (grid.number(r, ResultGrid::kNumberColumn) != r + 1) {
                fail("row ", r, " is numbered ", grid.text(r, ResultGrid::kNumberColumn));
            }
            const bool current = z > 0 ? r == z - 1 : (m_s.schritt > 1 && r == rows - 1);
            const CellColour numberColour = grid.colour(r, ResultGrid::kNumberColumn);
            if ((numberColour == CellColour::Green) != current ||
                (!current && numberColour != CellColour::LightGrey)) {
                fail("row ", r, "'s number has colour ", static_cast<int>(numberColour),
                     ", current row ", z, " of step ", m_s.schritt);
            }
            const bool taken = m_s.schritt > 1 || r < z;
            if (grid.hasText(r, ResultGrid::kSpinColumn) != taken) {
                fail("row ", r, " shows a spin: ", grid.hasText(r, ResultGrid::kSpinColumn),
                     ", expected ", taken, " (row ", z, " of step ", m_s.schritt, ")");
                return;
            }
            checkRow(r, r < z ? m_s.schritt : m_s.schritt - 1);
        }
        if (z > 0 && grid.number(z - 1, ResultGrid::kSpinColumn) != m_s.zahl) {
            fail("row ", z - 1, " shows ", grid.text(z - 1, ResultGrid::kSpinColumn),
                 " but zahl is ", m_s.zahl);
        }
    }

    // A row's fields: their colours follow the field states, and the last
    // spin in the row painted its own sides (a zero paints every field green).
    void checkRow(int r, int step) {
        const ResultGrid& grid = m_run.grid();
        for (int column = 0; column < ResultGrid::kColumns; ++column) {
            const ColumnMeaning meaning = columnMeaning(column);
            if (meaning.kind == ColumnMeaning::Kind::Spacer &&
                (grid.hasText(r, column) || grid.colour(r, column) != CellColour::LightGrey)) {
                fail("spacer cell ", r, ",", column, " is painted or written");
            }
            if (meaning.kind != ColumnMeaning::Kind::Field) {
                continue;
            }
            const int state =
                table(static_cast<int>(meaning.pair))[static_cast<std::size_t>(r + 1)]
                                                     [static_cast<std::size_t>(meaning.side)];
            const CellColour colour = grid.colour(r, column);
            const bool fits = state == kFieldEmpty  ? colour == CellColour::LightGrey
                              : state == kFieldOnce ? colour == CellColour::DarkRed
                                                    : colour != CellColour::LightGrey;
            if (!fits || grid.hasText(r, column) ||
                (colour == CellColour::DarkBlue && m_s.schritt < 2)) {
                fail("cell ", r, ",", column, " has colour ", static_cast<int>(colour),
                     " for field state ", state, " in step ", m_s.schritt);
            }
        }
        if (!grid.hasText(r, ResultGrid::kSpinColumn)) {
            return;
        }
        const int number = grid.number(r, ResultGrid::kSpinColumn);
        for (int pair = 0; pair < kPairCount; ++pair) {
            const auto p = static_cast<Pair>(pair);
            for (int side = 1; side <= 2; ++side) {
                const CellColour colour = grid.colour(r, fieldColumn(p, side));
                if (number == 0 && colour != CellColour::Green) {
                    fail("row ", r, " shows a zero but cell ", fieldColumn(p, side),
                         " is not green");
                }
                if (number != 0 && side == sideOf(p, number, m_s.farbe) &&
                    colour != expectedHit(step)) {
                    fail("row ", r, " shows ", number, " of step ", step, " but cell ",
                         fieldColumn(p, side), " has colour ", static_cast<int>(colour));
                }
            }
        }
    }

    // What the window shows is what the run's grid holds.
    void checkModel() {
        const ResultGrid& grid = m_run.grid();
        const ui::ResultGridModel& model = m_window.gridModel();
        for (int r = 0; r < grid.rowCount(); ++r) {
            for (int c = 0; c < ResultGrid::kColumns; ++c) {
                const QModelIndex index = model.index(r, c);
                const QVariant shown = model.data(index, Qt::DisplayRole);
                const bool textAgrees = grid.hasText(r, c)
                                            ? shown.isValid() && shown.toInt() == grid.number(r, c)
                                            : !shown.isValid();
                if (!textAgrees || model.data(index, Qt::BackgroundRole).value<QColor>() !=
                                       ui::ResultGridModel::colourOf(grid.colour(r, c))) {
                    fail("the shown cell ", r, ",", c, " differs from the run's grid");
                    return;
                }
            }
        }
    }

    void checkEmptyGrid() {
        const ResultGrid& grid = m_run.grid();
        for (int r = 0; r < grid.rowCount(); ++r) {
            for (int c = 0; c < ResultGrid::kColumns; ++c) {
                if (grid.hasText(r, c) || grid.colour(r, c) != CellColour::LightGrey) {
                    fail("set-up: cell ", r, ",", c, " is written or painted");
                    return;
                }
            }
        }
    }

    // The counter labels show the run's counters once a spin has been taken
    // since "Start" or "Reset", and nothing before.
    void checkLabels() {
        const bool spinShown = m_run.runStarted() && m_run.grid().rowCount() > 0 &&
                               m_run.grid().hasText(0, ResultGrid::kSpinColumn);
        const char* names[] = {"labtempa", "labtempb", "labtempc",
                               "labtempd", "labtempe", "labtempf"};
        const int values[] = {m_s.leerrs,   m_s.leermp,   m_s.leergu,
                              m_s.einmalrs, m_s.einmalmp, m_s.einmalgu};
        for (int i = 0; i < 6; ++i) {
            const QString expected = spinShown ? QString::number(values[i]) : QString();
            if (text(names[i]) != expected) {
                fail(names[i], " shows \"", text(names[i]).toStdString(), "\", expected \"",
                     expected.toStdString(), "\"");
            }
        }
    }

    // After a confirmed "Abbruch": what the complete restart sets.
    void checkRestart() {
        const bool variables = m_s.anzahl == 0 && m_s.steprate == 0 && m_s.akut == 0 &&
                               m_s.zeile == 0 && m_s.schritt == 1 && m_s.modus == Modus::Drawn &&
                               m_s.serie == Serie::Off && m_s.einmalrs == 0 && m_s.einmalmp == 0 &&
                               m_s.einmalgu == 0 && m_s.statzeile == 1;
        if (!variables) {
            fail("after Abbruch a run variable keeps its value");
        }
        for (int n : m_s.zahlen) {
            if (n != -1) {
                fail("after Abbruch zahlen keeps ", n);
                break;
            }
        }
        for (double n : m_s.permanenz) {
            if (!isEmptyCell(n)) {
                fail("after Abbruch permanenz keeps ", n);
                break;
            }
        }
        if (!m_run.history().empty() || m_run.runStarted() || !m_run.importUsable() ||
            m_run.live() || !m_run.cliptext().empty()) {
            fail("after Abbruch the run keeps its history, start, import, live or export");
        }
        for (const char* off : {"okstart", "okweiter", "okstep", "okreset", "okabbrechen", "okclip",
                                "textwiederhol", "textakut"}) {
            if (enabled(off)) {
                fail("after Abbruch ", off, " is enabled");
            }
        }
        if (!enabled("textanzahl") || !enabled("okextern")) {
            fail("after Abbruch the spins box or Import is disabled");
        }
        for (const char* empty :
             {"textanzahl", "textwiederhol", "textakut", "textstep", "labstat"}) {
            if (!text(empty).isEmpty()) {
                fail("after Abbruch ", empty, " shows ", text(empty).toStdString());
            }
        }
        if (m_run.grid().rowCount() != m_context.gridRowsBefore) {
            fail("Abbruch changed the grid's rows from ", m_context.gridRowsBefore, " to ",
                 m_run.grid().rowCount());
        }
    }

    const ui::MainWindow& m_window;
    const RunControl& m_run;
    const RunState& m_s;
    const ActionContext& m_context;
    Findings m_found;
};

} // namespace

std::string brokenInvariant(const ui::MainWindow& window, const ActionContext& context) {
    return Checker(window, context).check();
}

} // namespace cr::scenario
