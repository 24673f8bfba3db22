#pragma once
// Runs the registered Google benchmarks with interleaved repetitions (the machine is shared,
// and a slow stretch should not fall on one variant only) and keeps each run's real and
// processor time per iteration, so a program can print medians after the table.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

class MedianReporter : public benchmark::ConsoleReporter {
public:
    MedianReporter() : ConsoleReporter(OO_Tabular) {}
    std::map<std::string, std::vector<double>> real, cpu;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs) {
            if (r.run_type != Run::RT_Iteration || r.error_occurred) continue;
            real[r.run_name.function_name].push_back(r.GetAdjustedRealTime());
            cpu[r.run_name.function_name].push_back(r.GetAdjustedCPUTime());
        }
        ConsoleReporter::ReportRuns(runs);
    }
    // The median of a benchmark's times; 0 when it has none.
    static double Median(const std::map<std::string, std::vector<double>>& times,
                         const std::string& name) {
        auto it = times.find(name);
        if (it == times.end() || it->second.empty()) return 0;
        std::vector<double> v = it->second;
        std::sort(v.begin(), v.end());
        const std::size_t n = v.size();
        return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
    }
};

// Runs every registered benchmark, `repetitions` times interleaved unless the command line
// says otherwise, into the reporter. False for an unknown argument.
inline bool RunInterleaved(int argc, char** argv, int repetitions, MedianReporter& reporter) {
    auto given = [&](const char* prefix) {
        for (int i = 1; i < argc; ++i)
            if (std::strncmp(argv[i], prefix, std::strlen(prefix)) == 0) return true;
        return false;
    };
    std::vector<char*> args(argv, argv + argc);
    std::string reps = "--benchmark_repetitions=" + std::to_string(repetitions);
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    if (!given("--benchmark_repetitions")) args.push_back(reps.data());
    if (!given("--benchmark_enable_random_interleaving")) args.push_back(interleave.data());
    int n = int(args.size());
    benchmark::Initialize(&n, args.data());
    if (benchmark::ReportUnrecognizedArguments(n, args.data())) return false;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return true;
}
