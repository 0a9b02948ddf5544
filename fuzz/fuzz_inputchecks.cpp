// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary typing, pasting and clicking through the run control with an
// in-memory window: the step rate is always 0 or 1..16383, "Start" is only
// usable with a valid spins box, and no pass reads outside what was made.
#include "core/numparse.h"
#include "core/run.h"
#include "support/memory_window.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

class ByteRandom final : public cr::RandomSource {
public:
    void seedFromClock() override {}
    double next() override { return (static_cast<double>(m_next++ % 37) + 0.5) / 37.0; }

private:
    unsigned m_next = 0;
};

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using cr::Control;
    ByteRandom random;
    cr::support::MemoryWindow window;
    cr::RunControl run(window, random, ",");
    window.run = &run;
    run.startup();

    std::size_t i = 0;
    auto takeText = [&](std::size_t most) {
        std::size_t n = 0;
        if (i < size) {
            const std::size_t wanted = data[i] % (most + 1);
            ++i;
            n = std::min(wanted, size - i);
        }
        std::string text(reinterpret_cast<const char*>(data + i), n);
        i += n;
        return text;
    };
    while (i < size) {
        const std::uint8_t op = data[i++];
        const Control box = (op & 1) ? Control::textwiederhol : Control::textanzahl;
        switch (op % 10) {
        case 0:
        case 1: { // typing, key by key
            if (window.isEnabled(box)) {
                for (char key : takeText(12)) {
                    window.setText(box, std::string(window.boxText(box)) + key);
                }
            }
            break;
        }
        case 2:
        case 3: // a paste over the whole text
            if (window.isEnabled(box)) {
                window.setText(box, takeText(24));
            }
            break;
        case 4:
        case 5: { // backspace
            std::string text(window.boxText(box));
            if (window.isEnabled(box) && !text.empty()) {
                text.pop_back();
                window.setText(box, text);
            }
            break;
        }
        default: { // a click on a usable button
            const Control buttons[] = {Control::okstart, Control::okweiter,    Control::okstep,
                                       Control::okreset, Control::okabbrechen, Control::okclip};
            const Control button = buttons[(op / 10) % 6];
            if (!window.isEnabled(button)) {
                break;
            }
            switch (button) {
            case Control::okstart:
                run.start();
                break;
            case Control::okweiter:
                run.weiter();
                break;
            case Control::okstep:
                run.step();
                break;
            case Control::okreset:
                run.reset();
                break;
            case Control::okabbrechen:
                run.abbruch();
                break;
            default:
                run.exportResults();
                break;
            }
        }
        }
        const int steprate = run.state().steprate;
        check(steprate == 0 || (steprate >= 1 && steprate <= cr::kMaxSteprate));
        if (window.isEnabled(Control::okstart)) {
            const double spins = cr::lenientParse(window.boxText(Control::textanzahl));
            check(spins > 0 && spins < cr::kSpinsLimit && steprate >= 1);
        }
        // The grid has the rows the run was prepared with (one before any run).
        check(run.grid().rowCount() == (run.runSteprate() == 0 ? 1 : run.runSteprate()));
        check(run.state().zeile >= 0 && run.state().zeile <= std::max(run.runSteprate(), 1));
    }
    return 0;
}
