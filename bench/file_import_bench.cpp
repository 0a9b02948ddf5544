// SPDX-License-Identifier: GPL-3.0-or-later
// The window's import of a file on disk: 100 MB of spins one a line against
// the same spins on a single line without any line break. Reading is one
// pass per byte whatever the lines look like, so both take about as long.
#include "io/permanence_reader.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace cr::bench {
namespace {

constexpr std::size_t kFileSize = std::size_t{100} << 20;

// The file, written once into the temporary directory: the header, then
// spins 0..36 each followed by sep until the file has kFileSize bytes.
std::string writeFile(const char* name, const char* sep) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("chancenraster-bench-" + std::to_string(getpid()) + "-" + name);
    std::string text = "Spielbank Hamburg\r\nTisch 1\r\n24.04.2019\r\nCoup\r\n";
    text.reserve(kFileSize + 64);
    for (int n = 0; text.size() < kFileSize; n = (n + 7) % 37) {
        text += std::to_string(n);
        text += sep;
    }
    std::ofstream(path, std::ios::binary)
        .write(text.data(), static_cast<std::streamsize>(text.size()));
    return path.string();
}

struct BenchFile {
    std::string path;
    explicit BenchFile(std::string p) : path(std::move(p)) {}
    ~BenchFile() { std::remove(path.c_str()); }
};

void importFile(benchmark::State& state, const std::string& path) {
    for (auto _ : state) {
        const PermanenceOutcome outcome = io::readPermanenceFile(path, kMostReplayedSpins);
        benchmark::DoNotOptimize(outcome.count);
        if (outcome.kind != PermanenceOutcome::Kind::Read) {
            state.SkipWithError("the generated permanence was not read");
        }
    }
    state.SetBytesProcessed(static_cast<long long>(state.iterations() * kFileSize));
}

void BM_ImportFileLines(benchmark::State& state) {
    static const BenchFile file(writeFile("lines.txt", "\r\n"));
    importFile(state, file.path);
}
BENCHMARK(BM_ImportFileLines)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_ImportFileOneLine(benchmark::State& state) {
    static const BenchFile file(writeFile("oneline.txt", ","));
    importFile(state, file.path);
}
BENCHMARK(BM_ImportFileOneLine)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace
} // namespace cr::bench
