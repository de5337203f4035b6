#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>

namespace {

// Waits until the condition holds, processing events; false after the time limit.
template <typename Condition> bool WaitFor(Condition condition, int milliseconds = 20000)
{
    for (int waited = 0; waited < milliseconds; waited += 50) {
        if (condition())
            return true;
        QTest::qWait(50);
    }
    return condition();
}

TEST(Process, EndingTheProgramWithSigtermStoresThePlacement)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QString store = home.path() + "/KX/Orvani.reg";

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", home.path());
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(environment);
    program.start(qEnvironmentVariable("ORVANI_BUILD_DIR") + "/orvani", {});
    ASSERT_TRUE(program.waitForStarted());

    // The settings are read (and their defaults written) while the window is created.
    ASSERT_TRUE(WaitFor([&] { return QFile::exists(store); }));
    QTest::qWait(500);
    ASSERT_TRUE(QFile::remove(store));

    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(20000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);

    QFile file(store);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    for (const char *name : {"Boven", "Links", "Breedte", "Hoogte", "OpVoorgrond"})
        EXPECT_TRUE(text.contains(QStringLiteral("\"%1\"=dword:").arg(name))) << name;
}

} // namespace
