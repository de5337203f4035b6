// Painting the month view at full-HD size: our multi-month calendar against Qt's one-month
// calendar widget, both rendered into an image of the same size.

#include "BenchSupport.h"
#include "components/MonthCalendar.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QImage>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <string>

namespace {

const QSize BenchSize(1920, 1080);

QFont BenchFont()
{
    QFont font("Liberation Sans");
    font.setPointSize(9);
    return font;
}

// Shows the widget at the bench size and renders it repeatedly into one image.
void RenderLoop(benchmark::State &state, QWidget &widget)
{
    widget.setFont(BenchFont());
    widget.resize(BenchSize);
    widget.show();
    QApplication::processEvents();
    QImage image(BenchSize, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        widget.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    widget.hide();
}

void BM_TMonthCalendar(benchmark::State &state)
{
    TMonthCalendar calendar;
    calendar.SetWeekNumbers(true);
    calendar.SetTodayCircle(true);
    RenderLoop(state, calendar);
    state.counters["months"] = calendar.VisibleMonthCount();
}
BENCHMARK(BM_TMonthCalendar)->Unit(benchmark::kMicrosecond);

void BM_QCalendarWidget(benchmark::State &state)
{
    QCalendarWidget calendar;
    RenderLoop(state, calendar);
    state.counters["months"] = 1;
}
BENCHMARK(BM_QCalendarWidget)->Unit(benchmark::kMicrosecond);

void PrintRatio(const bench::TTimesReporter &times)
{
    const auto ours = times.Time("BM_TMonthCalendar"), peer = times.Time("BM_QCalendarWidget");
    if (ours && peer && *peer > 0)
        std::printf(
            "Painting at %dx%d (CPU time per paint): TMonthCalendar %.1f us, QCalendarWidget %.1f us, "
            "ratio %.2f (target <= 0.5)\n",
            BenchSize.width(), BenchSize.height(), *ours, *peer, *ours / *peer);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    bench::TTimesReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintRatio(reporter);
    benchmark::Shutdown();
    return 0;
}
