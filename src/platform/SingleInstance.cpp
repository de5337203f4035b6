#include "platform/SingleInstance.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Requests end in a line feed; anything longer than this is not ours.
constexpr qint64 MaxRequest = 64;
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
        QLocalSocket socket;
        socket.connectToServer(FSocketPath);
        if (!socket.waitForConnected(int(deadline.remainingTime()))) {
            const bool noneRuns = socket.error() == QLocalSocket::ServerNotFoundError ||
                                  socket.error() == QLocalSocket::ConnectionRefusedError;
            return noneRuns ? THandOver::First : THandOver::NoAnswer;
        }
        Unlock(); // the running one answers; a third start may look as well
        socket.write(bringBack ? "open\n" : "hello\n");
        QByteArray reply;
        while (!reply.endsWith('\n') && reply.size() < MaxRequest &&
               (socket.bytesAvailable() > 0 || socket.waitForReadyRead(int(deadline.remainingTime()))))
            reply += socket.readAll();
        reply += socket.readAll();
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
    if (FSocketPath.isEmpty())
        return false;
    FServer = new QLocalServer(this);
    FServer->setSocketOptions(QLocalServer::UserAccessOption);
    connect(FServer, &QLocalServer::newConnection, this, &TSingleInstance::Answer);
    // An ending Orvani takes no more requests: a start from then on is the first again.
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, FServer, &QLocalServer::close);
    // Nobody answered on the socket: what is left there belongs to a killed Orvani.
    QLocalServer::removeServer(FSocketPath);
    const bool listening = FServer->listen(FSocketPath);
    Unlock();
    return listening;
}

void TSingleInstance::Answer()
{
    while (QLocalSocket *caller = FServer->nextPendingConnection()) {
        connect(caller, &QLocalSocket::disconnected, caller, &QObject::deleteLater);
        QTimer::singleShot(IdleCallerMs, caller, &QLocalSocket::abort);
        connect(caller, &QLocalSocket::readyRead, caller, [this, caller] {
            if (!caller->canReadLine()) {
                if (caller->bytesAvailable() > MaxRequest)
                    caller->abort();
                return;
            }
            const QByteArray request = caller->readLine(MaxRequest).trimmed();
            if (request == "open")
                caller->write(FBringBack && FBringBack() ? "shown\n" : "hidden\n");
            else if (request == "hello")
                caller->write("running\n");
            caller->disconnectFromServer();
        });
    }
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
