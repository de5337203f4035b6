#include "app/CommandLine.h"
#include "app/MainWindow.h"
#include "date/FormatSettings.h"
#include "dialogs/About.h"
#include "dialogs/DatumInfo.h"
#include "dialogs/GaNaar.h"
#include "dialogs/Opties.h"
#include "platform/Locale.h"
#include "platform/QuitSignals.h"
#include "platform/WindowSystem.h"
#include "platform/SingleInstance.h"
#include "settings/RecRec.h"

#include <QApplication>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <cstdio>

namespace {

// Qt ends a window start with no display at all by aborting with a hint at reinstalling; the
// user is told instead what is missing. Qt's own -platform and -display options choose for
// themselves.
bool NoDisplay(const QStringList &arguments)
{
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        if (!qEnvironmentVariableIsEmpty(name))
            return false;
    }
    static const QRegularExpression chosen("^--?(platform|display)(=|$)");
    return std::none_of(arguments.begin(), arguments.end(),
                        [](const QString &argument) { return chosen.match(argument).hasMatch(); });
}

} // namespace

int main(int argc, char **argv)
{
    // The actions of the command line run before any display is opened.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QFile::decodeName(argv[i]);
    TStartOptions start;
    if (const std::optional<int> status = RunCommandLine(arguments, start))
        return *status;
    if (NoDisplay(arguments)) {
        std::fputs("orvani: no display found; orvani --help lists what works without one\n", stderr);
        return 1;
    }

    // One Orvani per user: a later start brings the running one's window back and ends. A start
    // minimised or in the tray leaves the running one as it is.
    TSingleInstance instance;
    switch (instance.HandOver(!start.Minimized && !start.Tray)) {
    case THandOver::HandedOver:
        return 0;
    case THandOver::NoAnswer:
        std::fputs("orvani: Orvani runs already but does not answer\n", stderr);
        return 1;
    case THandOver::First:
        break;
    }

    ChoosePlatform();
    QApplication app(argc, argv);
    ForgetPlatformChoice();
    QApplication::setApplicationName("Orvani");
    QGuiApplication::setDesktopFileName("orvani");  // matches the installed menu entry and icon
    QApplication::setQuitOnLastWindowClosed(false); // the main window's close ends the program
    SetProgramFormatSettings(FormatSettingsFromLocale(QLocale::system()));

    TForm_Orvani mainWindow;
    // The dialogs, owned by the main window, are made as soon as it has shown its first frame.
    mainWindow.SetDialogMaker([&mainWindow] {
        mainWindow.AttachDialogs(new TForm_GaNaar(mainWindow.MonthCalendar1, &mainWindow),
                                 new TForm_Opties(&mainWindow), new TForm_DatumInfo(&mainWindow),
                                 new TAboutBox(&mainWindow));
    });
    if (start.Minimized || start.Tray)
        mainWindow.StartMinimized(start.Tray || RecRec.SysteemLade);
    instance.Listen([&mainWindow] { return mainWindow.BringBack(); });

    // A request to end (SIGTERM, SIGINT, the end of the desktop session) closes the window as
    // the user would, so its placement is stored.
    InstallQuitSignalHandler([&mainWindow] { mainWindow.close(); });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &mainWindow,
                     [&mainWindow] { mainWindow.close(); });

    mainWindow.ShowAtStart();
    return QApplication::exec();
}
