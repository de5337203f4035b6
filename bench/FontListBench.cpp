// The font list against its peer: filling our font combo box from this machine's fonts versus
// constructing Qt's own font combo box, which fills itself from the same font database.
#include "BenchSupport.h"
#include "components/kxFontCombobox.h"

#include <QApplication>
#include <QFontComboBox>
#include <QFontDatabase>
#include <benchmark/benchmark.h>
#include <cstdio>
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

void PrintRatio(const bench::TTimesReporter &times, const std::string &ours, const std::string &peer)
{
    const auto a = times.Time(ours), b = times.Time(peer);
    if (a && b && *b > 0)
        std::printf("%s %.1f us vs %s %.1f us (CPU): ratio %.3f (below 1 means we are faster)\n",
                    ours.c_str(), *a, peer.c_str(), *b, *a / *b);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    // Both sides read the same font database; scan it once before timing either.
    const auto families = static_cast<long long>(QFontDatabase::families().size());

    bench::TTimesReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("%lld font families installed (scripts/bench.sh installs 200 or more)\n", families);
    PrintRatio(reporter, "BM_FillFontList", "BM_PeerQFontComboBox");
    PrintRatio(reporter, "BM_NewFontComboAndFill", "BM_PeerQFontComboBox");
    benchmark::Shutdown();
    return 0;
}
