// Start-up of the whole program: process start to the first painted frame of the main window,
// and resident memory at that moment, against an empty QMainWindow with a toolbar and a status
// bar. Each sample is a fresh process (this program started again in a child role), so library
// loading and first-time font work count as a user would feel them.

#include "app/MainWindow.h"
#include "components/MonthCalendar.h"
#include "dialogs/About.h"
#include "dialogs/DatumInfo.h"
#include "dialogs/GaNaar.h"
#include "dialogs/Opties.h"
#include "platform/Locale.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QMainWindow>
#include <QProcess>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <map>

namespace {

long ResidentKiB()
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

// Ends the child once the window has painted, printing its resident memory.
class FirstPaint : public QObject {
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !done) {
            done = true;
            QTimer::singleShot(0, [] {
                std::printf("rss %ld\n", ResidentKiB());
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return false;
    }
    bool done = false;
};

int RunChild(const char *role, int argc, char **argv)
{
    QApplication app(argc, argv);
    FirstPaint watcher;
    if (std::strcmp(role, "orvani") == 0) {
        SetProgramFormatSettings(FormatSettingsFromLocale(QLocale::system()));
        auto *window = new TForm_Orvani;
        window->AttachDialogs(new TForm_GaNaar(window->MonthCalendar1, window), new TForm_Opties(window),
                              new TForm_DatumInfo(window), new TAboutBox(window));
        window->MonthCalendar1->installEventFilter(&watcher);
        window->ShowAtStart();
    } else {
        auto *window = new QMainWindow;
        window->addToolBar("tools")->addAction("Go");
        window->setStatusBar(new QStatusBar);
        window->resize(204, 223);
        window->installEventFilter(&watcher);
        window->show();
    }
    return QApplication::exec();
}

struct Sample {
    double seconds = 0;
    long rssKiB = 0;
};

Sample StartChild(const char *role)
{
    static QTemporaryDir home;
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", home.path());
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    child.setProcessEnvironment(environment);
    QElapsedTimer timer;
    timer.start();
    child.start(QCoreApplication::applicationFilePath(), {"--child", role});
    child.waitForFinished(60000);
    Sample sample;
    sample.seconds = timer.nsecsElapsed() / 1e9;
    const QByteArray output = child.readAllStandardOutput();
    if (const qsizetype at = output.indexOf("rss "); at >= 0)
        sample.rssKiB = output.mid(at + 4).trimmed().toLong();
    return sample;
}

std::map<std::string, Sample> totals;
std::map<std::string, int> counts;

void BM_StartToFirstFrame(benchmark::State &state, const char *role)
{
    for (auto _ : state) {
        const Sample sample = StartChild(role);
        state.SetIterationTime(sample.seconds);
        totals[role].seconds += sample.seconds;
        totals[role].rssKiB += sample.rssKiB;
        ++counts[role];
    }
    state.counters["rss_KiB"] = double(totals[role].rssKiB) / counts[role];
}

BENCHMARK_CAPTURE(BM_StartToFirstFrame, orvani, "orvani")
    ->UseManualTime()
    ->Iterations(15)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_StartToFirstFrame, empty_main_window, "peer")
    ->UseManualTime()
    ->Iterations(15)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "--child") == 0)
        return RunChild(argv[2], argc, argv);

    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    if (counts["orvani"] && counts["peer"]) {
        const auto mean = [](const char *role) {
            return Sample{totals[role].seconds / counts[role], totals[role].rssKiB / counts[role]};
        };
        const Sample ours = mean("orvani"), peer = mean("peer");
        std::printf(
            "start to first frame: Orvani %.1f ms, empty QMainWindow %.1f ms, ratio %.2f (target <= 1.25)\n",
            ours.seconds * 1e3, peer.seconds * 1e3, ours.seconds / peer.seconds);
        std::printf("resident memory at first frame: Orvani %ld KiB, empty QMainWindow %ld KiB, ratio %.2f\n",
                    ours.rssKiB, peer.rssKiB, double(ours.rssKiB) / double(peer.rssKiB));
    }
    benchmark::Shutdown();
    return 0;
}
