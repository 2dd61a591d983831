// The console reporter of the GIF benchmarks: Google Benchmark's table, plus each benchmark's
// time kept so that our figure and the peer's can be printed as a ratio after the table.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

struct Timing {
    double real = 0;
    double cpu = 0;
};

// Keeps each benchmark's time: the median when the run has repetitions, else the single
// result. Both clocks are kept: on a busy machine the CPU time is the fairer comparison.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            const std::string& name = run.run_name.function_name;
            if (!run.error_occurred &&
                (median || (run.run_type == Run::RT_Iteration && !medians_.count(name)))) {
                times[name] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
                if (median) {
                    medians_.insert(name);
                }
            }
        }
    }
    std::map<std::string, Timing> times;

private:
    std::set<std::string> medians_;
};

inline void printRatio(const char* what, const Timing& ours, const Timing& theirs,
                       const char* target) {
    std::printf("time  %-46s real %.3f  cpu %.3f%s\n", what, ours.real / theirs.real,
                ours.cpu / theirs.cpu, target);
}
