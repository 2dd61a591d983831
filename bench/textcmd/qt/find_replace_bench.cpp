// Find and replace on big documents: Replace All through the path the dialog takes (the
// finder on the window's editor control, shown, word-wrapped, with the window's 100 kB undo
// limit) beside the bare engine's own search-and-replace loop on the same text, and a search
// that finds nothing in a 1 GB document beside the engine's search and a memchr scan.
// TAVREL_BENCH_BIG_MB sets the size of the big document (default 1024).
#include "editor/qt/text_editor.h"
#include "editor/text_engine.h"
#include "textcmd/find_replace.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>

#include "support/floor.h"

namespace {

using tavrel::Pos;
using tavrel::bench::Clock;
using tavrel::bench::secondsSince;

constexpr Pos kWindowUndoSpace = 100000; // the main window's undo limit

// Processor seconds of this process: on a machine shared with other work the wall clock
// counts their time too, so both are printed.
double cpuSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

// `lines` 80-column lines of block art with CR LF breaks; four lines in five hold one 'a'.
std::string artText(std::size_t lines) {
    const char shades[] = {'\xDB', '\xB0', '\xB1', '\xB2', '\xDC', '\xDF', ' ', ' ', '-', '='};
    std::mt19937 random(42);
    std::string out;
    out.reserve(lines * 82);
    for (std::size_t line = 0; line < lines; ++line) {
        const std::size_t start = out.size();
        for (int column = 0; column < 80; ++column) {
            out.push_back(shades[random() % sizeof(shades)]);
        }
        if (line % 5 != 4) {
            out[start + random() % 80] = 'a';
        }
        out.append("\r\n");
    }
    return out;
}

// 100 MB, about a million replacements of "a".
const std::string& hundredMegabytes() {
    static const std::string text = artText(1'250'000);
    return text;
}

double engineSeconds = 0;
double engineCpu = 0;

// The engine alone: search from the top, replace, search on from the caret, as the finder
// does, without a view to keep up to date.
void BM_EngineReplaceAll(benchmark::State& state) {
    Pos replacements = 0;
    for (auto _ : state) {
        tavrel::TextEngine e;
        e.setUndoMaxSpace(kWindowUndoSpace);
        e.loadBytes(std::string(hundredMegabytes()));
        replacements = 0;
        const double cpu = cpuSeconds();
        const auto start = Clock::now();
        for (bool found = e.searchText("a", true, true, false, false); found;
             found = e.searchText("a", true, false, false, false)) {
            e.setSelText("bb");
            ++replacements;
        }
        const double t = secondsSince(start);
        engineCpu = cpuSeconds() - cpu;
        engineSeconds = t;
        state.SetIterationTime(t);
    }
    state.counters["replacements"] = static_cast<double>(replacements);
}
BENCHMARK(BM_EngineReplaceAll)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

// The dialog's Replace All: the finder on a shown, word-wrapped editor control.
void BM_DialogReplaceAll(benchmark::State& state) {
    Pos undoSteps = 0;
    Pos undoSpace = 0;
    bool correct = false;
    double t = 0;
    double cpu = 0;
    for (auto _ : state) {
        tavrel::TextEditor editor;
        editor.resize(700, 500);
        editor.setWordWrap(true);
        editor.show();
        tavrel::TextEngine& e = editor.engine();
        e.setUndoMaxSpace(kWindowUndoSpace);
        e.loadBytes(std::string(hundredMegabytes()));
        QApplication::processEvents();
        tavrel::FindReplace finder(e);
        finder.setFindText("a");
        finder.setReplaceText("bb");
        finder.options.replaceAll = true;
        const double cpuStart = cpuSeconds();
        const auto start = Clock::now();
        finder.replace();
        QApplication::processEvents(); // the repaint the user waits for
        t = secondsSince(start);
        cpu = cpuSeconds() - cpuStart;
        state.SetIterationTime(t);
        undoSteps = e.undoList().undoCount();
        undoSpace = e.undoList().usedSpace();
        correct = e.paragraphs().text().find('a') == std::string::npos;
    }
    if (!correct) {
        state.SkipWithError("an 'a' was left");
        return;
    }
    state.counters["target_s"] = 2;
    state.counters["undo_steps_kept"] = static_cast<double>(undoSteps);
    state.counters["undo_bytes_kept"] = static_cast<double>(undoSpace); // limit 100000
    state.counters["cpu_s"] = cpu;
    std::printf("Replace All of 1M hits in 100 MB, dialog path beside the engine loop (target: "
                "under 2 s):\n  real %.3f s / %.3f s = %.2f   cpu %.3f s / %.3f s = %.2f\n",
                t, engineSeconds, engineSeconds > 0 ? t / engineSeconds : -1.0, cpu, engineCpu,
                engineCpu > 0 ? cpu / engineCpu : -1.0);
}
BENCHMARK(BM_DialogReplaceAll)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

// A text that is nowhere in a big document: the dialog's Find Next beside the engine's own
// search and a memchr scan of the same bytes.
void BM_NotFoundInBigDocument(benchmark::State& state) {
    const char* env = std::getenv("TAVREL_BENCH_BIG_MB");
    const std::size_t megabytes = env != nullptr ? std::strtoul(env, nullptr, 10) : 1024;
    const std::size_t lines = megabytes * 1024 * 1024 / 82;
    tavrel::TextEngine e;
    std::string text = artText(lines);
    const auto scanStart = Clock::now();
    benchmark::DoNotOptimize(tavrel::bench::countLineFeeds(text));
    const double scan = secondsSince(scanStart);
    e.loadBytes(std::move(text));
    tavrel::FindReplace finder(e);
    finder.setFindText("Zebra");
    double dialog = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        const tavrel::FindOutcome outcome = finder.dialogFind();
        dialog = secondsSince(start);
        state.SetIterationTime(dialog);
        if (outcome != tavrel::FindOutcome::NotFound) {
            state.SkipWithError("found what is not there");
            return;
        }
    }
    const auto start = Clock::now();
    const bool found = e.searchText("Zebra", true, true, false, false);
    const double engine = secondsSince(start);
    benchmark::DoNotOptimize(found);
    state.counters["megabytes"] = static_cast<double>(megabytes);
    state.counters["engine_s"] = engine;
    state.counters["memchr_s"] = scan;
    std::printf("Not found in %zu MB: dialog %.3f s, engine %.3f s (ratio %.2f), memchr scan "
                "%.3f s (ratio %.2f); target: well under 1 s\n",
                megabytes, dialog, engine, dialog / engine, scan, dialog / scan);
}
BENCHMARK(BM_NotFoundInBigDocument)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

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
