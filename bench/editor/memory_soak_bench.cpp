// A soak of paste, undo and redo: the resident size after each hundred rounds, beside the
// reference of the same process right after the first paste (the document, the paste once
// and its undo copy). Steady memory shows a ratio near 1; a leak grows it round by round.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>

#include "editor/text_engine.h"

namespace {

using tavrel::Pos;

long residentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::strtol(line.c_str() + 6, nullptr, 10);
        }
    }
    return -1;
}

// Text-art lines of 76 bytes and CR LF until `bytes` are reached.
std::string artLines(std::size_t bytes, unsigned seed) {
    const char shades[] = {'\xDB', '\xB0', '\xB1', '\xB2', ' ', ' ', '-', '=', 'a', 'x'};
    std::mt19937 random(seed);
    std::string out;
    out.reserve(bytes + 80);
    while (out.size() < bytes) {
        for (int column = 0; column < 76; ++column) {
            out.push_back(shades[random() % sizeof(shades)]);
        }
        out.append("\r\n");
    }
    out.resize(bytes);
    return out;
}

// 668 890 bytes pasted into a 1 MB document, then undone and redone; one round is one undo
// and one redo.
void BM_PasteUndoRedoSoak(benchmark::State& state) {
    const int rounds = static_cast<int>(state.range(0));
    long reference = 0;
    long last = 0;
    for (auto _ : state) {
        tavrel::TextEngine engine;
        engine.setUndoMaxSpace(0); // keep the paste undoable whatever its size
        engine.loadBytes(artLines(1 << 20, 1));
        const std::string paste = artLines(668890, 2);
        engine.setSelStart(engine.charCount() / 2);
        engine.setSelText(std::string(paste));
        reference = residentKb();
        std::printf("%8s %14s %14s %8s\n", "rounds", "resident KB", "reference KB", "ratio");
        for (int round = 1; round <= rounds; ++round) {
            engine.undo();
            engine.redo();
            if (round % 100 == 0) {
                last = residentKb();
                std::printf("%8d %14ld %14ld %8.2f\n", round, last, reference,
                            static_cast<double>(last) / static_cast<double>(reference));
            }
        }
        std::fflush(stdout);
        benchmark::DoNotOptimize(engine.charCount());
    }
    state.counters["resident_KB"] = static_cast<double>(last);
    state.counters["reference_KB"] = static_cast<double>(reference);
    state.counters["ratio"] = static_cast<double>(last) / static_cast<double>(reference);
}
BENCHMARK(BM_PasteUndoRedoSoak)->Arg(1000)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
