// Saving a full-HD control as JPEG at quality 100: SaveControlAsJpeg (libjpeg directly, pixels
// handed over without conversion) against Qt's own writer, QImage::save(..., "JPG", 100), both
// starting from the live control so each pays for its capture.

#include "platform/JpegSave.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLinearGradient>
#include <QPainter>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <ctime>

namespace {

// Something like a large month view: a gradient, a grid of numbered cells, circles and lines.
class Scene : public QWidget {
protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QLinearGradient gradient(0, 0, width(), height());
        gradient.setColorAt(0, QColor(241, 242, 245));
        gradient.setColorAt(1, QColor(40, 70, 140));
        painter.fillRect(rect(), gradient);
        painter.setFont(QFont("DejaVu Sans", 11));
        const int cell = 60;
        for (int y = 0; y < height(); y += cell)
            for (int x = 0; x < width(); x += cell) {
                const int n = (x / cell) * 7 + y / cell;
                painter.setPen(QColor::fromHsv(n * 13 % 360, 160, 120));
                painter.drawRect(x + 2, y + 2, cell - 4, cell - 4);
                painter.drawText(QRect(x, y, cell, cell), Qt::AlignCenter, QString::number(n % 31 + 1));
                if (n % 9 == 0)
                    painter.drawEllipse(QPoint(x + cell / 2, y + cell / 2), cell / 3, cell / 3);
            }
    }
};

struct Result {
    double seconds = 0;    // wall time per save
    double cpuSeconds = 0; // this thread's processor time per save: steadier on a busy machine
    qint64 bytes = 0;
};

Result ours;
Result peer;

Scene &TheScene()
{
    static Scene scene;
    scene.resize(1920, 1080);
    return scene;
}

double ThreadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

template <typename Save> void Measure(benchmark::State &state, const QString &path, Result &result, Save save)
{
    using Clock = std::chrono::steady_clock;
    Clock::duration total{};
    double cpu = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        const double cpuStart = ThreadCpuSeconds();
        benchmark::DoNotOptimize(save(path));
        cpu += ThreadCpuSeconds() - cpuStart;
        total += Clock::now() - start;
    }
    result.seconds = std::chrono::duration<double>(total).count() / double(state.iterations());
    result.cpuSeconds = cpu / double(state.iterations());
    result.bytes = QFileInfo(path).size();
    state.counters["bytes"] = double(result.bytes);
}

void BM_SaveControlAsJpeg(benchmark::State &state)
{
    Measure(state, QDir::temp().filePath("orvani_bench_ours.jpg"), ours,
            [](const QString &path) { return SaveControlAsJpeg(&TheScene(), path, 100); });
}
BENCHMARK(BM_SaveControlAsJpeg)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_QImageSave(benchmark::State &state)
{
    Measure(state, QDir::temp().filePath("orvani_bench_peer.jpg"), peer,
            [](const QString &path) { return TheScene().grab().toImage().save(path, "JPG", 100); });
}
BENCHMARK(BM_QImageSave)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    QFile oursFile(QDir::temp().filePath("orvani_bench_ours.jpg")),
        peerFile(QDir::temp().filePath("orvani_bench_peer.jpg"));
    if (ours.seconds > 0 && peer.seconds > 0 && oursFile.open(QIODevice::ReadOnly) &&
        peerFile.open(QIODevice::ReadOnly))
        std::printf("JPEG 1920x1080 q100: SaveControlAsJpeg %.1f ms (cpu %.1f ms), %lld bytes | QImage::save "
                    "%.1f ms (cpu %.1f ms), %lld bytes | ours/peer: time %.2f, cpu %.2f (target <= 0.85), "
                    "same bytes: %s\n",
                    ours.seconds * 1000, ours.cpuSeconds * 1000, static_cast<long long>(ours.bytes),
                    peer.seconds * 1000, peer.cpuSeconds * 1000, static_cast<long long>(peer.bytes),
                    ours.seconds / peer.seconds, ours.cpuSeconds / peer.cpuSeconds,
                    oursFile.readAll() == peerFile.readAll() ? "yes" : "no");
    oursFile.remove();
    peerFile.remove();
    return 0;
}
