#pragma once
// One running Orvani per user. The first start listens on a local socket in the user's runtime
// folder ($XDG_RUNTIME_DIR, or a private folder of the user's own in the temporary folder); a later
// start finds it there, hands over its request and ends. A start lock beside the socket, held from
// the look for a running instance until this one listens, keeps two starts at the same moment
// from both becoming the first; a socket left by a killed process answers nobody and is replaced.

#include <QObject>
#include <QString>

#include <functional>

class QSocketNotifier;

enum class THandOver {
    First,      // no other Orvani of this user runs: this one goes on and should Listen
    HandedOver, // the running one took the request
    NoAnswer,   // one runs but did not answer in time
};

class TSingleInstance : public QObject {
    Q_OBJECT
public:
    // In the user's runtime folder. Where no private folder of the user's own can be had, the
    // single instance is off: every start is the first, and HandOver says why on standard error.
    TSingleInstance();
    // In the given folder; tests pass their own. An empty folder turns the single instance off.
    explicit TSingleInstance(const QString &folder);
    ~TSingleInstance() override;

    // The folder; empty when there is none that is safe, and then why not in *unsafe.
    static QString UserRuntimeFolder(QString *unsafe = nullptr);
    QString SocketPath() const { return FSocketPath; }

    // Asks a running Orvani to bring its window back (bringBack) or only whether it runs. Needs no
    // application object, so it runs before the display is opened. Keeps the start lock when this
    // start is the first.
    THandOver HandOver(bool bringBack, int timeoutMs = 5000);

    // From now on later starts reach this one: bringBack runs for each start that asks for the
    // window and says whether the window is shown. Needs the application object. Releases the
    // start lock. False when the socket could not be made (this start then runs on its own).
    bool Listen(std::function<bool()> bringBack);

private:
    void Answer();
    void Close();
    void Lock(int timeoutMs); // goes on without the lock when it cannot be had in time
    void Unlock();

    QString FSocketPath;
    QString FUnsafe;  // why this copy runs on its own
    int FLock = -1;   // descriptor of the start lock while held
    int FServer = -1; // the listening socket
    QSocketNotifier *FCalls = nullptr;
    std::function<bool()> FBringBack;
};
