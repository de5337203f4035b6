// Start-up of the whole program: process start to the first painted frame of the main window,
// and resident memory at that moment, against an empty QMainWindow with a toolbar and a status
// bar. Each sample is a fresh process: the orvani command as users start it (which loads the
// window module), and this program again in the peer's role, so library loading and first-time
// font work count as a user would feel them. Both are watched by the same preloaded library
// (FirstFrameHook.cpp), which reports once the first frame is painted. Measured offscreen, and on
// an X server with a window manager and a session bus (Xvfb, openbox, dbus-daemon) where those are
// installed.

#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QProcess>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <map>
#include <sched.h>
#include <vector>

namespace {

// The empty window of the peer, in a child process of this program.
int RunPeer(int argc, char **argv)
{
    QApplication app(argc, argv);
    auto *window = new QMainWindow;
    window->addToolBar("tools")->addAction("Go");
    window->setStatusBar(new QStatusBar);
    window->resize(204, 223);
    window->show();
    return QApplication::exec();
}

struct Sample {
    double seconds = 0;
    long rssKiB = 0;
};

// Where the children show their windows: the offscreen platform, or an X server of the
// benchmark's own with a window manager, as on a desktop.
struct TDisplay {
    std::string Name;
    QProcessEnvironment Environment;
};

// Xvfb with openbox and a session bus, as a desktop session has them, for the length of the run;
// Start() fails where Xvfb or openbox is missing. Without a session bus the toolkit's D-Bus
// library forks to start one (dbus-launch) in the middle of either program's start, and the
// copy-on-write faults of that fork weigh on whichever program happens to be busy then.
class TXSession {
public:
    ~TXSession()
    {
        for (QProcess *process : {&FManager, &FServer, &FBus}) {
            process->terminate();
            process->waitForFinished(5000);
        }
    }

    bool Start(QProcessEnvironment &environment)
    {
        // Xvfb picks a free display and names it once it takes connections.
        FServer.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
        if (!FServer.waitForStarted(5000) || !FServer.waitForReadyRead(10000))
            return false;
        environment.insert("DISPLAY", ":" + QString::fromLatin1(FServer.readAllStandardOutput().trimmed()));
        environment.insert("QT_QPA_PLATFORM", "xcb");
        FBus.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        if (FBus.waitForStarted(5000) && FBus.waitForReadyRead(10000))
            environment.insert("DBUS_SESSION_BUS_ADDRESS", QString::fromLatin1(FBus.readLine().trimmed()));
        // openbox runs its start-up command once it manages the screen.
        FManager.setProcessEnvironment(environment);
        FManager.start("openbox", {"--startup", "echo managing"});
        return FManager.waitForStarted(5000) && FManager.waitForReadyRead(10000);
    }

private:
    QProcess FServer;
    QProcess FManager;
    QProcess FBus;
};

// Every child runs on one and the same processor: on a machine with several, a child placed on a
// busier or slower one than the last would change the time by far more than the programs differ.
int measuringCpu = 0; // chosen by the benchmark before it starts any child

void PinToMeasuringCpu()
{
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(measuringCpu, &one);
    sched_setaffinity(0, sizeof one, &one);
}

Sample StartChild(const char *role, const QProcessEnvironment &environment)
{
    QProcess child;
    QProcessEnvironment watched = environment;
    watched.insert("LD_PRELOAD", FIRST_FRAME_HOOK);
    child.setProcessEnvironment(watched);
    child.setChildProcessModifier(PinToMeasuringCpu);
    const bool ours = std::strcmp(role, "orvani") == 0;
    QElapsedTimer timer;
    timer.start();
    if (ours)
        child.start(ORVANI_COMMAND, {});
    else
        child.start(QCoreApplication::applicationFilePath(), {"--child", role});
    // The child says when it paints its first frame.
    QByteArray output;
    while (!output.contains('\n') && child.waitForReadyRead(60000))
        output += child.readAllStandardOutput();
    Sample sample;
    sample.seconds = timer.nsecsElapsed() / 1e9;
    child.waitForFinished(60000);
    if (const qsizetype at = output.indexOf("rss "); at >= 0)
        sample.rssKiB = output.mid(at + 4).trimmed().toLong();
    return sample;
}

// The samples of each display, ours and the peer's.
struct TSamples {
    std::vector<Sample> Ours, Peer;
};
std::map<std::string, TSamples> samples;

// Each iteration starts the peer and then Orvani, so a machine that gets busier or quieter during
// the run weighs on both alike; the time of an iteration is Orvani's.
void BM_StartToFirstFrame(benchmark::State &state, const TDisplay &display)
{
    TSamples &kept = samples[display.Name];
    for (auto _ : state) {
        kept.Peer.push_back(StartChild("peer", display.Environment));
        kept.Ours.push_back(StartChild("orvani", display.Environment));
        state.SetIterationTime(kept.Ours.back().seconds);
    }
}

void Register(const TDisplay &display)
{
    benchmark::RegisterBenchmark(("BM_StartToFirstFrame/" + display.Name).c_str(), BM_StartToFirstFrame,
                                 display)
        ->UseManualTime()
        ->Iterations(21)
        ->Unit(benchmark::kMillisecond);
}

// The median, which a few samples slowed by other work on the machine do not move.
template <class Value> double Median(const std::vector<Sample> &all, Value value)
{
    std::vector<double> values;
    for (const Sample &sample : all)
        values.push_back(value(sample));
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

void PrintRatios(const TDisplay &display)
{
    const TSamples &kept = samples[display.Name];
    if (kept.Ours.empty())
        return;
    const auto seconds = [](const Sample &sample) { return sample.seconds; };
    const auto rss = [](const Sample &sample) { return double(sample.rssKiB); };
    const double ours = Median(kept.Ours, seconds), peer = Median(kept.Peer, seconds);
    std::printf("%s, start to first frame (medians): Orvani %.1f ms, empty QMainWindow %.1f ms, ratio %.2f "
                "(target <= 1.05)\n",
                display.Name.c_str(), ours * 1e3, peer * 1e3, ours / peer);
    const double oursRss = Median(kept.Ours, rss), peerRss = Median(kept.Peer, rss);
    std::printf("%s, resident memory at first frame: Orvani %.0f KiB, empty QMainWindow %.0f KiB, ratio %.2f "
                "(target <= 1.05)\n",
                display.Name.c_str(), oursRss, peerRss, oursRss / peerRss);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "--child") == 0)
        return RunPeer(argc, argv);

    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    measuringCpu = std::max(0, sched_getcpu());
    QTemporaryDir home, runtime;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", home.path());
    environment.insert("XDG_RUNTIME_DIR", runtime.path()); // no hand-over to a running Orvani
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    const TDisplay offscreen{"offscreen", environment};
    Register(offscreen);
    // On a desktop: exec to the first frame under a window manager, where one can be started.
    TXSession session;
    TDisplay desktop{"xvfb+openbox", environment};
    const bool haveDesktop = session.Start(desktop.Environment);
    if (haveDesktop)
        Register(desktop);
    else
        std::printf("Xvfb or openbox missing: start-up is measured offscreen only\n");

    benchmark::RunSpecifiedBenchmarks();
    PrintRatios(offscreen);
    if (haveDesktop)
        PrintRatios(desktop);
    benchmark::Shutdown();
    return 0;
}
