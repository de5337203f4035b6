// Every dialog on small and crowded screens: its frame stays inside the part of the screen that
// windows may use, centred there at every showing, and what cannot fit scrolls.

#include "components/MonthCalendar.h"
#include "dialogs/About.h"
#include "dialogs/DatumInfo.h"
#include "dialogs/GaNaar.h"
#include "dialogs/Opties.h"
#include "dialogs/ToolDialogTestSupport.h"
#include "platform/Screen.h"
#include "settings/MemoryRegistryBackend.h"
#include "settings/Settings.h"
#include "support/SettingsSupport.h"

#include <QApplication>
#include <QScrollBar>
#include <gtest/gtest.h>
#include <memory>

namespace {

using namespace dialogtest;

class ToolDialogFitTest : public testing::Test {
protected:
    void SetUp() override
    {
        settings.Read();
        SetProgramFormatSettings(KnownSettings());
    }
    void TearDown() override
    {
        SetScreenMetricsForTests(std::nullopt);
        SetProgramFormatSettings(DefaultFormatSettings());
    }

    testsupport::TScopedSettings settings;
    testsupport::TScopedClock clock{MakeDate(2003, 6, 20) + 0.5};
    TMonthCalendar monthView;
};

TEST_F(ToolDialogFitTest, EveryFrameLiesCentredInsideTheScreenAndStaysThereWhenShownAgain)
{
    struct Screen {
        TScreenMetrics metrics;
        bool scrolls; // the Options and Date info dialogs cannot show their content whole
    };
    const Screen screens[] = {
        {{1024, 768, 96, QRect(0, 0, 1024, 740)}, false}, // a panel at the bottom
        {{1024, 768, 120, QRect(0, 30, 1024, 738)}, false}, // a panel at the top
        {{1024, 768, 144, QRect()}, false},
        {{800, 600, 144, QRect(0, 0, 800, 570)}, true},
    };
    for (const Screen &screen : screens) {
        SetScreenMetricsForTests(screen.metrics);
        const QRect area = PrimaryAvailableArea();
        // Made for the screen at hand, as the program makes them at its start.
        const std::unique_ptr<TToolDialog> dialogs[] = {
            std::make_unique<TForm_GaNaar>(&monthView), std::make_unique<TForm_Opties>(settings.Model()),
            std::make_unique<TForm_DatumInfo>(settings.Model()), std::make_unique<TAboutBox>()};
        for (const auto &dialog : dialogs) {
            SCOPED_TRACE(testing::Message() << dialog->objectName().toStdString() << " at "
                                            << screen.metrics.Dpi << " dpi on " << screen.metrics.Width);
            SetFontScale(dialog.get(), screen.metrics.Dpi / 96);
            dialog->show();
            const QRect frame = dialog->frameGeometry();
            EXPECT_NE(frame, dialog->geometry()); // the frame is there to be placed
            EXPECT_TRUE(area.contains(frame)) << frame.x() << "," << frame.y() << " " << frame.width() << "x"
                                              << frame.height();
            EXPECT_LE((frame.center() - area.center()).manhattanLength(), 2);
            EXPECT_EQ(ClippedControls(dialog.get()), QStringList());
            testsupport::SaveScreenshot(dialog.get(), QString("fit_%1_%2dpi_%3")
                                                          .arg(dialog->objectName())
                                                          .arg(screen.metrics.Dpi)
                                                          .arg(screen.metrics.Width));

            auto *scroller = dialog->findChild<TFitScrollArea *>();
            if (scroller) {
                EXPECT_FALSE(scroller->horizontalScrollBar()->isVisible());
                EXPECT_EQ(scroller->verticalScrollBar()->isVisible(), screen.scrolls);
                // The lowest control that takes the focus is scrolled into view when it gets it.
                QWidget *lowest = nullptr;
                for (QWidget *control : scroller->widget()->findChildren<QWidget *>()) {
                    if (control->isVisible() && control->focusPolicy() & Qt::TabFocus &&
                        (!lowest || control->mapTo(scroller->widget(), QPoint()).y() >
                                        lowest->mapTo(scroller->widget(), QPoint()).y())) {
                        lowest = control;
                    }
                }
                ASSERT_NE(lowest, nullptr);
                QApplication::setActiveWindow(dialog.get());
                // It opens at its top, whichever control has the focus; a control reached from
                // another one (Tab, a click) comes into view.
                EXPECT_EQ(scroller->verticalScrollBar()->value(), 0);
                dialog->findChild<QWidget *>("BitBtn_OK")->setFocus();
                lowest->setFocus();
                const QRect shown(lowest->mapTo(scroller->viewport(), QPoint()), lowest->size());
                EXPECT_TRUE(scroller->viewport()->rect().contains(shown)) << lowest->objectName().toStdString();
            }

            dialog->hide();
            dialog->show();
            EXPECT_EQ(dialog->frameGeometry(), frame);
            dialog->hide();
        }
    }
}

} // namespace
