#include "app/DateActions.h"
#include "app/MainWindow.h"

#include "components/MonthCalendar.h"
#include "date/DateFormat.h"
#include "settings/MemoryRegistryBackend.h"
#include "settings/Settings.h"
#include "support/SettingsSupport.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QImageReader>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TFormatSettings DayMonthYear(const char *separator)
{
    TFormatSettings settings = DefaultFormatSettings();
    settings.ShortDateFormat = "dd/mm/yyyy";
    settings.LongDateFormat = "dddd d mmmm yyyy";
    settings.DateSeparator = separator;
    return settings;
}

TEST(CopyDateCaptions, FiveFormsOfOneDate)
{
    const TDateTime date = MakeDate(2026, 12, 6);
    const struct {
        const char *separator;
        const char *pattern;
        std::array<std::string, 5> captions;
    } cases[] = {
        {"-",
         "ww * dddd dd-mm-yy * yyyy",
         {"06-12-2026", "06122026", "Sunday 6 December 2026", "46362", "49 * Sunday 06-12-26 * 2026"}},
        {".",
         "'Copy & paste' d/m",
         {"06.12.2026", "06122026", "Sunday 6 December 2026", "46362", "Copy & paste 6.12"}},
        {"", "", {"06122026", "06122026", "Sunday 6 December 2026", "46362", "06122026"}},
        {" / ", "fff", {"06 / 12 / 2026", "06122026", "Sunday 6 December 2026", "46362", "340"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(CopyDateCaptions(date, c.pattern, DayMonthYear(c.separator)), c.captions) << c.separator;
}

TEST(CopyDateCaptions, SerialOfDatesBeforeTheEpochIsWhole)
{
    const auto captions = CopyDateCaptions(MakeDate(1899, 12, 29), "", DayMonthYear("-"));
    EXPECT_EQ(captions[3], "-1");
}

// The picture save runs the save dialog; the test answers it with a file name.
class SaveAsJpegTest : public testing::Test {
protected:
    void SetUp() override { SetProgramFormatSettings(DayMonthYear("-")); }

    // Triggers "Save as JPG" and types the name into the dialog; returns the dialog's title.
    QString SaveVia(TForm_Orvani &window, const QString &name)
    {
        QString title;
        QTimer::singleShot(0, [&] {
            for (QWidget *widget : QApplication::topLevelWidgets()) {
                if (auto *dialog = qobject_cast<QFileDialog *>(widget); dialog && dialog->isVisible()) {
                    title = dialog->windowTitle();
                    dialog->selectFile(name);
                    QMetaObject::invokeMethod(dialog, "accept");
                }
            }
        });
        window.OpslaanalsJPG1->trigger();
        return title;
    }

    testsupport::TScopedSettings settings;
    QTemporaryDir folder;
};

TEST_F(SaveAsJpegTest, SavesTheMonthViewUnderTheChosenName)
{
    TForm_Orvani window(settings.Model());
    window.ShowAtStart();
    window.resize(560, 300);

    EXPECT_EQ(SaveVia(window, folder.filePath("view")), window.OpslaanalsJPG1->text());
    const QString saved = folder.filePath("view.JPG");
    QImageReader reader(saved);
    EXPECT_EQ(reader.format(), "jpeg");
    EXPECT_EQ(reader.size(), window.MonthCalendar1->size());

    QFile file(saved);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray head = file.read(11);
    EXPECT_EQ(head.left(2), QByteArray("\xFF\xD8", 2));
    EXPECT_EQ(head.mid(6, 5), QByteArray("JFIF\0", 5));
    file.close();

    // A second save over the same name replaces the picture without asking.
    window.resize(300, 300);
    SaveVia(window, saved);
    EXPECT_EQ(QImageReader(saved).size(), window.MonthCalendar1->size());
}

TEST_F(SaveAsJpegTest, ContextMenuScreenshot)
{
    TForm_Orvani window(settings.Model());
    window.ShowAtStart();
    window.ApplyLanguage(lnEnglish);
    window.MonthCalendar1->SetDate(MakeDate(2026, 12, 6));
    window.MonthCalendar1Click();
    window.PopupMenu1->popup(QPoint(0, 0));
    window.PopupMenu1->setActiveAction(window.Kopieren1->menuAction());
    window.Kopieren1->popup(QPoint(window.PopupMenu1->width(), 0));
    testsupport::SaveScreenshot(window.PopupMenu1, "menu-month-view");
    testsupport::SaveScreenshot(window.Kopieren1, "menu-copy");
    EXPECT_EQ(window.Kopieren1->actions().size(), 6); // four forms, a separator, the pattern
    window.Kopieren1->close();
    window.PopupMenu1->close();
}

} // namespace
