// The first screen of the 100 MB benchmark document (corpus prose and NFO art with addresses)
// with highlighting on (addresses and 100 of its words as keywords) against the same with
// highlighting off, in one run: highlighting only scans what is painted, so the
// two should be within a tenth of each other.
#include <benchmark/benchmark.h>

#include <QApplication>

#include <algorithm>
#include <string>
#include <vector>

#include "editor/qt/text_editor.h"
#include "support/floor.h"
#include "support/highlight_input.h"

namespace {

using tavrel::bench::Clock;
using tavrel::bench::secondsSince;

double firstScreen(bool highlighting) {
    tavrel::TextEditor editor;
    tavrel::UrlHighlighter urls;
    editor.resize(800, 600);
    if (highlighting) {
        editor.highlights().setAddressHighlighter(&urls);
        tavrel::bench::addKeywords(editor.highlights().keywords());
    }
    std::string bytes = tavrel::bench::benchText();
    const auto start = Clock::now();
    editor.engine().loadBytes(std::move(bytes));
    benchmark::DoNotOptimize(editor.renderViewport().width());
    return secondsSince(start);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Off and on alternate, so that a busy machine slows both alike; each round's ratio is kept
// for its spread.
void BM_FirstScreen100MB(benchmark::State& state) {
    std::vector<double> on;
    std::vector<double> off;
    std::vector<double> ratios;
    for (auto _ : state) {
        off.push_back(firstScreen(false));
        on.push_back(firstScreen(true));
        ratios.push_back(on.back() / off.back());
        state.SetIterationTime(on.back());
    }
    state.counters["on_ms"] = median(on) * 1e3;
    state.counters["off_ms"] = median(off) * 1e3;
    state.counters["ratio"] = median(ratios); // target: at most 1.1
    state.counters["ratio_min"] = *std::min_element(ratios.begin(), ratios.end());
    state.counters["ratio_max"] = *std::max_element(ratios.begin(), ratios.end());
    state.SetLabel("100 MB corpus prose and NFO art with addresses, 100 keywords");
}
BENCHMARK(BM_FirstScreen100MB)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
