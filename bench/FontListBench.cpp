// The font list against its peer: filling our font combo box from this machine's fonts versus
// constructing Qt's own font combo box, which fills itself from the same font database.
#include "components/kxFontCombobox.h"

#include <QApplication>
#include <QFontComboBox>
#include <QFontDatabase>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>

namespace {

void BM_FillFontList(benchmark::State &state)
{
    TkxFontComboBox combo;
    for (auto _ : state) {
        combo.FillFontList();
        benchmark::DoNotOptimize(combo.count());
    }
    state.counters["entries"] = combo.count();
}
BENCHMARK(BM_FillFontList)->Unit(benchmark::kMicrosecond);

// The whole control: construction (with its preview window) plus the fill.
void BM_NewFontComboAndFill(benchmark::State &state)
{
    for (auto _ : state) {
        TkxFontComboBox combo;
        combo.FillFontList();
        benchmark::DoNotOptimize(combo.count());
    }
}
BENCHMARK(BM_NewFontComboAndFill)->Unit(benchmark::kMicrosecond);

void BM_PeerQFontComboBox(benchmark::State &state)
{
    int entries = 0;
    for (auto _ : state) {
        QFontComboBox combo;
        entries = combo.count();
        benchmark::DoNotOptimize(entries);
    }
    state.counters["entries"] = entries;
}
BENCHMARK(BM_PeerQFontComboBox)->Unit(benchmark::kMicrosecond);

// Prints the usual table and remembers each benchmark's time per iteration for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs)
            Times[run.benchmark_name()] = run.GetAdjustedRealTime();
    }

    void PrintRatio(const std::string &ours, const std::string &peer) const
    {
        const auto a = Times.find(ours);
        const auto b = Times.find(peer);
        if (a == Times.end() || b == Times.end() || b->second <= 0)
            return;
        std::printf("%s %.1f us vs %s %.1f us: ratio %.3f (below 1 means we are faster)\n", ours.c_str(),
                    a->second, peer.c_str(), b->second, a->second / b->second);
    }

private:
    std::map<std::string, double> Times;
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    // Both sides read the same font database; scan it once before timing either.
    QFontDatabase::families();

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("BM_FillFontList", "BM_PeerQFontComboBox");
    reporter.PrintRatio("BM_NewFontComboAndFill", "BM_PeerQFontComboBox");
    benchmark::Shutdown();
    return 0;
}
