// Saving a full-HD control as JPEG at quality 100: SaveControlAsJpeg (libjpeg directly, pixels
// handed over without conversion) against Qt's own writer, QImage::save(..., "JPG", 100), both
// starting from the live control so each pays for its capture, and both writing a file. Ours
// replaces the file safely (a temporary file, flushed to disk, renamed over the target); Qt's
// writer overwrites it in place. The ratio is of the medians of the processor time of this thread
// (Google Benchmark's CPU column), steadier than wall time on a busy machine.

#include "platform/JpegSave.h"

#include "BenchSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLinearGradient>
#include <QPainter>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <cstdio>

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

QString OursPath()
{
    return QDir::temp().filePath("orvani_bench_ours.jpg");
}

QString PeerPath()
{
    return QDir::temp().filePath("orvani_bench_peer.jpg");
}

Scene &TheScene()
{
    static Scene scene;
    scene.resize(1920, 1080);
    return scene;
}

bool SaveOurs()
{
    return SaveControlAsJpeg(&TheScene(), OursPath(), 100);
}

bool SavePeer()
{
    return TheScene().grab().toImage().save(PeerPath(), "JPG", 100);
}

template <typename Save> void Measure(benchmark::State &state, const QString &path, Save save)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(save());
    state.counters["bytes"] = double(QFileInfo(path).size());
}

void BM_SaveControlAsJpeg(benchmark::State &state)
{
    Measure(state, OursPath(), SaveOurs);
}
BENCHMARK(BM_SaveControlAsJpeg)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_QImageSave(benchmark::State &state)
{
    Measure(state, PeerPath(), SavePeer);
}
BENCHMARK(BM_QImageSave)->Unit(benchmark::kMillisecond)->UseRealTime();

QByteArray Contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The picture data, after the 20-byte JFIF header: the writers differ there only in the pixel
// density they declare.
bool SamePictureData(const QByteArray &a, const QByteArray &b)
{
    constexpr qsizetype JfifHeader = 20;
    return a.size() == b.size() && a.size() > JfifHeader && a.mid(JfifHeader) == b.mid(JfifHeader);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Glyph caches, the JPEG plugin and the first large allocations would otherwise fall on
    // whichever contender runs first.
    SaveOurs();
    SavePeer();
    benchmark::Initialize(&argc, argv);
    bench::TTimesReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const auto ours = reporter.Time("BM_SaveControlAsJpeg"), peer = reporter.Time("BM_QImageSave");
    const QByteArray oursData = Contents(OursPath()), peerData = Contents(PeerPath());
    if (ours && peer)
        std::printf("JPEG 1920x1080 q100: SaveControlAsJpeg cpu %.1f ms, %lld bytes | QImage::save cpu %.1f ms, "
                    "%lld bytes | ours/peer cpu %.2f (target <= 0.85), same picture data: %s\n",
                    *ours, static_cast<long long>(oursData.size()), *peer, static_cast<long long>(peerData.size()),
                    *ours / *peer, SamePictureData(oursData, peerData) ? "yes" : "no");
    QFile::remove(OursPath());
    QFile::remove(PeerPath());
    return 0;
}
