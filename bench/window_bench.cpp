// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/random.h"
#include "ui/analysis/analysiswindow.h"
#include "ui/main/application.h"
#include "ui/main/mainwindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <memory>

namespace cr::bench {
namespace {

constexpr int kLongestRun = 9999;

// Answers every confirmation Yes as soon as it shows, as a quick user would.
class YesAnswerer final : public QObject {
protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            if (auto* box = qobject_cast<QMessageBox*>(object)) {
                QPointer<QAbstractButton> yes = box->button(QMessageBox::Yes);
                QTimer::singleShot(0, box, [yes] {
                    if (yes) {
                        yes->click();
                    }
                });
            }
        }
        return false;
    }
};

// The real main window, shown offscreen, with a run of the longest length
// started at the given step rate.
struct WindowRun {
    SeededRandom random{1};
    std::unique_ptr<ui::MainWindow> window;

    explicit WindowRun(int steprate) {
        window = ui::createMainWindow(random, QCoreApplication::applicationDirPath());
        window->show();
        QCoreApplication::processEvents();
        box("textanzahl")->setText(QString::number(kLongestRun));
        box("textwiederhol")->setText(QString::number(steprate));
        press("okstart");
    }
    QLineEdit* box(const char* name) const { return window->findChild<QLineEdit*>(name); }
    // A click and everything it makes the window do, painting included.
    void press(const char* name) const {
        window->findChild<QPushButton*>(name)->click();
        QCoreApplication::processEvents();
    }
    int akut() const { return window->run().state().akut; }
};

void BM_WindowSeries(benchmark::State& state) {
    const int steprate = static_cast<int>(state.range(0));
    auto run = std::make_unique<WindowRun>(steprate);
    long long spins = 0;
    for (auto _ : state) {
        if (run->akut() >= kLongestRun) {
            state.PauseTiming();
            run = std::make_unique<WindowRun>(steprate);
            state.ResumeTiming();
        }
        const int before = run->akut();
        run->press("okstep");
        spins += std::min(run->akut(), kLongestRun) - before;
    }
    state.SetItemsProcessed(spins);
}
BENCHMARK(BM_WindowSeries)->Arg(4)->Arg(16383)->Unit(benchmark::kMicrosecond);

// One "Weiter" in the middle of a run.
void BM_WindowSpin(benchmark::State& state) {
    const int steprate = static_cast<int>(state.range(0));
    auto run = std::make_unique<WindowRun>(steprate);
    run->press("okweiter");
    for (auto _ : state) {
        if (run->akut() >= kLongestRun - 1) {
            state.PauseTiming();
            run = std::make_unique<WindowRun>(steprate);
            run->press("okweiter");
            state.ResumeTiming();
        }
        run->press("okweiter");
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_WindowSpin)->Arg(4)->Arg(16383)->Unit(benchmark::kMicrosecond);

// The grid full of a whole series' colours at the step rate, with the button
// usable: a series at the largest step rate ends the run, which disables
// Reset, so the step rate typed anew and a second Start make it usable again.
bool prepareFullGrid(WindowRun& run, int steprate, const char* button) {
    run.box("textanzahl")->setText(QString::number(kLongestRun));
    run.box("textwiederhol")->clear();
    run.box("textwiederhol")->setText(QString::number(steprate));
    run.press("okstart");
    run.press("okstep");
    auto* target = run.window->findChild<QPushButton*>(button);
    if (!target->isEnabled()) {
        run.box("textwiederhol")->clear();
        run.box("textwiederhol")->setText(QString::number(steprate));
        run.press("okstart");
    }
    return target->isEnabled();
}

// Reset right after a whole series; a new window each time, since Reset
// keeps the spins already taken.
void BM_WindowReset(benchmark::State& state) {
    const int steprate = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto run = std::make_unique<WindowRun>(steprate);
        if (!prepareFullGrid(*run, steprate, "okreset")) {
            state.SkipWithError("Reset stayed disabled");
            break;
        }
        state.ResumeTiming();
        run->press("okreset");
        state.PauseTiming();
        run.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_WindowReset)->Arg(16383)->Unit(benchmark::kMicrosecond);

// "Zurück" and "Wiederholen" of a live run one spin short of its end: the
// run put back and 9997 spins taken again, the grid and labels repainted.
void BM_WindowLiveUndo(benchmark::State& state) {
    const int steprate = static_cast<int>(state.range(0));
    SeededRandom random{1};
    auto window = ui::createMainWindow(random, QCoreApplication::applicationDirPath());
    window->show();
    window->prepareLive();
    window->findChild<QLineEdit*>("textwiederhol")->setText(QString::number(steprate));
    window->findChild<QPushButton*>("okstart")->click();
    for (int k = 0; k < kLongestRun - 1; ++k) {
        window->enterLive(QString::number(k * 7 % 37));
    }
    QCoreApplication::processEvents();
    if (window->run().state().akut != kLongestRun - 1) {
        state.SkipWithError("the live run did not take its numbers");
        return;
    }
    for (auto _ : state) {
        window->undoLive();
        QCoreApplication::processEvents();
        window->redoLive();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_WindowLiveUndo)->Arg(4)->Arg(16383)->Unit(benchmark::kMillisecond);

// Abbruch answered Yes right after a whole series, in the same window again
// and again, as a user starting over would.
void BM_WindowAbbruch(benchmark::State& state) {
    const int steprate = static_cast<int>(state.range(0));
    YesAnswerer answerer;
    qApp->installEventFilter(&answerer);
    WindowRun run(steprate);
    for (auto _ : state) {
        state.PauseTiming();
        if (!prepareFullGrid(run, steprate, "okabbrechen")) {
            state.SkipWithError("Abbruch stayed disabled");
            break;
        }
        state.ResumeTiming();
        run.press("okabbrechen");
    }
    qApp->removeEventFilter(&answerer);
}
BENCHMARK(BM_WindowAbbruch)->Arg(16383)->Unit(benchmark::kMicrosecond);

void BM_WindowStartup(benchmark::State& state) {
    SeededRandom random{1};
    for (auto _ : state) {
        auto window = ui::createMainWindow(random, QCoreApplication::applicationDirPath());
        window->show();
        QCoreApplication::processEvents();
        state.PauseTiming();
        window.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_WindowStartup)->Unit(benchmark::kMillisecond);

// The main thread while the window simulates for about a second: the
// longest gap between two ticks of a 1 ms timer (counter gap_ms).
void BM_EventLoopGap(benchmark::State& state) {
    ui::AnalysisWindow window(nullptr);
    window.show();
    double longest = 0;
    for (auto _ : state) {
        window.chooseSimulation(state.range(0), 1);
        window.setSteprate(37);
        window.setRunLength(370);
        QEventLoop loop;
        QObject::connect(&window, &ui::AnalysisWindow::finished, &loop, &QEventLoop::quit);
        QElapsedTimer clock;
        QTimer tick;
        tick.setInterval(1);
        qint64 last = 0;
        QObject::connect(&tick, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            longest = std::max(longest, static_cast<double>(now - last) / 1e6);
            last = now;
        });
        clock.start();
        tick.start();
        window.calculate();
        loop.exec();
        tick.stop();
    }
    state.counters["gap_ms"] = longest;
}
BENCHMARK(BM_EventLoopGap)->Arg(500000)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
} // namespace cr::bench
