#include "app/MainWindow.h"
#include "date/FormatSettings.h"
#include "dialogs/About.h"
#include "dialogs/DatumInfo.h"
#include "dialogs/GaNaar.h"
#include "dialogs/Opties.h"
#include "platform/Locale.h"
#include "platform/QuitSignals.h"

#include <QApplication>
#include <QLocale>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Orvani");
    QGuiApplication::setDesktopFileName("orvani"); // matches the installed menu entry and icon
    QApplication::setQuitOnLastWindowClosed(false); // the main window's close ends the program
    SetProgramFormatSettings(FormatSettingsFromLocale(QLocale::system()));

    TForm_Orvani mainWindow;
    TForm_GaNaar gaNaar(mainWindow.MonthCalendar1, &mainWindow);
    TForm_Opties opties(&mainWindow);
    TForm_DatumInfo datumInfo(&mainWindow);
    TAboutBox aboutBox(&mainWindow);
    mainWindow.AttachDialogs(&gaNaar, &opties, &datumInfo, &aboutBox);

    // A request to end (SIGTERM, SIGINT, the end of the desktop session) closes the window as
    // the user would, so its placement is stored.
    InstallQuitSignalHandler([&mainWindow] { mainWindow.close(); });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &mainWindow,
                     [&mainWindow] { mainWindow.close(); });

    mainWindow.ShowAtStart();
    return QApplication::exec();
}
