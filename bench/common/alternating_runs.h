#pragma once
// Runs every registered benchmark once per round for several rounds, so that the cases alternate instead of one
// case's repetitions following each other, and gives each case's median real time (nanoseconds per iteration) and
// median counters. Header only: each bench includes it beside Google Benchmark.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace benchrun {

struct TMedians {
    double Nanoseconds = 0;
    std::map<std::string, double> Counters;
};

class TCollector : public benchmark::BenchmarkReporter {
public:
    bool ReportContext(const Context&) override { return true; }
    void ReportRuns(const std::vector<Run>& AReports) override
    {
        for (const Run& run : AReports) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
            const std::string name = run.benchmark_name();
            if (std::find(Order.begin(), Order.end(), name) == Order.end()) Order.push_back(name);
            Times[name].push_back(run.GetAdjustedRealTime() *
                                  (run.time_unit == benchmark::kNanosecond    ? 1.0
                                   : run.time_unit == benchmark::kMicrosecond ? 1e3
                                   : run.time_unit == benchmark::kMillisecond ? 1e6
                                                                              : 1e9));
            for (const auto& [counter, value] : run.counters) Counters[name][counter].push_back(value);
        }
    }
    std::vector<std::string> Order;
    std::map<std::string, std::vector<double>> Times;
    std::map<std::string, std::map<std::string, std::vector<double>>> Counters;
};

inline double Median(std::vector<double> AValues)
{
    if (AValues.empty()) return 0;
    std::sort(AValues.begin(), AValues.end());
    const size_t middle = AValues.size() / 2;
    return AValues.size() % 2 ? AValues[middle] : (AValues[middle - 1] + AValues[middle]) / 2;
}

// Runs ARounds rounds of every benchmark the command line selects and prints a table of the medians; the caller
// prints its ratios after it.
inline std::map<std::string, TMedians> RunAlternating(int ARounds)
{
    TCollector collector;
    for (int round = 0; round < ARounds; ++round) benchmark::RunSpecifiedBenchmarks(&collector);
    std::map<std::string, TMedians> medians;
    std::printf("%-36s %14s   (median of %d alternating runs)\n", "benchmark", "time", ARounds);
    for (const std::string& name : collector.Order) {
        TMedians& m = medians[name];
        m.Nanoseconds = Median(collector.Times[name]);
        std::printf("%-36s %11.1f us", name.c_str(), m.Nanoseconds / 1e3);
        for (const auto& [counter, values] : collector.Counters[name]) {
            m.Counters[counter] = Median(values);
            std::printf("   %s=%.1f", counter.c_str(), m.Counters[counter]);
        }
        std::printf("\n");
    }
    return medians;
}

inline double Ratio(const std::map<std::string, TMedians>& AMedians, const std::string& ATop, const std::string& ABottom)
{
    const auto top = AMedians.find(ATop);
    const auto bottom = AMedians.find(ABottom);
    if (top == AMedians.end() || bottom == AMedians.end() || bottom->second.Nanoseconds <= 0) return 0;
    return top->second.Nanoseconds / bottom->second.Nanoseconds;
}

}  // namespace benchrun
