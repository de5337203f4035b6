#include "dialogs/OptiesTestSupport.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>

namespace {

using namespace dialogtest;
using namespace optiestest;

class OptiesScreenshotTest : public OptiesFixture {};

// Every tab in both languages, at the platform's text size and half as large again: nothing is
// clipped, and a picture of each is kept for a person to look at.
TEST_F(OptiesScreenshotTest, EveryTabInBothLanguagesShowsWholeTexts)
{
    Set(&TRecRec::Weeknummers, true);
    Set(&TRecRec::Vandaag, true);
    Set(&TRecRec::SysteemLade, true);
    Set(&TRecRec::PositieMaand, 1);
    for (const double scale : {1.0, 1.5}) {
        for (const TLanguage language : {lnDutch, lnEnglish}) {
            const QString suffix = QString(language == lnDutch ? "nl" : "en") + (scale > 1 ? "-large" : "");
            SCOPED_TRACE(suffix.toStdString());
            Set(&TRecRec::Taal, language);
            form->hide();
            SetFontScale(&*form, scale);
            ApplyLanguage(&*form, language);
            Open();
            EXPECT_GE(form->width(), 332);
            EXPECT_GE(form->height(), 480);
            for (int tab = 0; tab < form->PageControl1->count(); ++tab) {
                form->PageControl1->setCurrentIndex(tab);
                QCoreApplication::processEvents();
                EXPECT_EQ(ClippedControls(&*form), QStringList()) << "tab " << tab;
                testsupport::SaveScreenshot(&*form, QString("opties-%1-%2").arg(tab).arg(suffix));
            }
            // The tag list is read whole: the end of its last line, also its longest, is in view.
            QPlainTextEdit *memo = language == lnEnglish ? form->MemoDateTagsEng : form->MemoDateTagsNed;
            EXPECT_FALSE(memo->verticalScrollBar()->isVisible());
            QTextCursor end(memo->document());
            end.movePosition(QTextCursor::End);
            EXPECT_LE(memo->cursorRect(end).bottom(), memo->viewport()->height());
            EXPECT_LE(memo->cursorRect(end).right(), memo->viewport()->width());
            form->PageControl1->setCurrentIndex(0);
        }
    }
}

} // namespace
