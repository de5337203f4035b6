// The window's side of the program: a module that the orvani command loads to start the window.
#include "app/MainWindow.h"
#include "app/WindowStart.h"
#include "dialogs/About.h"
#include "dialogs/DatumInfo.h"
#include "dialogs/GaNaar.h"
#include "dialogs/Opties.h"
#include "locale/SystemLocale.h"
#include "platform/QuitSignals.h"
#include "platform/ReadableStyle.h"
#include "platform/SingleInstance.h"
#include "platform/WindowSystem.h"
#include "settings/FileRegistryBackend.h"
#include "settings/SettingsModel.h"

#include <QApplication>

#include <cstdio>

extern "C" __attribute__((visibility("default"))) int OrvaniWindowMain(int argc, char **argv,
                                                                       const TStartOptions *options)
{
    static_assert(std::is_same_v<decltype(OrvaniWindowMain), TWindowMain>);
    const TStartOptions start = *options;
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
    QApplication::setStyle(new TReadableStyle(QApplication::style()->name()));
    QApplication::setApplicationName("Orvani");
    QGuiApplication::setDesktopFileName("orvani");  // matches the installed menu entry and icon
    QApplication::setQuitOnLastWindowClosed(false); // the main window's close ends the program
    SetProgramFormatSettings(SystemFormatSettings());

    // The settings, owned here for the program's life and handed to the windows that need them.
    TFileRegistryBackend store(DefaultSettingsPath());
    TSettingsModel settings(store);
    TForm_Orvani mainWindow(settings);
    // The dialogs, owned by the main window, are made as soon as it has shown its first frame.
    mainWindow.SetDialogMaker([&mainWindow, &settings] {
        mainWindow.AttachDialogs(new TForm_GaNaar(mainWindow.MonthCalendar1, &mainWindow),
                                 new TForm_Opties(settings, &mainWindow),
                                 new TForm_DatumInfo(settings, &mainWindow), new TAboutBox(&mainWindow));
    });
    if (start.Minimized || start.Tray)
        mainWindow.StartMinimized(start.Tray || settings.Record().SysteemLade);
    instance.Listen([&mainWindow] { return mainWindow.BringBack(); });

    // A request to end (SIGTERM, SIGINT, the end of the desktop session) closes the window as
    // the user would, so its placement is stored.
    InstallQuitSignalHandler([&mainWindow] { mainWindow.close(); });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &mainWindow,
                     [&mainWindow] { mainWindow.close(); });

    mainWindow.ShowAtStart();
    return QApplication::exec();
}
