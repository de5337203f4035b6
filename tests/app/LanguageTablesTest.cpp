#include "app/LanguageTables.h"
#include "app/MainWindow.h"

#include "components/MonthCalendar.h"
#include "date/DateFormat.h"
#include "dialogs/About.h"
#include "dialogs/DatumInfo.h"
#include "dialogs/GaNaar.h"
#include "dialogs/Opties.h"
#include "platform/Tray.h"
#include "settings/MemoryRegistryBackend.h"
#include "settings/RecRec.h"
#include "settings/Settings.h"

#include <QLabel>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

// The program's windows as main() creates them.
struct Program {
    Program()
    {
        SetUserSettingsBackend(&store);
        RecRec = TRecRec{};
        main = std::make_unique<TForm_Orvani>();
        main->AttachDialogs(new TForm_GaNaar(main->MonthCalendar1, main.get()), new TForm_Opties(main.get()),
                            new TForm_DatumInfo(main.get()), new TAboutBox(main.get()));
    }
    ~Program() { SetUserSettingsBackend(nullptr); }

    QWidget *Window(const char *name)
    {
        if (main->objectName() == QLatin1String(name))
            return main.get();
        return main->findChild<QWidget *>(name);
    }

    TMemoryRegistryBackend store;
    std::unique_ptr<TForm_Orvani> main;
};

QString Shown(QObject *control, TTextTarget target)
{
    switch (target) {
    case TTextTarget::Text:
        return control->property("text").toString();
    case TTextTarget::Hint:
        return control->property("toolTip").toString();
    case TTextTarget::Caption:
        return control->property("windowTitle").toString();
    case TTextTarget::Title:
        return control->property("title").toString();
    case TTextTarget::Tab:
        for (QWidget *up = qobject_cast<QWidget *>(control)->parentWidget(); up; up = up->parentWidget())
            if (auto *tabs = qobject_cast<QTabWidget *>(up);
                tabs && tabs->indexOf(static_cast<QWidget *>(control)) >= 0)
                return tabs->tabText(tabs->indexOf(static_cast<QWidget *>(control)));
        return "(no tab)";
    }
    return {};
}

TEST(LanguageTables, EveryRowIsWhatTheWindowsShowInBothLanguages)
{
    Program program;
    for (int taal : {0, 1, 2, 3, 4}) {
        RecRec.Taal = taal;
        program.main->ApplyLanguage();
        const TLanguage language = LanguageOf(taal);
        for (const TLanguageRow &row : LanguageRows()) {
            QWidget *window = program.Window(row.Window);
            ASSERT_NE(window, nullptr) << row.Window;
            QObject *control = *row.Control ? window->findChild<QObject *>(row.Control) : window;
            ASSERT_NE(control, nullptr) << row.Window << " " << row.Control;
            EXPECT_EQ(Shown(control, row.Target), QString::fromUtf8(row.Texts[language]))
                << row.Window << " " << row.Control << " taal " << taal;
        }
    }
}

TEST(LanguageTables, TextsBeyondTheRowsFollowTheLanguage)
{
    Program program;
    const TFormatSettings settings = [] {
        TFormatSettings s = DefaultFormatSettings();
        s.ShortDateFormat = "dd/mm/yyyy";
        s.DateSeparator = "-";
        return s;
    }();
    SetProgramFormatSettings(settings);
    auto *datumInfo = program.main->findChild<TForm_DatumInfo *>();
    ASSERT_NE(datumInfo, nullptr);

    RecRec.Taal = 0;
    program.main->ApplyLanguage();
    EXPECT_EQ(datumInfo->LabelDaysSinceNull->text(), "Dagen sinds 30-12-1899");
    EXPECT_EQ(program.main->JvTrayIcon1->Hint(), "Orvani");
    EXPECT_EQ(program.main->MonthCalendar1->TodayLabel(), "Vandaag:");

    RecRec.Taal = 3;
    program.main->ApplyLanguage();
    EXPECT_EQ(datumInfo->LabelDaysSinceNull->text(), "Days since 30-12-1899");
    EXPECT_EQ(program.main->MonthCalendar1->TodayLabel(), "Today:");
}

} // namespace
