#pragma once
// What the benchmarks share: a reporter that keeps every benchmark's CPU time per iteration so
// that ratios against the peer can be printed after the usual table.

#include <benchmark/benchmark.h>
#include <map>
#include <optional>
#include <string>

namespace bench {

// With --benchmark_repetitions the median of the repetitions is kept: it is reported after the
// single runs and replaces them. CPU time, because the machine may be busy with other work.
class TTimesReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if ((run.run_type == Run::RT_Iteration && run.iterations > 0) || run.aggregate_name == "median")
                FTimes[run.run_name.function_name] = run.GetAdjustedCPUTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // The kept time of a benchmark, in its own unit; none when it did not run.
    std::optional<double> Time(const std::string &name) const
    {
        const auto found = FTimes.find(name);
        return found == FTimes.end() ? std::nullopt : std::optional(found->second);
    }

private:
    std::map<std::string, double> FTimes;
};

} // namespace bench
