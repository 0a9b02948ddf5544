// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/fields.h"
#include "io/permanence_reader.h"

#include <benchmark/benchmark.h>
#include <cstring>
#include <random>
#include <string>

namespace cr::bench {
namespace {

// A permanence of about the given size: the header, then one spin a line
// with CR LF, a separator line now and then.
std::string makePermanence(std::size_t megabytes) {
    const std::size_t size = megabytes << 20;
    std::string text = "Spielbank Hamburg\r\nTisch 1\r\n24.04.2019\r\nCoup\r\n";
    text.reserve(size + 64);
    std::mt19937 engine(7);
    std::uniform_int_distribution<int> number(0, 36);
    for (std::size_t line = 0; text.size() < size; ++line) {
        if (line % 200 == 199) {
            text += "-----\r\n";
        } else {
            text += std::to_string(number(engine));
            text += "\r\n";
        }
    }
    return text;
}

const std::string& permanence(std::size_t megabytes) {
    static const std::string text = makePermanence(megabytes);
    return text;
}

// Both passes of the reader over the bytes held in memory.
void BM_ImportRead(benchmark::State& state) {
    const std::string& bytes = permanence(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        io::MemorySource source(bytes);
        const PermanenceOutcome outcome = io::readPermanence(source);
        benchmark::DoNotOptimize(outcome.count);
        if (outcome.kind != PermanenceOutcome::Kind::Read) {
            state.SkipWithError("the generated permanence was not read");
        }
    }
    state.SetBytesProcessed(static_cast<long long>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ImportRead)->Arg(10)->Unit(benchmark::kMillisecond);

// The floor: finding every line end of the same bytes once.
void BM_RawScan(benchmark::State& state) {
    const std::string& bytes = permanence(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        std::size_t lines = 0;
        const char* p = bytes.data();
        const char* end = p + bytes.size();
        while ((p = static_cast<const char*>(std::memchr(p, '\n', end - p))) != nullptr) {
            ++lines;
            ++p;
        }
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(static_cast<long long>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_RawScan)->Arg(10)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace cr::bench
