#pragma once

#include <benchmark/benchmark.h>

#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace kobrix {

// Prints as usual and remembers each benchmark's time per iteration, so that a program can
// print "ours / plain" ratios of benchmarks that ran in the same process.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
                times_[run.benchmark_name()] =
                    run.real_accumulated_time / static_cast<double>(run.iterations);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void PrintRatio(const std::string& ours, const std::string& plain) const {
        const auto a = times_.find(ours), b = times_.find(plain);
        if (a == times_.end() || b == times_.end() || b->second <= 0) return;
        std::cout << ours << " / " << plain << " = " << a->second / b->second << "\n";
    }

private:
    std::map<std::string, double> times_;
};

}  // namespace kobrix
