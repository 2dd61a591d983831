// The Unicode art check every load makes, on 100 MB documents, beside the floor of any scan
// (memchr counting line feeds) and the line-end repair the same load runs anyway: code page
// 437 art (the check stops at its first high byte), ASCII prose (one full read) and UTF-8
// art (decoded to code page 437 bytes).
#include <benchmark/benchmark.h>

#include "app/line_ends.h"
#include "support/floor.h"
#include "text/unicode_art.h"

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

using tavrel::bench::Clock;
using tavrel::bench::secondsSince;

constexpr std::size_t kTarget = 100'000'000;

// 80-column lines of block art from `cells`, LF line ends.
std::string lines(const std::vector<std::string>& cells) {
    std::mt19937 random(7);
    std::string out;
    out.reserve(kTarget + 1000);
    while (out.size() < kTarget) {
        for (int column = 0; column < 80; ++column) {
            out += cells[random() % cells.size()];
        }
        out += '\n';
    }
    return out;
}

void runDetection(benchmark::State& state, const std::string& text, bool decodes) {
    double ours = 1e9;
    double floor = 1e9;
    double repair = 1e9;
    for (auto _ : state) {
        std::string bytes = text;
        auto start = Clock::now();
        tavrel::DecodedText decoded = tavrel::decodeUnicodeArt(std::move(bytes));
        const double t = secondsSince(start);
        ours = std::min(ours, t);
        state.SetIterationTime(t);
        if ((decoded.form.encoding != tavrel::TextEncoding::Bytes) != decodes) {
            state.SkipWithError("the check decided otherwise than the document was made");
            return;
        }

        start = Clock::now();
        benchmark::DoNotOptimize(tavrel::bench::countLineFeeds(text));
        floor = std::min(floor, secondsSince(start));

        std::string unix = text;
        unix.reserve(text.size() + text.size() / 32 + 64);
        start = Clock::now();
        tavrel::repairLineEnds(unix);
        repair = std::min(repair, secondsSince(start));
    }
    state.counters["ours_ms"] = ours * 1e3;
    state.counters["memchr_ms"] = floor * 1e3;
    state.counters["repair_ms"] = repair * 1e3;
    state.counters["ratio_memchr"] = ours / floor;
    state.counters["ratio_repair"] = ours / repair;
}

void BM_DetectCp437Art100MB(benchmark::State& state) {
    static const std::string text =
        lines({"\xDB", "\xB0", "\xB1", "\xB2", "\xDC", "\xDF", " ", " ", "-", "="});
    runDetection(state, text, false);
}
BENCHMARK(BM_DetectCp437Art100MB)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_DetectAsciiProse100MB(benchmark::State& state) {
    static const std::string text = lines({"e", "t", "a", "o", " ", " ", "n", "s", ",", "."});
    runDetection(state, text, false);
}
BENCHMARK(BM_DetectAsciiProse100MB)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

// UTF-8 art: a third of the cells are three-byte box and block characters.
void BM_DecodeUtf8Art100MB(benchmark::State& state) {
    static const std::string text =
        lines({"\xE2\x96\x88", "\xE2\x96\x91", "\xE2\x95\x90", " ", " ", "-", "=", "o", "x"});
    runDetection(state, text, true);
}
BENCHMARK(BM_DecodeUtf8Art100MB)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
