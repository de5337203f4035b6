#include "app/MainWindow.h"

#include "components/MonthCalendar.h"
#include "date/DateFormat.h"
#include "dialogs/ToolDialogTestSupport.h"
#include "platform/Colors.h"
#include "platform/Screen.h"
#include "platform/Tray.h"
#include "settings/FileRegistryBackend.h"
#include "settings/Settings.h"
#include "support/SettingsSupport.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <gmock/gmock.h>
#include <map>

namespace {

// 15 March 2026, 10:20:30: a Sunday in week 11.
const TDateTime FixedNow = 46096 + (10 * 3600 + 20 * 60 + 30) / 86400.0;

QString StorePath()
{
    return qEnvironmentVariable("XDG_CONFIG_HOME") + "/KX/Orvani.reg";
}

// Every stored value by "Subkey\Name", as the text after the "=".
std::map<QString, QString> StoredValues()
{
    std::map<QString, QString> values;
    QFile file(StorePath());
    if (!file.open(QIODevice::ReadOnly))
        return values;
    QString section;
    static const QRegularExpression valueLine(R"re(^"([^"]+)"=(.*)$)re");
    for (const QString &line : QString::fromUtf8(file.readAll()).split('\n')) {
        if (line.startsWith('[')) {
            section = line.mid(line.lastIndexOf('\\') + 1).chopped(1);
        } else if (auto match = valueLine.match(line); match.hasMatch()) {
            values[section + "\\" + match.captured(1)] = match.captured(2);
        }
    }
    return values;
}

QString Dword(int value)
{
    return QStringLiteral("dword:%1").arg(quint32(value), 8, 16, QChar('0'));
}

TFormatSettings DayMonthYear()
{
    TFormatSettings settings = DefaultFormatSettings();
    settings.ShortDateFormat = "dd/mm/yyyy";
    settings.LongDateFormat = "dddd d mmmm yyyy";
    settings.DateSeparator = "-";
    settings.TimeSeparator = ":";
    return settings;
}

class MainWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        QFile::remove(StorePath());
        settings.OpenFile(DefaultSettingsPath());
        SetScreenMetricsForTests(TScreenMetrics{1024, 768, 96.0});
        SetProgramFormatSettings(DayMonthYear());
        TTrayIcon::SetAvailableForTests(true);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    void TearDown() override
    {
        SetScreenMetricsForTests(std::nullopt);
        TTrayIcon::ResetAvailableForTests();
    }

    // The store file as given, seen afresh as a newly started program sees it.
    void WriteStore(const QString &text)
    {
        QDir().mkpath(QFileInfo(StorePath()).path());
        QFile file(StorePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(("Windows Registry Editor Version 5.00\n\n" + text).toUtf8());
        file.close();
        settings.OpenFile(DefaultSettingsPath());
    }

    // Sets a field of the settings in force; the window hears of it.
    template <typename T, typename V> void Set(T TRecRec::*field, V value)
    {
        settings.Change([&](TRecRec &rec) { rec.*field = value; });
    }

    std::unique_ptr<TForm_Orvani> Start()
    {
        auto window = std::make_unique<TForm_Orvani>(settings.Model());
        window->ShowAtStart();
        return window;
    }

    static QString ShortDate(TDateTime date)
    {
        return QString::fromStdString(FormatDateStandard(ProgramFormatSettings().ShortDateFormat, date));
    }

    testsupport::TScopedSettings settings;
    testsupport::TScopedClock clock{FixedNow};
};

TEST_F(MainWindowTest, FirstStartShowsTodayCentredAndStoresEveryValue)
{
    auto window = Start();

    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->size(), QSize(204, 223));
    EXPECT_EQ(window->pos(), QPoint(410, 272));
    EXPECT_EQ(window->MonthCalendar1->Date(), Today());
    EXPECT_EQ(window->MonthCalendar1->FirstVisibleMonth(), (TYearMonth{2026, 3}));
    EXPECT_EQ(window->StatusPanel(0)->text(), "15-03-2026");
    EXPECT_EQ(window->StatusPanel(1)->text(), "10:20:30");
    EXPECT_EQ(window->MonthCalendar1->toolTip(), "Sunday 15 March 2026");

    window->close();
    const auto values = StoredValues();
    const char *algemeen[] = {"KleurAchtergrond",
                              "KleurAchtergrondTitel",
                              "KleurTitel",
                              "KleurDagenDezeMaand",
                              "KleurDagenAndereMaand",
                              "SysteemLade",
                              "GeminimaliseerdOpstarten",
                              "Weeknummers",
                              "Vandaag",
                              "Lettertype",
                              "Lettergrootte",
                              "StatusTonen",
                              "PositieMaand",
                              "KopieerDatumFormaat",
                              "HintSysteemLadeFormaat",
                              "AlphaBlend",
                              "Taal",
                              "AantalMaanden",
                              "PictogrammenOplichten",
                              "TitelsKnoppen"};
    for (const char *name : algemeen)
        EXPECT_EQ(values.count(QString("Algemeen\\") + name), 1u) << name;
    EXPECT_EQ(values.at("Positie\\Breedte"), Dword(204));
    EXPECT_EQ(values.at("Positie\\Hoogte"), Dword(223));
    EXPECT_EQ(values.at("Positie\\Links"), Dword(410));
    EXPECT_EQ(values.at("Positie\\Boven"), Dword(272));
    EXPECT_EQ(values.at("Positie\\OpVoorgrond"), Dword(0));
    EXPECT_EQ(values.size(), 25u);
}

TEST_F(MainWindowTest, ApplySettingsReachesEveryControl)
{
    auto window = Start();
    Set(&TRecRec::KleurAchtergrond, 0x0000FF);
    Set(&TRecRec::KleurAchtergrondTitel, 0x00FF00);
    Set(&TRecRec::KleurTitel, 0xFF0000);
    Set(&TRecRec::KleurDagenDezeMaand, 0x123456);
    Set(&TRecRec::KleurDagenAndereMaand, 0x654321);
    Set(&TRecRec::Weeknummers, true);
    Set(&TRecRec::Vandaag, true);
    Set(&TRecRec::Lettertype, "DejaVu Sans");
    Set(&TRecRec::Lettergrootte, 12);
    Set(&TRecRec::StatusTonen, false);
    Set(&TRecRec::TitelsKnoppen, true);
    window->ApplySettings();

    TMonthCalendar *calendar = window->MonthCalendar1;
    EXPECT_EQ(window->palette().color(QPalette::Window), QColor(255, 0, 0));
    EXPECT_EQ(calendar->Color(TMonthCalendarColor::MonthBackground), QColor(255, 0, 0));
    EXPECT_EQ(calendar->Color(TMonthCalendarColor::TitleBackground), QColor(0, 255, 0));
    EXPECT_EQ(calendar->Color(TMonthCalendarColor::TitleText), QColor(0, 0, 255));
    EXPECT_EQ(calendar->Color(TMonthCalendarColor::Text), ToQColor(0x123456));
    EXPECT_EQ(calendar->Color(TMonthCalendarColor::TrailingText), ToQColor(0x654321));
    EXPECT_TRUE(calendar->WeekNumbers());
    EXPECT_TRUE(calendar->TodayCircle());
    EXPECT_EQ(calendar->font().family(), "DejaVu Sans");
    EXPECT_EQ(calendar->font().pointSize(), 12);
    EXPECT_FALSE(window->StatusBar1->isVisibleTo(window.get()));
    EXPECT_FALSE(window->Timer1->isActive());
    EXPECT_EQ(window->ToolButton_GaNaar->size(), QSize(70, 70));
    EXPECT_EQ(window->ToolButton_GaNaar->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);

    Set(&TRecRec::TitelsKnoppen, false);
    Set(&TRecRec::StatusTonen, true);
    window->ApplySettings();
    EXPECT_EQ(window->ToolButton_Afsluiten->size(), QSize(30, 30));
    EXPECT_EQ(window->ToolButton_Afsluiten->toolButtonStyle(), Qt::ToolButtonIconOnly);
    EXPECT_TRUE(window->StatusBar1->isVisibleTo(window.get()));
    EXPECT_TRUE(window->Timer1->isActive());
    EXPECT_EQ(window->ToolButton_Afsluiten->toolTip(), "Exit");
}

TEST_F(MainWindowTest, OpacityIsNeverBelowTheSlidersLowestValue)
{
    auto window = Start();
    const struct {
        int stored;
        int shown;
    } cases[] = {{250, 255}, {255, 255}, {249, 249}, {100, 100}, {50, 100}, {-7, 100}};
    for (const auto &c : cases) {
        Set(&TRecRec::AlphaBlend, c.stored);
        window->ApplySettings();
        EXPECT_EQ(qRound(window->windowOpacity() * 255), c.shown) << c.stored;
    }
}

TEST_F(MainWindowTest, FontSizesBeyondTheLargestAreDrawnAtTheLargest)
{
    auto window = Start();
    const struct {
        int stored;
        int shown;
    } cases[] = {{12, 12}, {1, 1}, {144, 144}, {145, 144}, {200, 144}, {2147483647, 144}, {0, 9}, {-5, 9}};
    for (const auto &c : cases) {
        Set(&TRecRec::Lettergrootte, c.stored);
        window->ApplySettings();
        EXPECT_EQ(window->MonthCalendar1->font().pointSize(), c.shown) << c.stored;
    }
}

TEST_F(MainWindowTest, TheWindowGrowsOnlyWhileItsContentNeedsItAndStoresTheUsersSize)
{
    auto window = Start();
    ASSERT_EQ(window->size(), QSize(204, 223));
    Set(&TRecRec::TitelsKnoppen, true);
    window->ApplySettings();
    // The whole toolbar shows: the window is at least as wide as its six buttons.
    EXPECT_GE(window->width(), 6 * 70);
    EXPECT_EQ(window->ToolBar1->width(), window->ToolBar1->minimumWidth());
    EXPECT_GE(window->ToolBar1->minimumWidth(), 6 * 70);

    Set(&TRecRec::TitelsKnoppen, false);
    window->ApplySettings();
    EXPECT_EQ(window->size(), QSize(204, 223));

    Set(&TRecRec::TitelsKnoppen, true);
    window->ApplySettings();
    window->close();
    const auto values = StoredValues();
    EXPECT_EQ(values.at("Positie\\Breedte"), Dword(204));
    EXPECT_EQ(values.at("Positie\\Hoogte"), Dword(223));
}

TEST_F(MainWindowTest, LanguageFollowsTaal)
{
    auto window = Start();
    for (int taal : {0, 1, 2, 3, 4}) {
        Set(&TRecRec::Taal, taal);
        window->ApplyLanguage();
        const bool dutch = taal == 0;
        EXPECT_EQ(window->ToolButton_GaNaar->text(), dutch ? "&Ga naar" : "&Go to") << taal;
        EXPECT_EQ(window->ToolButton_GaNaar->toolTip(),
                  dutch ? "Ga naar opgegeven datum" : "Go to given date");
        EXPECT_EQ(window->Menu_ST_Exit->text(), dutch ? "Afsluiten" : "Exit");
        EXPECT_EQ(window->Kopieren1->title(), dutch ? "Kopiëren" : "Copy");
        EXPECT_EQ(window->windowTitle(), "Orvani");
    }
}

TEST_F(MainWindowTest, SelectionFillsStatusHintCopyCaptionsAndTrayTooltip)
{
    auto window = Start();
    Set(&TRecRec::KopieerDatumFormaat, "'Week' ww & dd");
    Set(&TRecRec::HintSysteemLadeFormaat, "ww * dddd dd-mm-yy * yyyy");
    window->MonthCalendar1->SetDate(MakeDate(2026, 12, 6));
    window->MonthCalendar1Click();

    EXPECT_EQ(window->StatusPanel(0)->text(), "06-12-2026");
    EXPECT_EQ(window->MonthCalendar1->toolTip(), "Sunday 6 December 2026");
    const QStringList expected = {"06-12-2026", "06122026", "Sunday 6 December 2026", "46362",
                                  "Week 49 & 06"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(TForm_Orvani::CopyText(window->CopyDate[i]), expected[i]) << i;
    EXPECT_EQ(window->CopyDate[4]->text(), "Week 49 && 06"); // shown with the "&", not as an accelerator
    EXPECT_EQ(window->JvTrayIcon1->Hint(), "Orvani - 49 * Sunday 06-12-26 * 2026");

    window->CopyDate[4]->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), "Week 49 & 06");
    window->CopyDate[3]->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), "46362");
}

TEST_F(MainWindowTest, MonthPositionPutsTodaysMonthFirstOrLast)
{
    // Three months side by side.
    for (int positie : {0, 1}) {
        WriteStore(QStringLiteral("[HKEY_CURRENT_USER\\Software\\KX\\Orvani\\Algemeen]\n\"PositieMaand\"=%1\n"
                                  "[HKEY_CURRENT_USER\\Software\\KX\\Orvani\\Positie]\n\"Breedte\"=%2\n")
                       .arg(Dword(positie), Dword(560)));
        auto window = Start();
        ASSERT_EQ(window->MonthCalendar1->VisibleMonthCount(), 3) << positie;
        EXPECT_EQ(window->MonthCalendar1->FirstVisibleMonth(), (TYearMonth{2026, positie == 0 ? 3 : 1}));
        EXPECT_EQ(window->MonthCalendar1->Date(), Today());
        if (positie == 1)
            testsupport::SaveScreenshot(window.get(), "main-three-months");
        window->close();
    }
}

TEST_F(MainWindowTest, MinimiseGoesToTheTrayOnlyWhenAskedAndAvailable)
{
    const struct {
        bool systeemLade;
        bool trayAvailable;
        bool hidden;
    } cases[] = {{false, true, false}, {true, true, true}, {true, false, false}};
    for (const auto &c : cases) {
        TTrayIcon::SetAvailableForTests(c.trayAvailable);
        auto window = Start();
        Set(&TRecRec::SysteemLade, c.systeemLade);
        window->setWindowState(Qt::WindowMinimized); // as the window manager does
        EXPECT_EQ(window->isHidden(), c.hidden) << c.systeemLade << c.trayAvailable;
        EXPECT_EQ(window->JvTrayIcon1->Active(), c.hidden);
        EXPECT_FALSE(window->Timer1->isActive());

        if (c.hidden)
            window->Menu_ST_OpenClick();
        else
            window->showNormal();
        EXPECT_TRUE(window->isVisible());
        EXPECT_FALSE(window->JvTrayIcon1->Active());
        EXPECT_TRUE(window->Timer1->isActive());
        window->close();
    }
}

TEST_F(MainWindowTest, ClockRunsAfterRestoreEvenWithoutStatusBar)
{
    WriteStore("[HKEY_CURRENT_USER\\Software\\KX\\Orvani\\Algemeen]\n\"StatusTonen\"=dword:00000000\n");
    auto window = Start();
    EXPECT_FALSE(window->Timer1->isActive());
    window->showMinimized();
    window->showNormal();
    EXPECT_TRUE(window->Timer1->isActive());
    EXPECT_FALSE(window->StatusBar1->isVisibleTo(window.get()));
}

TEST_F(MainWindowTest, StartsMinimisedToTheTaskBarAndShowsAtTheFirstRestore)
{
    WriteStore(
        "[HKEY_CURRENT_USER\\Software\\KX\\Orvani\\Algemeen]\n\"GeminimaliseerdOpstarten\"=dword:00000001\n");
    auto window = Start();
    EXPECT_TRUE(window->isMinimized());
    EXPECT_FALSE(window->Timer1->isActive());
    EXPECT_FALSE(window->JvTrayIcon1->Active());
    EXPECT_TRUE(window->StatusPanel(0)->text().isEmpty()); // the show sequence has not run

    window->showNormal();
    EXPECT_EQ(window->StatusPanel(0)->text(), "15-03-2026");
    EXPECT_EQ(window->pos(), QPoint(410, 272));
    EXPECT_TRUE(window->Timer1->isActive());
}

TEST_F(MainWindowTest, StartsInTheTrayAndOpensFromIt)
{
    WriteStore(
        "[HKEY_CURRENT_USER\\Software\\KX\\Orvani\\Algemeen]\n\"GeminimaliseerdOpstarten\"=dword:00000001\n"
        "\"SysteemLade\"=dword:00000001\n\"Taal\"=dword:00000000\n");
    auto window = Start();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(window->JvTrayIcon1->Active());

    emit window->PopupMenu_SystemTray->aboutToShow();
    EXPECT_EQ(window->Menu_ST_Open->text(), "Openen");
    EXPECT_EQ(window->JvTrayIcon1->Hint(), "Orvani");

    emit window->JvTrayIcon1->OnDblClick();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->JvTrayIcon1->Active());
    EXPECT_THAT(window->JvTrayIcon1->Hint().toStdString(), testing::StartsWith("Orvani - 11 * "));
    // The tray menu keeps the dated tooltip once the window has been shown.
    emit window->PopupMenu_SystemTray->aboutToShow();
    EXPECT_THAT(window->JvTrayIcon1->Hint().toStdString(), testing::StartsWith("Orvani - 11 * "));
}

TEST_F(MainWindowTest, WithoutATrayAHiddenStartBecomesAMinimisedOne)
{
    TTrayIcon::SetAvailableForTests(false);
    WriteStore(
        "[HKEY_CURRENT_USER\\Software\\KX\\Orvani\\Algemeen]\n\"GeminimaliseerdOpstarten\"=dword:00000001\n"
        "\"SysteemLade\"=dword:00000001\n");
    auto window = Start();
    EXPECT_TRUE(window->isMinimized());
    EXPECT_FALSE(window->JvTrayIcon1->Active());
}

TEST_F(MainWindowTest, StayOnTopIsRestoredAndStoredBack)
{
    WriteStore("[HKEY_CURRENT_USER\\Software\\KX\\Orvani\\Positie]\n\"OpVoorgrond\"=dword:00000001\n");
    auto window = Start();
    EXPECT_TRUE(window->ToolButton_StayOnTop->isChecked());
    EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
    const QPoint place = window->pos();

    // Space and Enter on the focused button act as a click does.
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}) {
        const bool wasOnTop = window->ToolButton_StayOnTop->isChecked();
        QTest::keyClick(window->ToolButton_StayOnTop, key);
        EXPECT_TRUE(testsupport::WaitFor([&] {
            return window->ToolButton_StayOnTop->isChecked() != wasOnTop;
        })) << key;
    }
    EXPECT_FALSE(window->ToolButton_StayOnTop->isChecked());
    EXPECT_FALSE(window->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->pos(), place);

    window->move(100, 50);
    window->resize(300, 260);
    window->close();
    const auto values = StoredValues();
    EXPECT_EQ(values.at("Positie\\OpVoorgrond"), Dword(0));
    EXPECT_EQ(values.at("Positie\\Links"), Dword(100));
    EXPECT_EQ(values.at("Positie\\Boven"), Dword(50));
    EXPECT_EQ(values.at("Positie\\Breedte"), Dword(300));
    EXPECT_EQ(values.at("Positie\\Hoogte"), Dword(260));
}

TEST_F(MainWindowTest, AWindowNeverShownKeepsItsStoredPlacement)
{
    WriteStore(
        "[HKEY_CURRENT_USER\\Software\\KX\\Orvani\\Algemeen]\n\"GeminimaliseerdOpstarten\"=dword:00000001\n"
        "\"SysteemLade\"=dword:00000001\n"
        "[HKEY_CURRENT_USER\\Software\\KX\\Orvani\\Positie]\n\"Links\"=dword:00000011\n"
        "\"Boven\"=dword:00000022\n\"Breedte\"=dword:00000133\n\"Hoogte\"=dword:00000144\n");
    auto window = Start();
    window->Menu_ST_ExitClick();
    const auto values = StoredValues();
    EXPECT_EQ(values.at("Positie\\Links"), Dword(0x11));
    EXPECT_EQ(values.at("Positie\\Boven"), Dword(0x22));
    EXPECT_EQ(values.at("Positie\\Breedte"), Dword(0x133));
    EXPECT_EQ(values.at("Positie\\Hoogte"), Dword(0x144));
}

TEST_F(MainWindowTest, GoToTodayFromTheMenu)
{
    auto window = Start();
    window->MonthCalendar1->SetDate(MakeDate(2001, 5, 5));
    window->Ganaarvandaag1->trigger();
    EXPECT_EQ(window->MonthCalendar1->Date(), Today());
    EXPECT_EQ(window->StatusPanel(0)->text(), "15-03-2026");
}

TEST_F(MainWindowTest, Screenshots)
{
    auto window = Start();
    testsupport::SaveScreenshot(window.get(), "main-default");

    Set(&TRecRec::TitelsKnoppen, true);
    Set(&TRecRec::Taal, 1);
    window->ApplySettings();
    window->ApplyLanguage();
    window->resize(480, 330);
    testsupport::SaveScreenshot(window.get(), "main-captions");

    Set(&TRecRec::TitelsKnoppen, false);
    Set(&TRecRec::Weeknummers, true);
    Set(&TRecRec::Vandaag, true);
    Set(&TRecRec::KleurAchtergrond, 0xE0F0FF);
    Set(&TRecRec::KleurAchtergrondTitel, 0x005000);
    Set(&TRecRec::KleurDagenAndereMaand, 0x808080);
    window->ApplySettings();
    window->resize(900, 620);
    testsupport::SaveScreenshot(window.get(), "main-large");
    EXPECT_GE(window->MonthCalendar1->VisibleMonthCount(), 6);

    // A larger desktop font widens the status panels instead of cutting their text.
    QFont larger = window->StatusBar1->font();
    larger.setPointSize(14);
    window->StatusBar1->setFont(larger);
    window->resize(480, 330);
    window->layout()->activate();
    for (const int i : {0, 1}) {
        const QLabel *panel = window->StatusPanel(i);
        EXPECT_GE(panel->contentsRect().width(), panel->fontMetrics().horizontalAdvance(panel->text())) << i;
    }
}

// The theme changes under the running window: colours never chosen follow it, chosen ones stay,
// and every text reads.
TEST_F(MainWindowTest, EveryTextReadsUnderEachThemeAndFollowsItsChange)
{
    auto window = Start();
    Set(&TRecRec::Weeknummers, true);
    Set(&TRecRec::Vandaag, true);
    Set(&TRecRec::TitelsKnoppen, true);
    window->ApplySettings();
    window->resize(480, 330);
    TMonthCalendar *calendar = window->MonthCalendar1;
    for (const testsupport::TTheme theme : testsupport::Themes) {
        const testsupport::TScopedTheme themed(theme);
        const bool dark = theme != testsupport::TTheme::Light;
        SCOPED_TRACE(testsupport::ThemeName(theme));
        EXPECT_EQ(calendar->Color(TMonthCalendarColor::MonthBackground),
                  ToQColor(dark ? 0x0027211E : 0x00F5F2F1));
        EXPECT_EQ(calendar->Color(TMonthCalendarColor::TitleBackground),
                  ToQColor(dark ? 0x00F8B48A : 0x00800000));
        EXPECT_EQ(window->StatusBar1->palette().color(QPalette::WindowText),
                  calendar->Color(TMonthCalendarColor::Text));
        EXPECT_EQ(dialogtest::ClippedControls(window.get()), QStringList());
        testsupport::SaveScreenshot(window.get(), QString("main-%1").arg(testsupport::ThemeName(theme)));

        // One colour chosen: the five are the user's, kept under every theme.
        Set(&TRecRec::KleurAchtergrond, 0x00E0F0FF);
        window->ApplySettings();
        EXPECT_EQ(calendar->Color(TMonthCalendarColor::MonthBackground), ToQColor(0x00E0F0FF));
        EXPECT_EQ(calendar->Color(TMonthCalendarColor::Text), ToQColor(0));
        EXPECT_EQ(dialogtest::ClippedControls(window.get()), QStringList());
        Set(&TRecRec::KleurAchtergrond, 0x00F5F2F1);
        window->ApplySettings();
    }
    EXPECT_EQ(calendar->Color(TMonthCalendarColor::MonthBackground), ToQColor(0x00F5F2F1));
}

} // namespace
