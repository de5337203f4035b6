// A Wayland session: the program runs through XWayland where the session has it, on Wayland
// itself otherwise, and in both cases starts, shows its window and ends as asked.
#include "desktop/DesktopSession.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace desktop;

namespace {

constexpr char Socket[] = "wl-orvani";

TEST(Wayland, StartsShowsAndEndsOnWaylandAndThroughXWayland)
{
    for (const bool xwayland : {false, true}) {
        QTemporaryDir runtime;
        ASSERT_TRUE(runtime.isValid());
        QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcess weston;
        QProcessEnvironment compositor = QProcessEnvironment::systemEnvironment();
        compositor.insert("XDG_RUNTIME_DIR", runtime.path());
        weston.setProcessEnvironment(compositor);
        QStringList arguments = {"--backend=headless-backend.so", QStringLiteral("--socket=%1").arg(Socket),
                                 "--idle-time=0"};
        if (xwayland)
            arguments << "--xwayland";
        weston.start("weston", arguments);
        ASSERT_TRUE(weston.waitForStarted());
        const QString socket = runtime.path() + "/" + Socket;
        QString log;
        const QRegularExpression listening(R"(xserver listening on display (:\d+))");
        ASSERT_TRUE(WaitFor([&] {
            log += QString::fromLocal8Bit(weston.readAllStandardError() + weston.readAllStandardOutput());
            return QFile::exists(socket) && (!xwayland || listening.match(log).hasMatch());
        })) << log.toStdString();

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY"})
            environment.remove(name);
        environment.insert("WAYLAND_DISPLAY", socket);
        environment.remove("XDG_SESSION_TYPE"); // a compositor's socket alone makes a Wayland session
        environment.insert("WAYLAND_DEBUG", "1"); // the protocol shows whether the window draws
        const QString display = listening.match(log).captured(1);
        if (xwayland)
            environment.insert("DISPLAY", display);
        TProgram program;
        program.Start(environment);

        if (xwayland) {
            // Through X11: a window of the program is shown on XWayland's display, and nothing
            // was said about what Wayland does not allow.
            environment.insert("DISPLAY", display);
            EXPECT_TRUE(WaitFor([&] {
                QProcess search;
                search.setProcessEnvironment(environment);
                search.start("xdotool", {"search", "--onlyvisible", "--pid", QString::number(program.Pid())});
                return search.waitForFinished() && !search.readAllStandardOutput().trimmed().isEmpty();
            }));
            EXPECT_FALSE(program.ErrorOutput().contains("Wayland session"));
        } else {
            EXPECT_TRUE(WaitFor([&] {
                return program.ErrorOutput().contains(QRegularExpression(R"(wl_surface@\d+\.attach\(wl_buffer)"));
            })) << "no frame drawn";
            EXPECT_EQ(program.ErrorOutput().count("Wayland session does not let"), 1);
        }
        EXPECT_EQ(program.Terminate(), 0) << xwayland << program.ErrorOutput().right(2000).toStdString();
        weston.terminate();
        weston.waitForFinished(10000);
    }
}

} // namespace
