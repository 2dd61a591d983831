// Opening a 1 GB file in the window (offscreen): the time until the window shows, until it has
// painted the file's first text and until the whole document is shown, and the peak resident
// size, for the load made before the window showed (all on one thread, as it was) and for the
// load on a worker thread while the window shows at once. Each figure is the median of three runs,
// with their minimum and maximum.
#include <benchmark/benchmark.h>

#include "app/main_window.h"
#include "editor/qt/text_editor.h"
#include "support/floor.h"
#include "support/resident_size.h"

#include <QApplication>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

using tavrel::bench::Clock;
using tavrel::bench::secondsSince;

// 1 GB of 80-column lines ending in CR LF, in a folder of this run's own.
class BigFile {
public:
    BigFile() {
        char pattern[] = "/tmp/tavrel-open-bench-XXXXXX";
        folder_ = ::mkdtemp(pattern);
        path_ = folder_ + "/big.nfo";
        std::string block;
        for (int i = 0; block.size() < (1u << 20); ++i) {
            std::string line = "Line " + std::to_string(i) + " of the benchmark's file, ";
            line.resize(78, '.');
            block += line + "\r\n";
        }
        std::ofstream out(path_, std::ios::binary);
        for (std::size_t written = 0; written < (1024u << 20); written += block.size()) {
            out.write(block.data(), static_cast<std::streamsize>(block.size()));
        }
    }
    ~BigFile() { std::filesystem::remove_all(folder_); }
    BigFile(const BigFile&) = delete;
    BigFile& operator=(const BigFile&) = delete;
    [[nodiscard]] const std::string& path() const noexcept { return path_; }

private:
    std::string folder_;
    std::string path_;
};

const BigFile& bigFile() {
    static const BigFile file;
    return file;
}

void openFile(benchmark::State& state, bool inBackground) {
    const std::string& path = bigFile().path();
    for (auto _ : state) {
        tavrel::bench::resetPeakRss();
        tavrel::MainWindowSetup setup;
        setup.locations.programFolder = TAVREL_BINARY_DIR "/bin/";
        setup.commandLineFile = path;
        setup.starting = [] { return false; };
        if (!inBackground) {
            setup.backgroundLoadBytes = std::numeric_limits<std::uint64_t>::max();
        }
        const auto start = Clock::now();
        auto window = std::make_unique<tavrel::MainWindow>(std::move(setup));
        window->show();
        QApplication::processEvents();
        const double shown = secondsSince(start);
        // Sleeps between events, as the program's own event loop does: a busy poll here
        // would take the worker's core on a two-core machine. The first text is the file's
        // first screen while the rest loads, or the whole document when none came first.
        while (window->isLoading() && window->firstPieceEditor() == nullptr) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        tavrel::TextEditor* first = window->firstPieceEditor();
        (first != nullptr ? first : &window->editor())->viewport()->repaint();
        const double firstText = secondsSince(start);
        while (window->isLoading()) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        window->editor().viewport()->repaint();
        const double complete = secondsSince(start);
        state.SetIterationTime(firstText);
        state.counters["window_s"] = shown;
        state.counters["first_text_s"] = firstText;
        state.counters["complete_s"] = complete;
        state.counters["peak_MB"] = static_cast<double>(tavrel::bench::peakRssKb()) / 1024.0;
        if (window->fileName() != path) {
            state.SkipWithError("the file was not loaded");
        }
        window.reset();
    }
    state.SetLabel("1 GB, 80-column CR LF lines");
}

void BM_OpenBeforeWindow(benchmark::State& state) {
    openFile(state, false);
}
void BM_OpenBehindWindow(benchmark::State& state) {
    openFile(state, true);
}

// One run a benchmark, repeated three times: the median with the minimum and maximum.
void registerOpen(const char* name, void (*run)(benchmark::State&)) {
    benchmark::RegisterBenchmark(name, run)
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(3)
        ->ComputeStatistics(
            "min",
            [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); })
        ->ComputeStatistics(
            "max",
            [](const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); })
        ->Unit(benchmark::kMillisecond);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    registerOpen("BM_OpenBeforeWindow", BM_OpenBeforeWindow);
    registerOpen("BM_OpenBehindWindow", BM_OpenBehindWindow);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
