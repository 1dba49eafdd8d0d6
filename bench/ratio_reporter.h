#pragma once

#include <benchmark/benchmark.h>

#include <iostream>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace kobrix {

// Prints as usual and remembers each benchmark's time per iteration, so that a program can
// print "ours / plain" ratios of benchmarks that ran in the same process.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        // A single run gives its time; with repetitions the median stands for the benchmark.
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
                const double n = static_cast<double>(run.iterations);
                times_[run.benchmark_name()] = {run.real_accumulated_time / n,
                                                run.cpu_accumulated_time / n};
            } else if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                times_[run.run_name.str()] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // Wall-clock and CPU time ratios; on a busy machine the CPU figure is the steadier one.
    void PrintRatio(const std::string& ours, const std::string& plain) const {
        const auto a = times_.find(ours), b = times_.find(plain);
        if (a == times_.end() || b == times_.end() || b->second.real <= 0 || b->second.cpu <= 0) {
            return;
        }
        std::cout << ours << " / " << plain << " = " << a->second.real / b->second.real
                  << " (real), " << a->second.cpu / b->second.cpu << " (cpu)\n";
    }

    // CPU time per iteration as kept for the ratios (seconds for a single run); 0 when the
    // benchmark did not run.
    double CpuSeconds(const std::string& name) const {
        const auto it = times_.find(name);
        return it == times_.end() ? 0.0 : it->second.cpu;
    }

  private:
    struct Times {
        double real;
        double cpu;
    };
    std::map<std::string, Times> times_;
};

// A benchmark program's main: runs the benchmarks asked for, then prints "ours / plain" for
// each pair.
inline int RunBenchmarksWithRatios(int argc, char** argv,
                                   const std::vector<std::pair<std::string, std::string>>& pairs) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const auto& [ours, plain] : pairs) reporter.PrintRatio(ours, plain);
    benchmark::Shutdown();
    return 0;
}

}  // namespace kobrix
