// Background wrap and typing at the sizes where cost could grow with the text: the longest
// wrap slice over 1 GB of text art (ordinary lines, and the same bytes as one paragraph),
// and a keystroke in the middle of an 889 MB paragraph. Each 1 GB case runs once, not in a
// loop: one run holds about 2.5 GB, and the machine is shared.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "editor/editor_highlights.h"
#include "editor/glyph_metrics.h"
#include "editor/text_engine.h"
#include "editor/url_highlighter.h"
#include "editor/wrapped_layout.h"
#include "support/floor.h"
#include "support/slice_timing.h"

namespace {

using tavrel::Pos;
using tavrel::bench::Clock;
using tavrel::bench::secondsSince;

using tavrel::bench::threadCpuSeconds;

// The screen's OEM font: every glyph 8 pixels wide; the wrap width of a 700-pixel window.
const tavrel::TableGlyphMetrics& oemMetrics() {
    static const tavrel::TableGlyphMetrics metrics = tavrel::TableGlyphMetrics::uniform(8, 12, 4);
    return metrics;
}
constexpr std::int64_t kWidth = 682;

// `bytes` of block art in words of 1 to 12 shades with single spaces between them; with
// `lineLength` > 0 a CR LF ends each line of about that many bytes, else it is one paragraph.
std::string artBytes(std::size_t bytes, std::size_t lineLength) {
    const char shades[] = {'\xDB', '\xB0', '\xB1', '\xB2', '\xDC', '\xDF', '-', '=', 'a', 'x'};
    std::mt19937 random(7);
    // A 1 MB pattern copied over the whole size: generating every byte would take longer
    // than what is measured.
    std::string unit;
    unit.reserve(1 << 20);
    std::size_t column = 0;
    while (unit.size() < (1u << 20)) {
        const std::size_t word = 1 + random() % 12;
        for (std::size_t i = 0; i < word; ++i) {
            unit.push_back(shades[random() % sizeof(shades)]);
        }
        column += word + 1;
        if (lineLength > 0 && column >= lineLength) {
            unit.append("\r\n");
            column = 0;
        } else {
            unit.push_back(' ');
        }
    }
    std::string out;
    out.reserve(bytes);
    while (out.size() + unit.size() <= bytes) {
        out += unit;
    }
    out.append(unit, 0, bytes - out.size());
    return out;
}

// The longest of the 25 ms slices that wrap the whole document; target: none over 25 ms.
void wrapInSlices(benchmark::State& state, std::string text, const char* what) {
    const double size = static_cast<double>(text.size());
    tavrel::Document doc;
    doc.load(std::move(text));
    tavrel::WrappedLayout layout(doc, oemMetrics());
    layout.setWrap(true, kWidth);
    tavrel::bench::SliceTimes t;
    for (auto _ : state) {
        t = tavrel::bench::formatInSlices(layout);
        state.SetIterationTime(t.total);
    }
    char label[160];
    std::snprintf(label, sizeof label, "%s: %.0f MB, %lld paragraphs, 8 px cells, %lld px wide",
                  what, size / 1e6, static_cast<long long>(doc.paragraphCount()),
                  static_cast<long long>(kWidth));
    state.SetLabel(label);
    state.counters["longest_slice_ms"] = t.longest * 1e3;
    state.counters["longest_slice_cpu_ms"] = t.longestCpu * 1e3;
    state.counters["total_cpu_ms"] = t.totalCpu * 1e3;
    state.counters["target_ms"] = 25;
    state.counters["slices"] = t.slices;
    state.counters["total_ms"] = t.total * 1e3;
    state.counters["display_lines"] = static_cast<double>(layout.knownLineCount());
    state.counters["MBps"] = size / t.total / 1e6;
}

void BM_WrapSlices1GB(benchmark::State& state) {
    wrapInSlices(state, artBytes(1'000'000'000, 80), "1 GB block art in 80-column lines");
}
BENCHMARK(BM_WrapSlices1GB)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_WrapSlices1GBOneParagraph(benchmark::State& state) {
    wrapInSlices(state, artBytes(1'000'000'000, 0), "1 GB block art as one paragraph");
}
BENCHMARK(BM_WrapSlices1GBOneParagraph)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// Typing in the middle of an 889 MB wrapped paragraph, with what a view asks after each key
// (the caret's display line and column). The first edit of a loaded paragraph gives it a
// buffer of its own and is reported apart; target: every later keystroke under 16 ms.
// `highlighted`: as in the window with highlighting on (the default), addresses and keywords
// attached and the paragraph's runs kept, as painting it first does (reported apart).
void keystrokeIn889MBParagraph(benchmark::State& state, bool highlighted) {
    constexpr std::size_t kSize = 889'000'000;
    tavrel::TextEngine engine;
    tavrel::WrappedLayout layout(engine.document(), oemMetrics());
    layout.setWrap(true, kWidth);
    engine.setLayout(&layout);
    tavrel::UrlHighlighter urls;
    tavrel::EditorHighlights highlights(engine);
    engine.loadBytes(artBytes(kSize, 0));
    layout.formatAll();
    if (highlighted) {
        engine.setSeparators(tavrel::kDefaultSeparators);
        highlights.setAddressHighlighter(&urls);
        for (const char* word : {"nfo", "release", "crack", "greets"}) {
            highlights.keywords().addKeyword(word, tavrel::koWholeWords, 0x00FF00, 0, 0, 1, 0);
        }
        highlights.reapplyKeywords();
        const auto scan = Clock::now();
        benchmark::DoNotOptimize(highlights.paragraphRuns(0).size());
        state.counters["first_scan_ms"] = secondsSince(scan) * 1e3;
    } else {
        highlights.setApplyKeywords(false);
    }
    const Pos middle = static_cast<Pos>(kSize / 2);
    engine.setSelStart(middle);
    auto start = Clock::now();
    engine.setSelText("x");
    benchmark::DoNotOptimize(engine.lines().caretLine());
    const double first = secondsSince(start);

    constexpr int kKeys = 20;
    std::vector<double> keys;
    std::vector<double> cpuKeys;
    for (auto _ : state) {
        for (int i = 0; i < kKeys; ++i) {
            start = Clock::now();
            const double cpu = threadCpuSeconds();
            engine.setSelText(i % 4 == 3 ? " " : "x");
            benchmark::DoNotOptimize(engine.lines().caretLine());
            benchmark::DoNotOptimize(engine.lines().caretColumn());
            keys.push_back(secondsSince(start));
            cpuKeys.push_back(threadCpuSeconds() - cpu);
        }
        state.SetIterationTime(keys.back());
    }
    std::sort(keys.begin(), keys.end());
    std::sort(cpuKeys.begin(), cpuKeys.end());
    // The same keys at the paragraph's end, where the document moves no bytes: what is left
    // is the layout's and the engine's share, which must not grow with the paragraph.
    engine.setSelStart(engine.document().charCount());
    std::vector<double> endKeys;
    for (int i = 0; i < kKeys; ++i) {
        const double cpu = threadCpuSeconds();
        engine.setSelText(i % 4 == 3 ? " " : "x");
        benchmark::DoNotOptimize(engine.lines().caretLine());
        benchmark::DoNotOptimize(engine.lines().caretColumn());
        endKeys.push_back(threadCpuSeconds() - cpu);
    }
    std::sort(endKeys.begin(), endKeys.end());
    state.counters["keystroke_at_end_cpu_median_ms"] = endKeys[endKeys.size() / 2] * 1e3;
    state.counters["keystroke_at_end_cpu_max_ms"] = endKeys.back() * 1e3;
    state.SetLabel("889 MB block art in one paragraph, wrapped at 682 px, 8 px cells");
    state.counters["first_edit_ms"] = first * 1e3;
    state.counters["keystroke_median_ms"] = keys[keys.size() / 2] * 1e3;
    state.counters["keystroke_max_ms"] = keys.back() * 1e3;
    state.counters["keystroke_cpu_median_ms"] = cpuKeys[cpuKeys.size() / 2] * 1e3;
    state.counters["keystroke_cpu_max_ms"] = cpuKeys.back() * 1e3;
    state.counters["target_ms"] = 16;
    state.counters["display_lines"] = static_cast<double>(layout.knownLineCount());
    if (highlighted) {
        state.SetLabel("889 MB block art in one paragraph, wrapped at 682 px, 8 px cells, "
                       "addresses and 4 keywords highlighted");
    }
}
void BM_KeystrokeIn889MBParagraph(benchmark::State& state) {
    keystrokeIn889MBParagraph(state, false);
}
void BM_KeystrokeIn889MBParagraphHighlighted(benchmark::State& state) {
    keystrokeIn889MBParagraph(state, true);
}
BENCHMARK(BM_KeystrokeIn889MBParagraph)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeystrokeIn889MBParagraphHighlighted)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
