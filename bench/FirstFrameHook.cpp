// Preloaded into a program whose start-up the benchmark measures (LD_PRELOAD): when the program
// has painted its first frame, this prints "rss <KiB>" on standard output and ends the program
// at once, so that nothing it does after its first frame is counted (scripts/start-order.sh
// profiles the start to the same point).
// Any Qt Widgets program can be watched so, the installed orvani command as well as the peer.

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

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

// The first paint event starts the first frame; once the event loop is back, every widget of
// that frame has been painted and the frame handed to the window system.
class TFirstFrame : public QObject {
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !FSeen) {
            FSeen = true;
            QTimer::singleShot(0, [] {
                std::printf("rss %ld\n", ResidentKiB());
                std::fflush(stdout);
                std::_Exit(0);
            });
        }
        return false;
    }

private:
    bool FSeen = false;
};

void WatchFirstFrame()
{
    QCoreApplication::instance()->installEventFilter(new TFirstFrame);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(WatchFirstFrame)
