// A file manager's thumbnail of a typical corpus NFO, the whole command in a process of its
// own as a file manager starts it ("tavrel --thumbnail 128 FILE OUT.png"), beside the same
// file's "--export-png" (the whole picture, which the thumbnail reuses). Both run the built
// program with a settings folder of their own and no display.
#include "support/ratio_reporter.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

const std::string kProgram = TAVREL_BINARY_DIR "/bin/tavrel";
const std::string kFile = TAVREL_CORPUS_DIR "/nfo/emerge.nfo";
fs::path scratch;

// Runs the program to its end; false when it could not be started or failed.
bool run(const std::vector<std::string>& arguments) {
    std::vector<char*> argv{const_cast<char*>(kProgram.c_str())};
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int started =
        posix_spawn(&child, kProgram.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    return started == 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

// The processor time the finished children used so far, in milliseconds: on a busy machine
// the fairer figure, since the wall clock also counts the waits for a core.
double childrenCpuMs() {
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

std::map<std::string, double> childCpuPerCommand;

void measure(benchmark::State& state, const std::string& name,
             const std::vector<std::string>& arguments) {
    const double before = childrenCpuMs();
    for (auto _ : state) {
        if (!run(arguments)) {
            state.SkipWithError("the command failed");
            return;
        }
    }
    const double perCommand = (childrenCpuMs() - before) / static_cast<double>(state.iterations());
    state.counters["child_cpu_ms"] = perCommand;
    childCpuPerCommand[name] = perCommand;
}

void BM_ThumbnailProcess(benchmark::State& state) {
    measure(state, "thumbnail",
            {"--thumbnail", "128", kFile, (scratch / "thumbnail.png").string()});
}
BENCHMARK(BM_ThumbnailProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ExportPngProcess(benchmark::State& state) {
    measure(state, "export", {"--export-png", (scratch / "export.png").string(), kFile});
}
BENCHMARK(BM_ExportPngProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    char pattern[] = "/tmp/tavrel-thumbnail-bench.XXXXXX";
    if (::mkdtemp(pattern) == nullptr) {
        return 1;
    }
    scratch = pattern;
    // A new user's settings, and no display: as a file manager's sandbox runs it.
    ::setenv("XDG_CONFIG_HOME", (scratch / "config").c_str(), 1);
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
    ::unsetenv("QT_QPA_PLATFORM");
    std::printf("File: %s, %llu bytes\n", kFile.c_str(),
                static_cast<unsigned long long>(fs::file_size(kFile)));

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    fs::remove_all(scratch);

    const auto& t = reporter.times;
    if (t.count("BM_ThumbnailProcess") != 0 && t.count("BM_ExportPngProcess") != 0) {
        const double thumbnail = t.at("BM_ThumbnailProcess").real;
        const double exported = t.at("BM_ExportPngProcess").real;
        std::printf("\nwhole command, real time     thumbnail %7.1f ms   --export-png %7.1f ms   "
                    "ratio %.3f   (target: thumbnail under 50 ms)\n",
                    thumbnail, exported, thumbnail / exported);
        const double thumbnailCpu = childCpuPerCommand["thumbnail"];
        const double exportCpu = childCpuPerCommand["export"];
        std::printf("whole command, processor    thumbnail %7.1f ms   --export-png %7.1f ms   "
                    "ratio %.3f   (last run)\n",
                    thumbnailCpu, exportCpu, thumbnailCpu / exportCpu);
    }
    return 0;
}
