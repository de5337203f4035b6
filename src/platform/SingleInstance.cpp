#include "platform/SingleInstance.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// Requests end in a line feed; anything longer than this is not ours.
constexpr qsizetype MaxRequest = 64;
// A caller that connects and never speaks is let go after this.
constexpr int IdleCallerMs = 5000;

// Empty for a folder of the user's own that no one else may enter, otherwise what is wrong with it.
QString PrivateFolderProblem(const QByteArray &path)
{
    struct stat info {};
    if (!path.startsWith('/'))
        return "is no absolute path";
    if (lstat(path.constData(), &info) != 0)
        return QString("cannot be made (%1)").arg(QString::fromLocal8Bit(strerror(errno)));
    if (S_ISLNK(info.st_mode))
        return "is a symbolic link";
    if (!S_ISDIR(info.st_mode))
        return "is no folder";
    if (info.st_uid != getuid())
        return "belongs to another user";
    return (info.st_mode & 077) == 0 ? QString() : "is open to other users";
}

// The address of the socket; false when the path does not fit in one.
bool AddressOf(const QString &socketPath, sockaddr_un *address)
{
    const QByteArray path = QFile::encodeName(socketPath);
    *address = {};
    address->sun_family = AF_UNIX;
    if (std::size_t(path.size()) >= sizeof address->sun_path)
        return false;
    std::memcpy(address->sun_path, path.constData(), std::size_t(path.size()));
    return true;
}

int NewSocket()
{
    return socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
}

// A connection to the socket, or -1 with errno set.
int ConnectTo(const QString &socketPath, const QDeadlineTimer &deadline)
{
    sockaddr_un address;
    if (!AddressOf(socketPath, &address)) {
        errno = ENAMETOOLONG;
        return -1;
    }
    while (true) {
        const int connection = NewSocket();
        if (connection < 0 || connect(connection, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0)
            return connection;
        const int error = errno;
        close(connection);
        errno = error;
        // EAGAIN: the running one's queue of callers is full for a moment.
        if (error != EAGAIN || deadline.hasExpired())
            return -1;
        QThread::msleep(10);
    }
}

// What the other end says up to its line feed, until it closes or the time is up.
QByteArray ReadReply(int connection, const QDeadlineTimer &deadline)
{
    QByteArray reply;
    char buffer[MaxRequest];
    while (!reply.endsWith('\n') && reply.size() < MaxRequest) {
        pollfd wait{connection, POLLIN, 0};
        const int ready = poll(&wait, 1, int(deadline.remainingTime()));
        if (ready < 0 && errno == EINTR)
            continue;
        const ssize_t got = ready > 0 ? recv(connection, buffer, sizeof buffer, 0) : 0;
        if (got < 0 && (errno == EAGAIN || errno == EINTR))
            continue;
        if (got <= 0)
            break;
        reply.append(buffer, got);
    }
    return reply;
}

// One later start connected to the running one: reads its request, answers once and lets it go.
class TCaller : public QObject {
public:
    TCaller(int connection, const std::function<bool()> &bringBack, QObject *parent)
        : QObject(parent), FConnection(connection), FBringBack(bringBack), FReadable(connection, QSocketNotifier::Read, this)
    {
        connect(&FReadable, &QSocketNotifier::activated, this, &TCaller::Read);
        QTimer::singleShot(IdleCallerMs, this, &TCaller::LetGo);
    }
    ~TCaller() override { close(FConnection); }

private:
    void Read()
    {
        char buffer[MaxRequest + 1];
        const ssize_t got = recv(FConnection, buffer, sizeof buffer, 0);
        if (got < 0 && (errno == EAGAIN || errno == EINTR))
            return;
        if (got <= 0) {
            LetGo();
            return;
        }
        FRequest.append(buffer, got);
        const qsizetype end = FRequest.indexOf('\n');
        if (end < 0) {
            if (FRequest.size() > MaxRequest)
                LetGo();
            return;
        }
        const QByteArray request = FRequest.left(end).trimmed();
        if (request == "open")
            Say(FBringBack && FBringBack() ? "shown\n" : "hidden\n");
        else if (request == "hello")
            Say("running\n");
        LetGo();
    }

    void Say(const char *answer) { send(FConnection, answer, std::strlen(answer), MSG_NOSIGNAL); }

    void LetGo()
    {
        FReadable.setEnabled(false);
        deleteLater();
    }

    int FConnection;
    const std::function<bool()> &FBringBack; // the instance's, which outlives its callers
    QSocketNotifier FReadable;
    QByteArray FRequest;
};

QString SocketIn(const QString &folder)
{
    return folder.isEmpty() ? QString() : folder + "/orvani.socket";
}

} // namespace

TSingleInstance::TSingleInstance()
{
    FSocketPath = SocketIn(UserRuntimeFolder(&FUnsafe));
}

TSingleInstance::TSingleInstance(const QString &folder) : FSocketPath(SocketIn(folder)) {}

TSingleInstance::~TSingleInstance()
{
    Close();
    Unlock();
}

QString TSingleInstance::UserRuntimeFolder(QString *unsafe)
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (PrivateFolderProblem(runtime).isEmpty())
        return QFile::decodeName(runtime);
    // Without a runtime folder: one of the user's own, which another user cannot take first. One
    // that someone else made or put there is never used.
    const QByteArray own = QFile::encodeName(QDir::tempPath()) + "/orvani-" + QByteArray::number(getuid());
    mkdir(own.constData(), 0700);
    const QString problem = PrivateFolderProblem(own);
    if (unsafe && !problem.isEmpty())
        *unsafe = QString("%1 %2").arg(QFile::decodeName(own), problem);
    return problem.isEmpty() ? QFile::decodeName(own) : QString();
}

THandOver TSingleInstance::HandOver(bool bringBack, int timeoutMs)
{
    if (FSocketPath.isEmpty()) {
        if (!FUnsafe.isEmpty())
            std::fputs(QString("orvani: cannot look for a running Orvani, as %1; this copy runs on its own\n")
                           .arg(FUnsafe)
                           .toLocal8Bit()
                           .constData(),
                       stderr);
        FUnsafe.clear(); // said once
        return THandOver::First;
    }
    Lock(timeoutMs);
    const QDeadlineTimer deadline(timeoutMs);
    while (true) {
        const int connection = ConnectTo(FSocketPath, deadline);
        if (connection < 0) {
            const bool noneRuns = errno == ENOENT || errno == ECONNREFUSED || errno == ENAMETOOLONG;
            return noneRuns ? THandOver::First : THandOver::NoAnswer;
        }
        Unlock(); // the running one answers; a third start may look as well
        const char *request = bringBack ? "open\n" : "hello\n";
        const bool asked = send(connection, request, std::strlen(request), MSG_NOSIGNAL) > 0;
        const QByteArray reply = asked ? ReadReply(connection, deadline) : QByteArray();
        close(connection);
        if (reply == "shown\n" || reply == "running\n")
            return THandOver::HandedOver;
        if (!reply.isEmpty() || deadline.hasExpired())
            return THandOver::NoAnswer;
        // Closed without a word: the running one is ending. Look again in a moment.
        QThread::msleep(20);
        Lock(timeoutMs);
    }
}

bool TSingleInstance::Listen(std::function<bool()> bringBack)
{
    FBringBack = std::move(bringBack);
    sockaddr_un address;
    if (FSocketPath.isEmpty() || !AddressOf(FSocketPath, &address) || (FServer = NewSocket()) < 0) {
        Unlock();
        return false;
    }
    // Nobody answered on the socket: what is left there belongs to a killed Orvani.
    unlink(address.sun_path);
    const mode_t mask = umask(0177); // only the user may connect
    const bool listening = bind(FServer, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 &&
                           listen(FServer, SOMAXCONN) == 0;
    umask(mask);
    Unlock();
    if (!listening) {
        close(FServer);
        FServer = -1;
        return false;
    }
    FCalls = new QSocketNotifier(FServer, QSocketNotifier::Read, this);
    connect(FCalls, &QSocketNotifier::activated, this, &TSingleInstance::Answer);
    // An ending Orvani takes no more requests: a start from then on is the first again.
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &TSingleInstance::Close);
    return true;
}

void TSingleInstance::Answer()
{
    for (int caller; (caller = accept4(FServer, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK)) >= 0;)
        new TCaller(caller, FBringBack, this);
}

void TSingleInstance::Close()
{
    if (!FCalls)
        return;
    delete FCalls;
    FCalls = nullptr;
    // Gone before the socket closes, so that a start from now on finds none rather than a refusal.
    unlink(QFile::encodeName(FSocketPath).constData());
    close(FServer);
    FServer = -1;
}

void TSingleInstance::Lock(int timeoutMs)
{
    // Another start holds the lock only until its window exists and it listens.
    const QByteArray path = QFile::encodeName(FSocketPath) + ".lock";
    FLock = open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY, 0600);
    for (const QDeadlineTimer deadline(timeoutMs);
         FLock >= 0 && flock(FLock, LOCK_EX | LOCK_NB) != 0 && !deadline.hasExpired();)
        QThread::msleep(10);
}

void TSingleInstance::Unlock()
{
    if (FLock >= 0)
        close(FLock);
    FLock = -1;
}
