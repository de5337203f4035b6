#pragma once
// The desktop tier: the real program on a desktop of its own (Xvfb with a window manager and a
// notification area), read as a user sees it: windows, frames and states from the X server, the
// settings file after the program has ended.

#include "support/TestSupport.h"

#include <QImage>
#include <QMargins>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct xcb_connection_t;

namespace desktop {

using testsupport::WaitFor;

struct TClientWindow {
    unsigned Id = 0;
    QRect Client;   // in root coordinates
    QMargins Frame; // what the window manager adds around the client
    int State = 0;  // WM_STATE: 0 withdrawn, 1 normal, 3 iconic
    QRect FrameRect() const { return Client.marginsAdded(Frame); }
};

// A window manager the tier runs the program under.
struct TWindowManager {
    const char *Name; // its program
    QStringList Arguments;
    // Its own task bar holds a notification area; the others get trayer at the bottom right.
    bool HasTray;
};

// Every window manager the tier runs under, openbox first; a new one is a new line.
const std::vector<TWindowManager> &WindowManagers();
// For a parametrised test's name and messages.
std::string WindowManagerName(const testing::TestParamInfo<TWindowManager> &info);
void PrintTo(const TWindowManager &windowManager, std::ostream *stream);

// One X server with a window manager and a notification area, ended with the object.
class TDesktop {
public:
    static constexpr int Normal = 1;
    static constexpr int Iconic = 3;

    explicit TDesktop(int dpi = 96, QSize screen = {1024, 768},
                      const TWindowManager &windowManager = WindowManagers().front());
    TDesktop(const TDesktop &) = delete;
    TDesktop &operator=(const TDesktop &) = delete;
    ~TDesktop();
    bool Ready() const { return FReady; }
    QString Display() const { return FDisplay; }
    QRect WorkArea() const;
    // The managed windows of a process, main window first.
    std::vector<TClientWindow> Windows(qint64 pid) const;
    bool HasTray() const;
    // Where the process's icon stands in the notification area; empty when it has none.
    QRect TrayIcon(qint64 pid) const;
    // A user's action with the mouse; a close as the title bar's close button asks for it.
    void Click(QPoint point, int button = 1, int count = 1) const;
    void Close(unsigned window) const;
    void Activate(unsigned window) const;
    // Round trips, true once answered: the program has handled every event the X server sent the
    // window before; the window manager has done what was asked of it before.
    bool Ping(unsigned window) const;
    bool WindowManagerRoundTrip() const;
    // What the screen shows in a rectangle, as a user sees it; all of it by default.
    QImage Grab(QRect rect = {}) const;

private:
    QString Property(unsigned window, const char *name, const char *type, std::vector<quint32> *values) const;
    // Starts the server, the window manager and the tray; names the step that failed, if one did.
    const char *Launch(int dpi, QSize screen, const TWindowManager &windowManager);
    void Stop();
    bool Start(const QString &program, const QStringList &arguments);

    std::vector<std::unique_ptr<QProcess>> FProcesses; // server first
    xcb_connection_t *FConnection = nullptr;
    QString FDisplay;
    bool FReady = false;
};

// The program with a settings store and a runtime folder of its own.
class TProgram {
public:
    // Each line is a value of a subkey: "Positie\\Links=dword:00000010" or "Algemeen\\Lettertype=\"Arial\"".
    explicit TProgram(const QStringList &values = {});
    ~TProgram();
    void Start(const QProcessEnvironment &environment, const QStringList &arguments = {});
    // The desktop's colours, given as a desktop without a Qt desktop environment gives them: through
    // the qt6ct platform theme and its settings. The light theme is Qt's own, with no platform
    // theme. Given again while the program runs, the theme changes under it. The desktop's fonts
    // are Qt's own defaults, at fontPoints.
    void SetTheme(testsupport::TTheme theme, int fontPoints = 9);
    qint64 Pid() const { return FProcess.processId(); }
    // Starts it once more while it runs, as a user would; the exit status of that start, or -1
    // when it did not end normally in time.
    int StartAgain(const QProcessEnvironment &environment);
    // Ends the program with SIGTERM; its exit status, or -1 when it did not end normally in time.
    int Terminate();
    // A stored value as written in the store ("dword:0000019a"), empty when missing.
    QString Stored(const QString &subkeyAndName) const;
    int StoredInt(const QString &subkeyAndName) const;
    // Everything the program wrote on standard error so far.
    QString ErrorOutput() { return FErrors += QString::fromLocal8Bit(FProcess.readAllStandardError()); }

private:
    static void Run(QProcess &process, const QProcessEnvironment &environment, const QString &home,
                    const QStringList &arguments);
    static int Status(const QProcess &process);

    QTemporaryDir FHome;
    QProcess FProcess;
    QString FErrors;
};

// The environment for the program on the desktop: its own display, the test fonts unless given.
QProcessEnvironment DesktopEnvironment(const TDesktop &desktop);

} // namespace desktop
