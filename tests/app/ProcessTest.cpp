#include "app/MainWindow.h"
#include "platform/SingleInstance.h"
#include "platform/Tray.h"
#include "support/SettingsSupport.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using testsupport::WaitFor;

// Starts the program offscreen with settings and runtime folders of the test's own.
void Start(QProcess &program, const QString &config, const QString &runtime,
           const QStringList &arguments = {})
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", config);
    environment.insert("XDG_RUNTIME_DIR", runtime);
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(environment);
    program.start(qEnvironmentVariable("ORVANI_BUILD_DIR") + "/orvani", arguments);
    ASSERT_TRUE(program.waitForStarted());
}

// A start while another runs ends at once with status 0; the running one answers only once its
// window is shown, so the status says that it is.
void ExpectHandOver(const QString &config, const QString &runtime)
{
    QProcess second;
    Start(second, config, runtime);
    ASSERT_TRUE(WaitFor([&] { return second.state() == QProcess::NotRunning; }));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
}

// Whether a program listens on the socket.
bool Answers(const QString &socket)
{
    QLocalSocket probe;
    probe.connectToServer(socket);
    return probe.waitForConnected(1000);
}

// Ends the program as the session would. Never signals pid 0, which would be the test's own group.
void Terminate(QProcess &program)
{
    ASSERT_GT(program.processId(), 0) << "the program ended early";
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(20000));
    EXPECT_EQ(program.exitCode(), 0);
}

TEST(Process, EndingTheProgramWithSigtermStoresThePlacement)
{
    QTemporaryDir home, runtime;
    ASSERT_TRUE(home.isValid() && runtime.isValid());
    const QString store = home.path() + "/KX/Orvani.reg";

    QProcess program;
    Start(program, home.path(), runtime.path());

    // The settings are read (and their defaults written) while the window is created, before the
    // program answers a second start from its event loop.
    ASSERT_TRUE(WaitFor([&] { return QFile::exists(runtime.path() + "/orvani.socket"); }));
    ExpectHandOver(home.path(), runtime.path());
    ASSERT_TRUE(QFile::remove(store));
    Terminate(program);
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);

    QFile file(store);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    for (const char *name : {"Boven", "Links", "Breedte", "Hoogte", "OpVoorgrond"})
        EXPECT_TRUE(text.contains(QStringLiteral("\"%1\"=dword:").arg(name))) << name;
}

// Started from a folder that holds a file named as a library the window loads, the program loads
// the system's: the loader never looks in the current folder.
TEST(Process, AStartTakesNoLibraryFromTheCurrentFolder)
{
    QTemporaryDir home, runtime, folder;
    ASSERT_TRUE(home.isValid() && runtime.isValid() && folder.isValid());
    QFile planted(folder.filePath("libQt6Svg.so.6"));
    ASSERT_TRUE(planted.open(QIODevice::WriteOnly) && planted.write("not a library") > 0);
    planted.close();

    QProcess program;
    program.setWorkingDirectory(folder.path());
    Start(program, home.path(), runtime.path());
    ASSERT_TRUE(WaitFor([&] {
        return QFile::exists(runtime.path() + "/orvani.socket") || program.state() == QProcess::NotRunning;
    }));
    Terminate(program);
}

TEST(Process, ASecondStartBringsBackTheRunningWindowAndEnds)
{
    // Offscreen there is no tray: --tray starts minimised to the task bar. Qt's own options pass.
    for (const QStringList &firstStart :
         {QStringList{"-platform", "offscreen"}, QStringList{"--minimized"}, QStringList{"--tray"}}) {
        QTemporaryDir home, runtime;
        QProcess first;
        Start(first, home.path(), runtime.path(), firstStart);
        ASSERT_TRUE(WaitFor([&] { return QFile::exists(runtime.path() + "/orvani.socket"); }));
        ExpectHandOver(home.path(), runtime.path());
        EXPECT_EQ(first.state(), QProcess::Running) << firstStart.join(' ').toStdString();
        Terminate(first);
    }
}

TEST(Process, ASocketLeftByAKilledProgramIsTakenOver)
{
    QTemporaryDir home, runtime;
    const QString socket = runtime.path() + "/orvani.socket";
    QProcess killed;
    Start(killed, home.path(), runtime.path());
    ASSERT_TRUE(WaitFor([&] { return QFile::exists(socket); }));
    killed.kill();
    ASSERT_TRUE(killed.waitForFinished(20000));
    ASSERT_FALSE(Answers(socket));

    QProcess next;
    Start(next, home.path(), runtime.path());
    ASSERT_TRUE(WaitFor([&] { return next.state() != QProcess::Running || Answers(socket); }));
    ASSERT_EQ(next.state(), QProcess::Running) << next.readAllStandardError().toStdString();
    ExpectHandOver(home.path(), runtime.path());
    Terminate(next);
}

TEST(Process, ASecondStartBringsBackTheWindowHiddenInTheTray)
{
    QTemporaryDir runtime;
    TTrayIcon::SetAvailableForTests(true);
    testsupport::TScopedSettings settings;
    TForm_Orvani window(settings.Model());
    window.StartMinimized(true);
    window.ShowAtStart();
    ASSERT_FALSE(window.isVisible());
    ASSERT_TRUE(window.JvTrayIcon1->Active());

    TSingleInstance first(runtime.path());
    ASSERT_EQ(first.HandOver(true), THandOver::First);
    ASSERT_TRUE(first.Listen([&window] { return window.BringBack(); }));
    QTemporaryDir home;
    ExpectHandOver(home.path(), runtime.path());
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.isMinimized());
    EXPECT_FALSE(window.JvTrayIcon1->Active());
    TTrayIcon::ResetAvailableForTests();
}

// A folder for the socket that is not the user's own private one is never used: the start runs
// on its own and says why, once.
TEST(Process, AStartThatCannotLookForARunningOneSaysWhyOnce)
{
    QTemporaryDir temp;
    const QByteArray own = QFile::encodeName(temp.path()) + "/orvani-" + QByteArray::number(getuid());
    const std::pair<const char *, std::function<bool()>> cases[] = {
        {"is a symbolic link", [&] { return symlink(QFile::encodeName(temp.path()), own) == 0; }},
        {"is no folder", [&] { return QFile(own).open(QIODevice::WriteOnly); }},
        // Only where the test may give a folder away (as root).
        {"belongs to another user", [&] { return mkdir(own, 0700) == 0 && chown(own, 65534, 65534) == 0; }},
    };
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR"), tmp = qgetenv("TMPDIR");
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("TMPDIR", QFile::encodeName(temp.path()));
    for (const auto &[why, make] : cases) {
        unlink(own) == 0 || rmdir(own);
        if (!make())
            continue;
        testing::internal::CaptureStderr();
        TSingleInstance instance;
        EXPECT_EQ(instance.HandOver(true), THandOver::First);
        EXPECT_EQ(instance.HandOver(true), THandOver::First);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "orvani: cannot look for a running Orvani, as " +
                                                              own.toStdString() + " " + why +
                                                              "; this copy runs on its own\n");
    }
    unlink(own) == 0 || rmdir(own);
    qputenv("XDG_RUNTIME_DIR", runtime);
    qputenv("TMPDIR", tmp);
}

} // namespace
