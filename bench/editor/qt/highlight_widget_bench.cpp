// The first screen of a 100 MB file with highlighting on (addresses and 100 keywords) against
// the same with highlighting off, in one run: highlighting only scans what is painted, so the
// two should be within a tenth of each other.
#include <benchmark/benchmark.h>

#include <QApplication>

#include <algorithm>
#include <random>
#include <string>

#include "editor/qt/text_editor.h"
#include "support/floor.h"

namespace {

using tavrel::bench::Clock;
using tavrel::bench::secondsSince;

// 100 MB of prose lines with an address in every fourth line.
const std::string& text() {
    static const std::string bytes = [] {
        std::mt19937 random(5);
        std::string out;
        out.reserve(101'000'000);
        for (std::size_t line = 0; out.size() < 100'000'000; ++line) {
            if (line % 4 == 0) {
                out += "see www.example" + std::to_string(line % 1000) + ".org or mail x@y.org ";
            }
            while (out.size() % 80 < 70) {
                out += static_cast<char>('a' + random() % 26);
                out += random() % 6 == 0 ? " " : "";
            }
            out += "\r\n";
        }
        return out;
    }();
    return bytes;
}

double firstScreen(bool highlighting) {
    tavrel::TextEditor editor;
    tavrel::UrlHighlighter urls;
    editor.resize(800, 600);
    if (highlighting) {
        editor.highlights().setAddressHighlighter(&urls);
        for (int i = 0; i < 100; ++i) {
            editor.highlights().keywords().addKeyword("kw" + std::to_string(i),
                                                      tavrel::koWholeWords, 0xFF00, 0, 0, 1, 0);
        }
    }
    std::string bytes = text();
    const auto start = Clock::now();
    editor.engine().loadBytes(std::move(bytes));
    benchmark::DoNotOptimize(editor.renderViewport().width());
    return secondsSince(start);
}

void BM_FirstScreen100MB(benchmark::State& state) {
    double on = 1e9;
    double off = 1e9;
    for (auto _ : state) {
        off = std::min(off, firstScreen(false));
        on = std::min(on, firstScreen(true));
        state.SetIterationTime(on);
    }
    state.counters["on_ms"] = on * 1e3;
    state.counters["off_ms"] = off * 1e3;
    state.counters["ratio"] = on / off; // target: at most 1.1
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
