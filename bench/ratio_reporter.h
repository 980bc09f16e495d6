#pragma once
// Prints, after the usual table, every benchmark's CPU time per iteration as a multiple of a
// baseline measured in the same run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace vs::bench {

class RatioReporter final : public benchmark::ConsoleReporter {
  public:
    RatioReporter(std::string baseline, std::string heading)
        : baseline_(std::move(baseline)), heading_(std::move(heading)) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& r : runs) {
            if (r.run_type == Run::RT_Iteration && r.iterations > 0)
                times_[r.benchmark_name()] = r.GetAdjustedCPUTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        auto base = times_.find(baseline_);
        if (base == times_.end() || base->second <= 0) return;
        std::printf("\n%s (CPU time ratio, lower is faster):\n", heading_.c_str());
        for (const auto& [name, t] : times_) {
            if (name != baseline_)
                std::printf("  %-28s %7.2f x %s\n", name.c_str(), t / base->second,
                            baseline_.c_str());
        }
    }

  private:
    std::string baseline_, heading_;
    std::map<std::string, double> times_;
};

// A benchmark program's main: runs everything, then prints the ratios.
inline int runWithRatios(int argc, char** argv, const std::string& baseline,
                         const std::string& heading) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter(baseline, heading);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

}  // namespace vs::bench
