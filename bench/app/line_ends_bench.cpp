// The line-end repair on 100 MB files, each figure beside its reference in the same run: a
// bare memchr scan for the line feeds of the same bytes (the floor) and the two
// find-and-replace passes written the plain way with std::string (the obvious peer).
#include <benchmark/benchmark.h>

#include "../../tests/app/line_ends_reference.h"
#include "app/line_ends.h"
#include "support/floor.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <random>
#include <string>

namespace {

using tavrel::bench::Clock;
using tavrel::bench::secondsSince;

// 100 MB of 80-column lines of block art ending in `lineEnd`; every tenth line ends in
// CR CR LF instead when `withRuns` is set.
std::string artText(const std::string& lineEnd, bool withRuns) {
    constexpr std::size_t kTarget = 100'000'000;
    const char shades[] = {'\xDB', '\xB0', '\xB1', '\xB2', '\xDC', '\xDF', ' ', ' ', '-', '='};
    std::mt19937 random(7);
    std::string out;
    out.reserve(kTarget + 1000);
    for (std::size_t line = 0; out.size() < kTarget; ++line) {
        for (int column = 0; column < 80; ++column) {
            out.push_back(shades[random() % sizeof(shades)]);
        }
        out += withRuns && line % 10 == 9 ? std::string("\r\r\n") : lineEnd;
    }
    return out;
}

void runRepair(benchmark::State& state, const std::string& text) {
    double ours = 1e9;
    double floor = 1e9;
    double peer = 1e9;
    for (auto _ : state) {
        // The file as read, with the spare room the reader reserves; the repair works in
        // place.
        std::string bytes;
        bytes.reserve(text.size() + text.size() / 32 + 64);
        bytes = text;
        auto start = Clock::now();
        tavrel::repairLineEnds(bytes);
        const double t = secondsSince(start);
        ours = std::min(ours, t);
        state.SetIterationTime(t);

        start = Clock::now();
        benchmark::DoNotOptimize(tavrel::bench::countLineFeeds(text));
        floor = std::min(floor, secondsSince(start));

        start = Clock::now();
        const std::string plain = tavrel::test::literalLineEndRepair(text);
        peer = std::min(peer, secondsSince(start));
        if (plain != bytes) {
            state.SkipWithError("the repair and the plain passes disagree");
            return;
        }
    }
    state.counters["ours_ms"] = ours * 1e3;
    state.counters["memchr_ms"] = floor * 1e3;
    state.counters["plain_ms"] = peer * 1e3;
    state.counters["ratio_memchr"] = ours / floor;
    state.counters["ratio_plain"] = ours / peer;
}

// A Unix file: every LF becomes CR LF, the string grows by one byte a line.
void BM_RepairUnix100MB(benchmark::State& state) {
    static const std::string text = artText("\n", false);
    runRepair(state, text);
}
BENCHMARK(BM_RepairUnix100MB)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

// A Windows file with CR CR LF runs on every tenth line: the string shrinks in place.
void BM_RepairRuns100MB(benchmark::State& state) {
    static const std::string text = artText("\r\n", true);
    runRepair(state, text);
}
BENCHMARK(BM_RepairRuns100MB)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

// A clean Windows file: one scan, nothing written.
void BM_RepairCleanCrLf100MB(benchmark::State& state) {
    static const std::string text = artText("\r\n", false);
    runRepair(state, text);
}
BENCHMARK(BM_RepairCleanCrLf100MB)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
