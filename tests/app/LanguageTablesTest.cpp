#include "dialogs/LanguageTables.h"
#include "app/MainWindow.h"

#include "components/MonthCalendar.h"
#include "components/kxColorPick.h"
#include "components/kxStandard.h"
#include "date/DateFormat.h"
#include "dialogs/About.h"
#include "dialogs/DatumInfo.h"
#include "dialogs/GaNaar.h"
#include "dialogs/Opties.h"
#include "dialogs/RadioGroup.h"
#include "platform/Tray.h"
#include "settings/MemoryRegistryBackend.h"
#include "settings/Settings.h"
#include "support/LanguageRowSupport.h"
#include "support/SettingsSupport.h"
#include "support/TestSupport.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// The program's windows as main() creates them.
struct Program {
    Program()
    {
        main = std::make_unique<TForm_Orvani>(settings.Model());
        main->AttachDialogs(new TForm_GaNaar(main->MonthCalendar1, main.get()),
                            new TForm_Opties(settings.Model(), main.get()),
                            new TForm_DatumInfo(settings.Model(), main.get()), new TAboutBox(main.get()));
    }
    QWidget *Window(const char *name)
    {
        if (main->objectName() == QLatin1String(name))
            return main.get();
        return main->findChild<QWidget *>(name);
    }

    testsupport::TScopedSettings settings;
    testsupport::TScopedClock clock{MakeDate(2003, 6, 20) + 0.5};
    std::unique_ptr<TForm_Orvani> main;
};

// Every row of the tables against what its window shows.
void ExpectEveryRowShown(Program &program, TLanguage language)
{
    for (const TLanguageRow &row : LanguageRows()) {
        QWidget *window = program.Window(row.Window);
        ASSERT_NE(window, nullptr) << row.Window;
        QObject *control = *row.Control ? window->findChild<QObject *>(row.Control) : window;
        ASSERT_NE(control, nullptr) << row.Window << " " << row.Control;
        EXPECT_EQ(testsupport::ShownRowText(control, row.Target), QString::fromUtf8(row.Texts[language]))
            << row.Window << " " << row.Control;
    }
}

TEST(LanguageTables, EveryRowIsWhatTheWindowsShowInBothLanguages)
{
    Program program;
    for (int taal : {0, 1, 2, 3, 4}) {
        SCOPED_TRACE(taal);
        program.main->ApplyLanguage(LanguageOf(taal));
        ExpectEveryRowShown(program, LanguageOf(taal));
    }
}

// As the program starts: the dialogs are made once the window has drawn its first frame, and
// show the interface language although the window's own language switch ran before them.
TEST(LanguageTables, DialogsMadeAfterTheFirstFrameSpeakTheInterfaceLanguage)
{
    testsupport::TScopedSettings settings;
    TForm_Orvani main(settings.Model());
    settings.Change([](TRecRec &rec) { rec.Taal = 1; });
    int made = 0;
    main.SetDialogMaker([&] {
        ++made;
        main.AttachDialogs(new TForm_GaNaar(main.MonthCalendar1, &main),
                           new TForm_Opties(settings.Model(), &main),
                           new TForm_DatumInfo(settings.Model(), &main), new TAboutBox(&main));
    });
    main.show();
    EXPECT_EQ(made, 0);
    EXPECT_TRUE(testsupport::WaitFor([&] { return made > 0; }));
    EXPECT_EQ(made, 1);
    EXPECT_EQ(main.findChild<TForm_GaNaar *>()->windowTitle(), "Go to");
    EXPECT_EQ(main.findChild<TAboutBox *>()->BitBtn_Extra->text(), "More info");
    main.repaint(); // a later frame, drawn at once; what it queued runs with the posted events
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(made, 1);
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

    program.main->ApplyLanguage(lnDutch);
    EXPECT_EQ(datumInfo->LabelDaysSinceNull->text(), "Dagen sinds 30-12-1899");
    EXPECT_EQ(program.main->JvTrayIcon1->Hint(), "Orvani");
    EXPECT_EQ(program.main->MonthCalendar1->TodayLabel(), "Vandaag:");
    EXPECT_EQ(QCoreApplication::translate("QLineEdit", "&Undo"), "&Ongedaan maken"); // Qt's own

    program.settings.Change([](TRecRec &rec) { rec.Taal = 3; }); // heard by the main window
    EXPECT_EQ(datumInfo->LabelDaysSinceNull->text(), "Days since 30-12-1899");
    EXPECT_EQ(program.main->MonthCalendar1->TodayLabel(), "Today:");
    EXPECT_EQ(QCoreApplication::translate("QLineEdit", "&Undo"), "&Undo");
}

TEST(LanguageTables, ALanguageChosenInOptionsReachesEveryWindowAndKeepsTheChoices)
{
    Program program;
    program.settings.Change([](TRecRec &rec) {
        rec.Taal = 0;
        rec.SysteemLade = true;
        rec.GeminimaliseerdOpstarten = false;
        rec.PositieMaand = 1;
    });
    program.main->ApplyLanguage();
    auto *opties = program.main->findChild<TForm_Opties *>();
    ASSERT_NE(opties, nullptr);
    const std::array pickers{opties->kxColorPickerAchtergrond, opties->kxColorPickerAchtergrondTitel,
                             opties->kxColorPickerTitel, opties->kxColorPickerDagenDezeMaand,
                             opties->kxColorPickerDagenAnderMaanden};

    struct Expected {
        int choice;
        const char *open, *caption, *trayItem, *startupItem, *positionItem;
        TkxLanguage pickers;
        bool englishMemo;
    };
    for (const Expected &expected :
         {Expected{1, "Open", "Options", "In system tray", "Normal (Visible)", "Last", lgEnglish, true},
          Expected{0, "Openen", "Opties", "In systeemlade", "Normaal (zichtbaar)", "Laatste", lgNederlands,
                   false}}) {
        opties->RadioGroup_Taal->SetItemIndex(expected.choice);
        ExpectEveryRowShown(program, LanguageOf(expected.choice));

        EXPECT_EQ(opties->Edited().Taal, expected.choice);
        EXPECT_EQ(program.main->Menu_ST_Open->text(), expected.open);
        EXPECT_EQ(opties->windowTitle(), expected.caption);
        EXPECT_EQ(opties->RadioGroup_SystemTray->Items().at(1), expected.trayItem);
        EXPECT_EQ(opties->RadioGroup_Startup->Items().at(0), expected.startupItem);
        EXPECT_EQ(opties->RadioGroup_MonthPosition->Items().at(1), expected.positionItem);
        EXPECT_EQ(opties->RadioGroup_SystemTray->ItemIndex(), 1);
        EXPECT_EQ(opties->RadioGroup_Startup->ItemIndex(), 0);
        EXPECT_EQ(opties->RadioGroup_MonthPosition->ItemIndex(), 1);
        for (const TkxColorPicker *picker : pickers)
            EXPECT_EQ(picker->Language(), expected.pickers) << picker->objectName().toStdString();
        EXPECT_EQ(opties->MemoDateTagsEng->isHidden(), !expected.englishMemo);
        EXPECT_EQ(opties->MemoDateTagsNed->isHidden(), expected.englishMemo);
    }
    EXPECT_TRUE(opties->Edited().SysteemLade);
    EXPECT_FALSE(opties->Edited().GeminimaliseerdOpstarten);
    EXPECT_EQ(opties->Edited().PositieMaand, 1);

    // The same switch on the open windows, kept as pictures.
    program.main->show();
    opties->show();
    opties->RadioGroup_Taal->SetItemIndex(1);
    QCoreApplication::processEvents();
    EXPECT_EQ(program.main->Menu_ST_Open->text(), "Open");
    testsupport::SaveScreenshot(program.main.get(), "main-after-switch-en");
    testsupport::SaveScreenshot(opties, "opties-after-switch-en");
}

TEST(LanguageTables, ClosingOptionsAppliesTheNewSettingsToTheMainWindow)
{
    Program program;
    program.settings.Change([](TRecRec &rec) {
        rec.Weeknummers = false;
        rec.Taal = 1;
    });
    auto *opties = program.main->findChild<TForm_Opties *>();
    ASSERT_NE(opties, nullptr);
    ASSERT_FALSE(program.main->MonthCalendar1->WeekNumbers());

    QTimer::singleShot(0, opties, [opties] {
        opties->CheckBox_Weeknummers->setChecked(true);
        opties->BitBtn_OK->click();
    });
    program.main->ToolButton_VoorkeurenClick();

    EXPECT_TRUE(program.settings.Record().Weeknummers);
    EXPECT_TRUE(program.main->MonthCalendar1->WeekNumbers());
    EXPECT_FALSE(program.main->StatusPanel(0)->text().isEmpty());
}

} // namespace
