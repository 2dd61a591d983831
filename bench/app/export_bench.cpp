// Exporting a whole corpus file from the command line: "tavrel --export-gif" (in this process,
// and as a process of its own, start-up included) beside ansilove rendering the same file to
// PNG. The file is the largest of the corpus that one GIF image can hold at the default font;
// larger ones are refused by the format's 65535-pixel limit. ansilove is a reference, not a
// like-for-like peer: it draws its own 8 x 16 font, so both pixel rates are printed too.
#include "app/export_command_line.h"
#include "app/export_load.h"
#include "app/export_render.h"
#include "app/gif_export_files.h"
#include "app/settings_catalogue.h"
#include "app/viewer_setup.h"
#include "editor/qt/text_editor.h"

#include "support/ratio_reporter.h"

#include <QApplication>
#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Subject {
    fs::path file;
    tavrel::DocumentImageSize size;
    fs::path largest; // the largest corpus file, when it is refused
    tavrel::DocumentImageSize largestSize;
};

Subject subject;
fs::path scratch;
QString ansilove;

// Per-run figures of the spawned programs, for the lines after the table.
struct ProcessFigures {
    double childCpuSeconds = 0;
    double pixels = 0;
    double fileBytes = 0;
};
std::map<std::string, ProcessFigures> figures;

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

tavrel::DocumentImageSize measure(const fs::path& file) {
    tavrel::TextEditor editor;
    const tavrel::AppSettings defaults;
    tavrel::applyViewerSettings(editor, defaults);
    tavrel::setExportWrap(editor, 0);
    std::string error;
    if (!tavrel::loadForExport(editor.engine(), file.string(), defaults, 0, error)) {
        throw std::runtime_error(error);
    }
    return tavrel::measureDocumentImage(editor);
}

// The largest corpus file whose image fits, and the largest of all when that one does not.
Subject chooseSubject() {
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(TAVREL_CORPUS_DIR)) {
        if (entry.is_regular_file() && entry.path().filename() != "SOURCES.md") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end(), [](const fs::path& a, const fs::path& b) {
        return fs::file_size(a) > fs::file_size(b);
    });
    Subject s;
    for (const fs::path& file : files) {
        const tavrel::DocumentImageSize size = measure(file);
        if (size.fitsGif()) {
            s.file = file;
            s.size = size;
            break;
        }
        if (s.largest.empty()) {
            s.largest = file;
            s.largestSize = size;
        }
    }
    return s;
}

double childCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// PNG keeps width and height big-endian at bytes 16 and 20.
double pngPixels(const fs::path& png) {
    const std::string bytes = readAll(png);
    if (bytes.size() < 24) {
        return 0;
    }
    const auto word = [&bytes](std::size_t at) {
        double v = 0;
        for (std::size_t i = at; i < at + 4; ++i) {
            v = v * 256 + static_cast<unsigned char>(bytes[i]);
        }
        return v;
    };
    return word(16) * word(20);
}

void BM_TavrelExportInProcess(benchmark::State& state) {
    const std::string target = (scratch / "inprocess.gif").string();
    const tavrel::GifExportRequest request{target, "", {subject.file.string()}, 0};
    for (auto _ : state) {
        std::ostringstream out;
        std::ostringstream err;
        tavrel::ExportStreams streams{out, err, "tavrel"};
        if (tavrel::exportGifFiles(request, tavrel::AppSettings{}, {}, streams) != 0) {
            state.SkipWithError(err.str().c_str());
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * subject.size.width * subject.size.height);
    state.counters["file_bytes"] = static_cast<double>(fs::file_size(target));
}
BENCHMARK(BM_TavrelExportInProcess)->Unit(benchmark::kMillisecond);

// Runs a program once per iteration and keeps its CPU time (the children's, not ours).
void timeProcess(benchmark::State& state, const char* name, const QString& program,
                 const QStringList& arguments, const fs::path& output) {
    const double cpuBefore = childCpuSeconds();
    for (auto _ : state) {
        if (QProcess::execute(program, arguments) != 0) {
            state.SkipWithError((std::string(name) + " failed").c_str());
            return;
        }
    }
    ProcessFigures& f = figures[name];
    f.childCpuSeconds = (childCpuSeconds() - cpuBefore) / static_cast<double>(state.iterations());
    f.fileBytes = static_cast<double>(fs::file_size(output));
    state.counters["child_cpu_ms"] = f.childCpuSeconds * 1000;
    state.counters["file_bytes"] = f.fileBytes;
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(f.pixels));
}

void BM_TavrelExportProcess(benchmark::State& state) {
    const fs::path target = scratch / "process.gif";
    figures["tavrel"].pixels = static_cast<double>(subject.size.width * subject.size.height);
    timeProcess(state, "tavrel", QCoreApplication::applicationFilePath(),
                {QStringLiteral("--export-gif"), QString::fromStdString(target.string()),
                 QString::fromStdString(subject.file.string())},
                target);
}
BENCHMARK(BM_TavrelExportProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_AnsilovePng(benchmark::State& state) {
    if (ansilove.isEmpty()) {
        state.SkipWithError("ansilove is not installed (apt-get install ansilove)");
        return;
    }
    const fs::path target = scratch / "ansilove.png";
    QProcess::execute(ansilove, {QStringLiteral("-q"), QStringLiteral("-o"),
                                 QString::fromStdString(target.string()),
                                 QString::fromStdString(subject.file.string())});
    figures["ansilove"].pixels = pngPixels(target);
    timeProcess(state, "ansilove", ansilove,
                {QStringLiteral("-q"), QStringLiteral("-o"),
                 QString::fromStdString(target.string()),
                 QString::fromStdString(subject.file.string())},
                target);
}
BENCHMARK(BM_AnsilovePng)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    // Spawned by BM_TavrelExportProcess: this program is then the export's command line.
    if (const int status = tavrel::runExportCommandLine(argc, argv); status >= 0) {
        return status;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }

    subject = chooseSubject();
    if (subject.file.empty()) {
        std::printf("No corpus file at %s fits one GIF image.\n", TAVREL_CORPUS_DIR);
        return 1;
    }
    scratch = fs::temp_directory_path() / "tavrel_bench_gif_export";
    fs::create_directories(scratch);
    ansilove = QStandardPaths::findExecutable(QStringLiteral("ansilove"));
    std::printf("File: %s, %lld bytes, exported as %lld x %lld pixels\n",
                subject.file.string().c_str(), static_cast<long long>(fs::file_size(subject.file)),
                static_cast<long long>(subject.size.width),
                static_cast<long long>(subject.size.height));
    if (!subject.largest.empty()) {
        std::printf("(The largest corpus file, %s, would need %lld x %lld pixels: refused.)\n",
                    subject.largest.string().c_str(),
                    static_cast<long long>(subject.largestSize.width),
                    static_cast<long long>(subject.largestSize.height));
    }
    if (ansilove.isEmpty()) {
        std::printf("ansilove was not found: measuring our side only. Install it with "
                    "apt-get install ansilove (or TAVREL_BENCH_PEERS=1 scripts/setup).\n");
    }

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const auto& t = reporter.times;
    if (t.count("BM_TavrelExportProcess") != 0 && t.count("BM_AnsilovePng") != 0) {
        const ProcessFigures& ours = figures["tavrel"];
        const ProcessFigures& theirs = figures["ansilove"];
        const double ourMs = t.at("BM_TavrelExportProcess").real;
        const double theirMs = t.at("BM_AnsilovePng").real;
        std::printf("\nwhole command, same file     tavrel GIF %9.1f ms   ansilove PNG %9.1f ms   "
                    "ratio %.3f\n",
                    ourMs, theirMs, ourMs / theirMs);
        std::printf("CPU of the command           tavrel GIF %9.1f ms   ansilove PNG %9.1f ms   "
                    "ratio %.3f\n",
                    ours.childCpuSeconds * 1000, theirs.childCpuSeconds * 1000,
                    ours.childCpuSeconds / theirs.childCpuSeconds);
        std::printf("pixels written               tavrel GIF %9.0f      ansilove PNG %9.0f\n",
                    ours.pixels, theirs.pixels);
        std::printf("time per megapixel           tavrel GIF %9.2f ms   ansilove PNG %9.2f ms   "
                    "ratio %.3f\n",
                    ourMs / ours.pixels * 1e6, theirMs / theirs.pixels * 1e6,
                    (ourMs / ours.pixels) / (theirMs / theirs.pixels));
        std::printf("file size                    tavrel GIF %9.0f B    ansilove PNG %9.0f B    "
                    "ratio %.3f\n",
                    ours.fileBytes, theirs.fileBytes, ours.fileBytes / theirs.fileBytes);
    }
    fs::remove_all(scratch);
    return 0;
}
