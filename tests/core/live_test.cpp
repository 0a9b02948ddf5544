// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/runfile.h"
#include "core/texts.h"
#include "run_harness.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <sstream>

namespace cr::testing {
namespace {

// Everything a live entry may change and a user or a dump can see: the run's
// variables, the grid, the step history and every text and state of the
// window. Empty when A and B agree, else the first difference in words.
std::string difference(const Harness& a, const Harness& b) {
    const RunState& x = a.run.state();
    const RunState& y = b.run.state();
    std::ostringstream out;
    const auto check = [&out](bool same, const char* what) {
        if (!same && out.tellp() == 0) {
            out << what;
        }
    };
    check(x.anzahl == y.anzahl && x.steprate == y.steprate && x.modus == y.modus, "boxes/modus");
    // Empty cells are NaN, equal to no value, themselves included.
    const auto sameCells = [](const std::vector<double>& p, const std::vector<double>& q) {
        return std::equal(p.begin(), p.end(), q.begin(), q.end(), [](double u, double v) {
            return isEmptyCell(u) ? isEmptyCell(v) : u == v;
        });
    };
    check(sameCells(x.permanenz, y.permanenz) && x.permanzahl == y.permanzahl, "permanence");
    check(x.zahl == y.zahl && x.akut == y.akut && x.zeile == y.zeile && x.schritt == y.schritt,
          "position");
    check(countersOf(x) == countersOf(y) && x.statwert == y.statwert, "counters");
    check(x.feldrs == y.feldrs && x.feldmp == y.feldmp && x.feldgu == y.feldgu, "fields");
    check(x.feldtitel == y.feldtitel && x.statzeile == y.statzeile, "results for the export");
    check(numbersOf(a.run.history()) == numbersOf(b.run.history()), "step history");
    const ResultGrid& g = a.run.grid();
    const ResultGrid& h = b.run.grid();
    bool sameGrid = g.rowCount() == h.rowCount();
    for (int r = 0; sameGrid && r < g.rowCount(); ++r) {
        for (int c = 0; c < ResultGrid::kColumns; ++c) {
            sameGrid =
                sameGrid && g.number(r, c) == h.number(r, c) && g.colour(r, c) == h.colour(r, c);
        }
    }
    check(sameGrid, "grid");
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const auto c = static_cast<Control>(i);
        if (a.window.textOf(c) != b.window.textOf(c) ||
            a.window.isEnabled(c) != b.window.isEnabled(c)) {
            check(false, "window");
            out << " " << controlName(c) << ": \"" << a.window.textOf(c) << "\" vs \""
                << b.window.textOf(c) << "\"";
        }
    }
    check(a.run.cliptext() == b.run.cliptext(), "cliptext");
    return out.str();
}

// A live run prepared and started at STEPRATE.
void startLive(Harness& h, std::string_view steprate) {
    h.run.prepareLive();
    h.window.type(Control::textwiederhol, steprate);
    h.run.start();
}

// What a journal keeps, as a live run tells it.
struct Recorder final : LiveObserver {
    RunControl* run = nullptr;
    std::vector<LiveEvent> events;
    void liveStarted(int steprate) override {
        if (events.empty()) { // a continued permanence: its numbers first
            for (const int n : run->liveNumbers()) {
                events.push_back({LiveEvent::Kind::Number, n});
            }
        }
        events.push_back({LiveEvent::Kind::Start, steprate});
    }
    void liveNumber(int number) override { events.push_back({LiveEvent::Kind::Number, number}); }
    void liveUndone() override {
        ASSERT_EQ(events.back().kind, LiveEvent::Kind::Number);
        events.pop_back();
    }
    void liveReset(int steprate) override { events.push_back({LiveEvent::Kind::Reset, steprate}); }
    void liveExported() override { events.push_back({LiveEvent::Kind::Export, 0}); }
    void liveEnded() override { events.clear(); }
};

// Any sequence of entries, bad entries, undos, redos, Resets and Exports
// leaves exactly the state of entering the surviving numbers (with the same
// Resets and Exports) afresh; and a journal of it resumes to that state too.
TEST(LiveEntry, TakingBackEqualsNeverEntering) {
    for (unsigned seed = 1; seed <= 3000; ++seed) {
        std::mt19937 draw(seed);
        const auto below = [&draw](int n) {
            return std::uniform_int_distribution<int>(0, n - 1)(draw);
        };
        const std::string steprate = std::to_string(1 + below(5));
        Harness live;
        Recorder journal;
        journal.run = &live.run;
        live.run.setLiveObserver(&journal);
        startLive(live, steprate);
        // The surviving history, and what "Zurück" may still take back.
        std::vector<LiveEvent> kept;
        std::size_t anchor = 0; // entries before it are beyond "Zurück"
        std::vector<int> redo;
        const int actions = 5 + below(45);
        bool lastRefused = false;
        for (int a = 0; a < actions; ++a) {
            const int roll = below(100);
            // A refusal's line stays until something is done.
            lastRefused = lastRefused && ((roll >= 60 && roll < 80 && kept.size() == anchor) ||
                                          (roll >= 80 && roll < 92 && redo.empty()));
            if (roll < 55) {
                const int n = below(37);
                ASSERT_TRUE(live.run.liveEntry(std::to_string(n)));
                kept.push_back({LiveEvent::Kind::Number, n});
                redo.clear();
            } else if (roll < 60) {
                const char* bad[] = {"37", "x", "-1", "", "3,5", " ", "+5", "100"};
                EXPECT_FALSE(live.run.liveEntry(bad[below(8)]));
                lastRefused = true;
            } else if (roll < 80) {
                const bool possible = kept.size() > anchor;
                EXPECT_EQ(live.run.liveUndo(), possible) << "seed " << seed;
                if (possible) {
                    redo.push_back(kept.back().value);
                    kept.pop_back();
                }
            } else if (roll < 92) {
                EXPECT_EQ(live.run.liveRedo(), !redo.empty()) << "seed " << seed;
                if (!redo.empty()) {
                    kept.push_back({LiveEvent::Kind::Number, redo.back()});
                    redo.pop_back();
                }
            } else if (roll < 96) {
                live.run.reset();
                kept.push_back({LiveEvent::Kind::Reset, 0});
                anchor = kept.size();
                redo.clear();
            } else {
                live.run.exportResults();
                kept.push_back({LiveEvent::Kind::Export, 0});
                anchor = kept.size();
                redo.clear();
            }
        }
        if (lastRefused) {
            ASSERT_TRUE(live.run.liveEntry("17")); // takes the refusal's line away
            kept.push_back({LiveEvent::Kind::Number, 17});
        }
        Harness fresh;
        startLive(fresh, steprate);
        for (const LiveEvent& e : kept) {
            if (e.kind == LiveEvent::Kind::Number) {
                fresh.run.liveEntry(std::to_string(e.value));
            } else if (e.kind == LiveEvent::Kind::Reset) {
                fresh.run.reset();
            } else {
                fresh.run.exportResults();
            }
        }
        ASSERT_EQ(difference(live, fresh), "") << "seed " << seed;
        Harness resumed;
        resumed.run.resumeLive(journal.events);
        resumed.window.clipboard = live.window.clipboard; // resuming leaves the clipboard alone
        ASSERT_EQ(difference(live, resumed), "") << "resumed, seed " << seed;
    }
}

// Bad entries are refused with a line that says why, and change nothing
// else; the next good entry takes the line away.
TEST(LiveEntry, BadEntriesAreRefusedAndChangeNothing) {
    Harness h;
    startLive(h, "4");
    ASSERT_TRUE(h.run.liveEntry(" 7 "));
    const std::string running = h.window.textOf(Control::text);
    EXPECT_EQ(running, " Live-Eingabe: jede gefallene Zahl eingeben\r  und Enter drücken; "
                       "Zurück mit Strg+Z.");
    const struct {
        const char* typed;
        const char* line;
    } cases[] = {
        {"37", "  \u201e37\u201c ist keine Zahl von 0 bis 36."},
        {"x", "  \u201ex\u201c ist keine Zahl von 0 bis 36."},
        {"-1", "  \u201e-1\u201c ist keine Zahl von 0 bis 36."},
        {"3,5", "  \u201e3,5\u201c ist keine Zahl von 0 bis 36."},
        {"", "  Bitte eine Zahl von 0 bis 36 eingeben."},
        {"0123456789abcdef", "  \u201e0123456789ab\u2026\u201c ist keine Zahl von 0 bis 36."},
    };
    Harness before;
    startLive(before, "4");
    before.run.liveEntry("7");
    for (const auto& c : cases) {
        EXPECT_FALSE(h.run.liveEntry(c.typed)) << c.typed;
        EXPECT_EQ(h.window.textOf(Control::text), running + "\r" + c.line) << c.typed;
        before.window.setText(Control::text, h.window.textOf(Control::text));
        EXPECT_EQ(difference(h, before), "") << c.typed;
    }
    ASSERT_TRUE(h.run.liveEntry("0"));
    EXPECT_EQ(h.window.textOf(Control::text), running);
    EXPECT_EQ(h.run.state().akut, 2);
}

// A live run takes 9999 spins, then says so and refuses more; taking the
// last one back opens it again.
TEST(LiveEntry, EndsAtTheLimitAndTakesTheLastBack) {
    Harness h;
    startLive(h, "37");
    EXPECT_EQ(h.window.textOf(Control::textanzahl), "9999");
    EXPECT_FALSE(h.window.isEnabled(Control::okweiter));
    EXPECT_FALSE(h.window.isEnabled(Control::okstep));
    EXPECT_TRUE(h.window.isEnabled(Control::okreset));
    for (int k = 0; k < 9999; ++k) {
        ASSERT_TRUE(h.run.liveEntry(std::to_string(k % 37)));
    }
    EXPECT_EQ(h.run.state().akut, 9999);
    EXPECT_TRUE(h.window.textOf(Control::text).ends_with("\r  Ende erreicht ..."));
    EXPECT_FALSE(h.window.isEnabled(Control::okreset));
    EXPECT_FALSE(h.run.liveEntry("5"));
    EXPECT_TRUE(
        h.window.textOf(Control::text)
            .ends_with("\r  Ende erreicht ...\r  Der Lauf ist zu Ende: keine Eingabe mehr."));
    ASSERT_TRUE(h.run.liveUndo());
    EXPECT_EQ(h.run.state().akut, 9998);
    EXPECT_TRUE(h.window.isEnabled(Control::okreset));
    EXPECT_FALSE(h.window.textOf(Control::text).ends_with("Ende erreicht ..."));
    EXPECT_TRUE(h.run.liveRedo());
    EXPECT_EQ(h.run.state().akut, 9999);
}

// A saved or opened permanence goes on from its end: Start takes its
// numbers at once, and the next entry is the spin after them.
TEST(LiveEntry, ContinuesALoadedPermanence) {
    Harness h;
    const std::vector<std::uint8_t> numbers{3, 0, 26, 14, 5};
    h.run.applyOpened(numbersAsPermanence(numbers), "alt.txt", false);
    h.run.prepareLive();
    EXPECT_TRUE(h.run.live());
    EXPECT_EQ(h.run.state().permanzahl, 5);
    h.window.type(Control::textwiederhol, "2");
    h.run.start();
    EXPECT_EQ(h.run.state().akut, 5);
    EXPECT_EQ(h.run.state().zahl, 5);
    EXPECT_EQ(h.run.state().schritt, 3); // two steps of two, then spin 5 in step 3
    ASSERT_TRUE(h.run.liveEntry("9"));
    EXPECT_EQ(h.run.takenSpins(), (std::vector<int>{3, 0, 26, 14, 5, 9}));
    EXPECT_EQ(h.run.origin(), "live eingegeben");
    // Undo reaches down to no spin at all.
    for (int k = 0; k < 6; ++k) {
        ASSERT_TRUE(h.run.liveUndo());
    }
    EXPECT_FALSE(h.run.liveUndo());
    EXPECT_EQ(h.run.state().akut, 0);
    h.window.answers.push_back(true);
    h.run.abbruch();
    EXPECT_FALSE(h.run.live());
    EXPECT_EQ(h.run.state().modus, Modus::Drawn);
}

} // namespace
} // namespace cr::testing
