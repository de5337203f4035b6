#include "dialogs/OptiesTestSupport.h"

#include "components/kxFontCombobox.h"
#include "dialogs/OptiesPictures.h"
#include "settings/StoreTestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEnterEvent>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSlider>
#include <QToolButton>

namespace {

using namespace dialogtest;
using namespace optiestest;

class OptiesTest : public OptiesFixture {
protected:
    // Replaces a text field's text by typing.
    static void Type(QWidget *field, const QString &text)
    {
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
    }

    static QImage Picture(const QLabel *label) { return label->pixmap().toImage(); }

    // Clicks a check box by its indicator.
    static void Toggle(QCheckBox *box)
    {
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    }

    // The stored general values, by name.
    std::map<std::string, TRegValue> StoredValues() const
    {
        std::map<std::string, TRegValue> values;
        for (const TRegKey &key : backend.Document().Keys()) {
            if (SameRegName(key.Path, AlgemeenKey)) {
                for (const TRegChange &value : key.Values) {
                    values[value.Name] = value.Value;
                }
            }
        }
        return values;
    }
};

// OK at once writes all twenty general values and the version, and changes none of them when
// they lie within the controls' ranges.
TEST_F(OptiesTest, OkAtOnceRewritesTheGeneralSettingsUnchanged)
{
    TRecRec altered = settings.Record();
    altered.KleurAchtergrond = 0x123456;
    altered.KleurAchtergrondTitel = clBtnFace;
    altered.KleurTitel = 0x00FF00;
    altered.KleurDagenDezeMaand = 0xABCDEF;
    altered.KleurDagenAndereMaand = 0x010203;
    altered.SysteemLade = altered.GeminimaliseerdOpstarten = altered.Weeknummers = altered.Vandaag = true;
    altered.Taal = 1;
    altered.PictogrammenOplichten = false;
    altered.TitelsKnoppen = true;
    altered.Lettertype = "No Such Font";
    altered.Lettergrootte = 17;
    altered.StatusTonen = false;
    altered.PositieMaand = 1;
    altered.KopieerDatumFormaat = "  d mmmm  ";
    altered.HintSysteemLadeFormaat = "";
    altered.AlphaBlend = 180;
    altered.AantalMaanden = 7;

    for (const TRecRec &stored : {settings.Record(), altered}) {
        ASSERT_TRUE(WriteAlgemeen(backend, stored, storetest::UnlikeInEveryField(stored)));
        settings.Read(); // as the next start does
        auto before = StoredValues();
        ASSERT_EQ(before.size(), 21u);
        Open();
        ClickOk();
        EXPECT_FALSE(form->isVisible());
        EXPECT_EQ(form->result(), QDialog::Accepted);
        EXPECT_EQ(StoredValues(), before);
        EXPECT_EQ(Stored("Versie")->Data, "2.2");
    }
    EXPECT_EQ(messages.size(), 0u);
}

TEST_F(OptiesTest, FontSizeFollowsEveryChangeOfItsText)
{
    Open();
    form->PageControl1->setCurrentWidget(form->TabSheet_Weergave);
    Type(form->ComboBoxFontSize, "1");
    EXPECT_EQ(Current().Lettergrootte, 1);
    QTest::keyClicks(form->ComboBoxFontSize, "4");
    EXPECT_EQ(Current().Lettergrootte, 14);

    struct Case {
        const char *typed;
        int stored;
    };
    for (const Case &c : {Case{"abc", 9}, Case{"12pt", 9}, Case{"", 9}, Case{"1.5", 9},
                          Case{"99999999999", 9}, Case{"30", 30}, Case{"-3", -3}}) {
        SCOPED_TRACE(c.typed);
        Type(form->ComboBoxFontSize, c.typed);
        EXPECT_EQ(Current().Lettergrootte, c.stored);
    }
    form->ComboBoxFontSize->setCurrentIndex(form->ComboBoxFontSize->findText("22"));
    EXPECT_EQ(Current().Lettergrootte, 22);
}

TEST_F(OptiesTest, OpacityStaysWithinTheSlidersRange)
{
    struct Case {
        int stored, shown;
    };
    for (const Case &c : {Case{255, 250}, Case{50, 100}, Case{-7, 100}, Case{180, 180}, Case{100, 100}}) {
        SCOPED_TRACE(c.stored);
        Set(&TRecRec::AlphaBlend, c.stored);
        Open();
        EXPECT_EQ(form->TrackBarAlphaBlend->value(), c.shown);
        EXPECT_EQ(form->LabelAlphaBlend->text(), QString::number(c.shown));
        ClickOk();
        EXPECT_EQ(Current().AlphaBlend, c.shown);
        EXPECT_EQ(static_cast<int>(Stored("AlphaBlend")->Number), c.shown);
    }
}

TEST_F(OptiesTest, SliderLabelFollowsAtOnceButTheSettingOnlyOnOk)
{
    Open();
    form->PageControl1->setCurrentWidget(form->TabSheet_Weergave);
    form->TrackBarAlphaBlend->setFocus();
    QTest::keyClick(form->TrackBarAlphaBlend, Qt::Key_PageDown);
    EXPECT_EQ(form->LabelAlphaBlend->text(), "240");
    EXPECT_EQ(Current().AlphaBlend, 250);
    ClickOk();
    EXPECT_EQ(Current().AlphaBlend, 240);
}

// The title bar's close button keeps what the controls wrote at once, for this run only, and
// drops the colours, patterns and opacity.
TEST_F(OptiesTest, ClosingWithoutOkKeepsImmediateChangesInMemoryOnly)
{
    const TRecRec original = settings.Record();
    Open();
    form->kxColorPickerAchtergrond->SelectColor(nullptr, 0x00FF00);
    EXPECT_EQ(form->kxColorPickerAchtergrond->Color(), 0x00FF00u);
    form->PageControl1->setCurrentWidget(form->TabSheet_Weergave);
    Toggle(form->CheckBox_Weeknummers);
    form->TrackBarAlphaBlend->setValue(120);
    form->PageControl1->setCurrentWidget(form->TabSheetDateFormat);
    Type(form->EditCopyDate, "yyyy");
    form->close();
    EXPECT_FALSE(form->isVisible());

    EXPECT_TRUE(Current().Weeknummers);
    EXPECT_EQ(Current().KleurAchtergrond, original.KleurAchtergrond);
    EXPECT_EQ(Current().AlphaBlend, original.AlphaBlend);
    EXPECT_EQ(Current().KopieerDatumFormaat, original.KopieerDatumFormaat);
    EXPECT_EQ(Stored("Weeknummers")->Number, 0u);

    // The next showing starts again from the settings.
    Open();
    EXPECT_EQ(form->kxColorPickerAchtergrond->Color(), original.KleurAchtergrond);
    EXPECT_EQ(form->TrackBarAlphaBlend->value(), original.AlphaBlend);
    EXPECT_EQ(form->EditCopyDate->text().toStdString(), original.KopieerDatumFormaat);
    EXPECT_TRUE(form->CheckBox_Weeknummers->isChecked());
}

TEST_F(OptiesTest, OkTakesColoursPatternsAndOpacity)
{
    Open();
    form->kxColorPickerDagenAnderMaanden->SelectColor(nullptr, 0x0000FF);
    form->TrackBarAlphaBlend->setValue(150);
    form->PageControl1->setCurrentWidget(form->TabSheetDateFormat);
    Type(form->EditHintSystemTray, " ww ");
    ClickOk();
    EXPECT_EQ(Current().KleurDagenAndereMaand, 0x0000FFu);
    EXPECT_EQ(Current().AlphaBlend, 150);
    EXPECT_EQ(Current().HintSysteemLadeFormaat, " ww ");
    EXPECT_EQ(Stored("HintSysteemLadeFormaat")->Data, " ww ");
    EXPECT_EQ(Stored("KleurDagenAndereMaand")->Number, 0x0000FFu);
}

// The example shows today through the confirmed pattern, not the one being typed.
TEST_F(OptiesTest, ExampleButtonsShowTheConfirmedPattern)
{
    Set(&TRecRec::KopieerDatumFormaat, "dd-mm-yyyy");
    Set(&TRecRec::HintSysteemLadeFormaat, "'week' ww");
    Open();
    form->PageControl1->setCurrentWidget(form->TabSheetDateFormat);
    Type(form->EditCopyDate, "yyyy");
    QTest::mouseClick(form->SpeedButtonExampleCopy, Qt::LeftButton);
    QTest::mouseClick(form->SpeedButtonExampleHint, Qt::LeftButton);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].Text, "20-06-2003");
    EXPECT_EQ(messages[1].Text, "week 25");
    EXPECT_EQ(messages[0].Title, QApplication::applicationName());
    EXPECT_EQ(messages[0].Icon, QMessageBox::NoIcon);
    EXPECT_EQ(messages[0].Buttons, QMessageBox::Ok);

    ClickOk();
    Open();
    QTest::mouseClick(form->SpeedButtonExampleCopy, Qt::LeftButton);
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[2].Text, "2003");
}

TEST_F(OptiesTest, ArrowPointsAtTheChosenMinimiseTarget)
{
    const auto at = [this](int reference) { return qRound(reference * form->logicalDpiX() / 96.0); };
    Set(&TRecRec::SysteemLade, true);
    Open();
    EXPECT_EQ(form->Image_Pijl->x(), at(34));
    EXPECT_EQ(form->RadioGroup_SystemTray->ItemIndex(), 1);
    Choose(form->RadioGroup_SystemTray, 0);
    EXPECT_FALSE(Current().SysteemLade);
    EXPECT_EQ(form->Image_Pijl->x(), at(7));
    Choose(form->RadioGroup_SystemTray, 1);
    EXPECT_TRUE(Current().SysteemLade);
    EXPECT_EQ(form->Image_Pijl->x(), at(34));
}

TEST_F(OptiesTest, ControlsWriteTheirSettingsAtOnce)
{
    Open();
    Choose(form->RadioGroup_Startup, 1);
    EXPECT_TRUE(Current().GeminimaliseerdOpstarten);
    Choose(form->RadioGroup_MonthPosition, 1);
    EXPECT_EQ(Current().PositieMaand, 1);
    Toggle(form->CheckBoxCaptions);
    EXPECT_TRUE(Current().TitelsKnoppen);
    form->PageControl1->setCurrentWidget(form->TabSheet_Weergave);
    Toggle(form->CheckBox_Vandaag);
    EXPECT_TRUE(Current().Vandaag);
    Toggle(form->CheckBox_ShowStatus);
    EXPECT_FALSE(Current().StatusTonen);
    EXPECT_EQ(languageSwitches, 0);
}

// Stored numbers beyond the two items choose the second one, which is then stored.
TEST_F(OptiesTest, StoredChoicesBeyondTheItemsChooseTheLastItem)
{
    for (const int stored : {5, -1}) {
        SCOPED_TRACE(stored);
        form->RadioGroup_MonthPosition->SetItemIndex(0);
        Set(&TRecRec::PositieMaand, stored);
        Open();
        EXPECT_EQ(form->RadioGroup_MonthPosition->ItemIndex(), 1);
        EXPECT_EQ(Current().PositieMaand, 1);
        form->close();
    }
}

TEST_F(OptiesTest, PreviewsShowTheHolderOfTheSettings)
{
    using TLabelMember = QLabel *TForm_Opties::*;
    struct Case {
        bool first, second; // Weeknummers and Vandaag, PictogrammenOplichten and TitelsKnoppen
        TLabelMember view, toolbar;
    };
    const Case cases[] = {
        {false, false, &TForm_Opties::Image_Wg1, &TForm_Opties::Image_TB4},
        {false, true, &TForm_Opties::Image_Wg2, &TForm_Opties::Image_TB2},
        {true, false, &TForm_Opties::Image_Wg3, &TForm_Opties::Image_TB3},
        {true, true, &TForm_Opties::Image_Wg4, &TForm_Opties::Image_TB1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.first << c.second);
        settings.Change([&](TRecRec &rec) {
            rec.Weeknummers = rec.PictogrammenOplichten = c.first;
            rec.Vandaag = rec.TitelsKnoppen = c.second;
        });
        Set(&TRecRec::PositieMaand, c.second ? 1 : 0);
        Open();
        EXPECT_EQ(Picture(form->Image_Weergave), Picture((*form).*c.view));
        EXPECT_EQ(Picture(form->Image_Toolbar), Picture((*form).*c.toolbar));
        EXPECT_EQ(Picture(form->ImagePosition), Picture(c.second ? form->Image_Pos2 : form->Image_Pos1));
        form->close();
    }
    for (QLabel *holder : form->findChildren<QLabel *>(QRegularExpression("^Image_(Wg|TB|Pos)\\d$"))) {
        EXPECT_TRUE(holder->isHidden()) << holder->objectName().toStdString();
    }
}

// The pictures are drawn at the first showing; a language switch before it, as at the program's
// start, leaves every picture to show as drawn for the screen.
TEST_F(OptiesTest, FirstShowingAfterALanguageSwitchShowsEveryPicture)
{
    Set(&TRecRec::Weeknummers, true);
    Set(&TRecRec::TitelsKnoppen, true);
    Set(&TRecRec::PositieMaand, 1);
    Set(&TRecRec::Taal, 1);
    ApplyLanguage(&*form, lnEnglish);
    Open();
    const qreal scale = form->logicalDpiY() / 96.0;
    const qreal ratio = form->devicePixelRatioF();
    EXPECT_EQ(Picture(form->Image_Weergave),
              optiespictures::ViewPicture(true, false, scale, ratio).toImage());
    EXPECT_EQ(Picture(form->ImagePosition), optiespictures::PositionPicture(true, scale, ratio).toImage());
    EXPECT_EQ(Picture(form->Image_Toolbar),
              optiespictures::ToolbarPicture(Current().PictogrammenOplichten, true, scale, ratio).toImage());
    EXPECT_EQ(Picture(form->Image2), optiespictures::ArtPicture(":/art/options/language.svg",
                                                                optiespictures::PictureSize, scale, ratio)
                                         .toImage());
    for (QLabel *art :
         {form->Image1, form->Image3, form->Image6, form->Image5, form->Image4, form->Image_Pijl}) {
        EXPECT_FALSE(art->pixmap().isNull()) << art->objectName().toStdString();
    }
    EXPECT_FALSE(form->BitBtn_OK->HotGlyph().isNull());
    EXPECT_FALSE(form->MemoDateTagsEng->isHidden());
}

TEST_F(OptiesTest, PreviewsFollowTheControlsAtOnce)
{
    Open();
    Toggle(form->CheckBoxCaptions);
    EXPECT_EQ(Picture(form->Image_Toolbar), Picture(form->Image_TB1));
    Choose(form->RadioGroup_MonthPosition, 1);
    EXPECT_EQ(Picture(form->ImagePosition), Picture(form->Image_Pos2));
    form->PageControl1->setCurrentWidget(form->TabSheet_Weergave);
    Toggle(form->CheckBox_Weeknummers);
    EXPECT_EQ(Picture(form->Image_Weergave), Picture(form->Image_Wg3));
    Toggle(form->CheckBox_Vandaag);
    EXPECT_EQ(Picture(form->Image_Weergave), Picture(form->Image_Wg4));
}

TEST_F(OptiesTest, FontChoiceIsStoredAtOnce)
{
    form->kxFontComboBox1->SetFontSource([] {
        return std::vector<TkxFontFamily>{{"Alpha Sans", true, false, true, false},
                                          {"Beta Serif", true, false, true, false},
                                          {"Symbols", true, false, false, true}};
    });
    Set(&TRecRec::Lettertype, "Beta Serif");
    Open();
    EXPECT_EQ(form->kxFontComboBox1->count(), 2); // TrueType text fonts only
    EXPECT_EQ(form->kxFontComboBox1->FontName(), "Beta Serif");
    form->PageControl1->setCurrentWidget(form->TabSheet_Weergave);
    form->kxFontComboBox1->setFocus();
    QTest::keyClick(form->kxFontComboBox1, Qt::Key_Up);
    EXPECT_EQ(Current().Lettertype, "Alpha Sans");
    form->close();

    // A name that is not listed leaves the choice where it was, and the setting as it is.
    Set(&TRecRec::Lettertype, "Gamma Mono");
    Open();
    EXPECT_EQ(form->kxFontComboBox1->FontName(), "Alpha Sans");
    EXPECT_EQ(Current().Lettertype, "Gamma Mono");
}

// The system's fonts: a family it lacks (or a generic name that older versions listed) is shown
// as the installed family the month view draws with, and stays the setting until the user picks
// another.
TEST_F(OptiesTest, AFontTheSystemLacksShowsTheFamilyStandingInForIt)
{
    for (const char *missing : {"Arial", "No Such Family 0x51", "Serif"}) {
        Set(&TRecRec::Lettertype, missing);
        Open();
        EXPECT_EQ(form->kxFontComboBox1->FontName(), QFontInfo(QFont(missing)).family()) << missing;
        EXPECT_GE(form->kxFontComboBox1->currentIndex(), 0) << missing;
        ClickOk();
        EXPECT_EQ(StoredValues().at("Lettertype").Data, missing);
    }
}

TEST_F(OptiesTest, EnterMovesToTheNextFieldExceptInTheTagList)
{
    Open();
    form->PageControl1->setCurrentWidget(form->TabSheetDateFormat);
    form->EditCopyDate->setFocus();
    QTest::keyClick(form->EditCopyDate, Qt::Key_Return);
    EXPECT_TRUE(form->EditHintSystemTray->hasFocus());
    EXPECT_TRUE(form->isVisible());

    form->MemoDateTagsNed->setFocus();
    const QString tags = form->MemoDateTagsNed->toPlainText();
    QTest::keyClick(form->MemoDateTagsNed, Qt::Key_Return);
    EXPECT_TRUE(form->MemoDateTagsNed->hasFocus());
    EXPECT_EQ(form->MemoDateTagsNed->toPlainText(), tags);
    EXPECT_TRUE(form->isVisible());

    // Other keys reach the field alone.
    form->EditCopyDate->setFocus();
    QTest::keyClick(form->EditCopyDate, Qt::Key_X);
    EXPECT_TRUE(form->EditCopyDate->hasFocus());
    EXPECT_TRUE(form->EditCopyDate->text().endsWith('x'));
}

TEST_F(OptiesTest, EnterOnACheckBoxMovesOnAndEnterOnOkPressesIt)
{
    Open();
    form->PageControl1->setCurrentWidget(form->TabSheet_Weergave);
    form->CheckBox_Weeknummers->setFocus();
    QTest::keyClick(form->CheckBox_Weeknummers, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(form->CheckBox_Vandaag->hasFocus());
    EXPECT_FALSE(form->CheckBox_Weeknummers->isChecked());
    EXPECT_TRUE(form->isVisible());

    form->BitBtn_OK->setFocus();
    QTest::keyClick(form->BitBtn_OK, Qt::Key_Return);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->result(), QDialog::Accepted);
}

TEST_F(OptiesTest, EscapeDoesNotCloseTheDialog)
{
    Open();
    QTest::keyClick(form->RadioGroup_Taal->Button(0), Qt::Key_Escape);
    EXPECT_TRUE(form->isVisible());
}

TEST_F(OptiesTest, ChoosingALanguageSwitchesOnceAndKeepsTheChoices)
{
    Set(&TRecRec::SysteemLade, true);
    Set(&TRecRec::GeminimaliseerdOpstarten, true);
    Set(&TRecRec::PositieMaand, 1);
    Open();
    ASSERT_EQ(languageSwitches, 0);
    EXPECT_FALSE(form->MemoDateTagsNed->isHidden());

    Choose(form->RadioGroup_Taal, 1);
    EXPECT_EQ(languageSwitches, 1);
    EXPECT_EQ(Current().Taal, 1);
    EXPECT_EQ(form->windowTitle(), "Options");
    EXPECT_EQ(form->PageControl1->tabText(2), "Date format");
    EXPECT_EQ(form->RadioGroup_SystemTray->Items(), QStringList({"In taskbar (default)", "In system tray"}));
    EXPECT_EQ(form->RadioGroup_SystemTray->ItemIndex(), 1);
    EXPECT_EQ(form->RadioGroup_Startup->ItemIndex(), 1);
    EXPECT_EQ(form->RadioGroup_MonthPosition->ItemIndex(), 1);
    EXPECT_TRUE(form->MemoDateTagsNed->isHidden());
    EXPECT_FALSE(form->MemoDateTagsEng->isHidden());
    EXPECT_TRUE(form->updatesEnabled());
    EXPECT_TRUE(Current().SysteemLade && Current().GeminimaliseerdOpstarten);

    Choose(form->RadioGroup_Taal, 0);
    EXPECT_EQ(languageSwitches, 2);
    EXPECT_EQ(Current().Taal, 0);
    EXPECT_EQ(form->windowTitle(), "Opties");
}

// The Dutch tag list is wider than the English one: switching to it widens the open window.
TEST_F(OptiesTest, LanguageSwitchGivesTheNewTextsRoom)
{
    SetFontScale(&*form, 1.5);
    Set(&TRecRec::Taal, 1);
    Open();
    ApplyLanguage(&*form, lnEnglish);
    const int englishWidth = form->width();
    Choose(form->RadioGroup_Taal, 0);
    EXPECT_GT(form->width(), englishWidth);
    form->PageControl1->setCurrentWidget(form->TabSheetDateFormat);
    QCoreApplication::processEvents();
    EXPECT_EQ(ClippedControls(&*form), QStringList());
}

// A language of the locale default (French, German, Spanish) shows English and switches once.
TEST_F(OptiesTest, LocaleLanguagesShowEnglishAndBecomeEnglish)
{
    for (const int taal : {2, 3, 4, -2}) {
        SCOPED_TRACE(taal);
        form->RadioGroup_Taal->SetItemIndex(0);
        Set(&TRecRec::Taal, taal);
        languageSwitches = 0;
        Open();
        EXPECT_EQ(languageSwitches, 1);
        EXPECT_EQ(Current().Taal, 1);
        EXPECT_EQ(form->RadioGroup_Taal->ItemIndex(), 1);
        EXPECT_FALSE(form->MemoDateTagsEng->isHidden());
        form->close();
    }
}

TEST_F(OptiesTest, FailedStoreKeepsTheDialogOpenWithTheNewValues)
{
    backend.SetFailWrites(true);
    Open();
    form->kxColorPickerTitel->SelectColor(nullptr, 0x0000FF);
    form->TrackBarAlphaBlend->setValue(130);
    form->PageControl1->setCurrentWidget(form->TabSheetDateFormat);
    Type(form->EditCopyDate, "d/m");
    ClickOk();
    EXPECT_TRUE(form->isVisible());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].Icon, QMessageBox::Critical);
    EXPECT_EQ(messages[0].Title, QApplication::applicationName());
    EXPECT_EQ(Current().KleurTitel, 0x0000FFu);
    EXPECT_EQ(Current().AlphaBlend, 130);
    EXPECT_EQ(Current().KopieerDatumFormaat, "d/m");

    backend.SetFailWrites(false);
    ClickOk();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(Stored("KopieerDatumFormaat")->Data, "d/m");
}

TEST_F(OptiesTest, ReopensOnTheTabLastUsed)
{
    Open();
    EXPECT_EQ(form->PageControl1->currentIndex(), 0);
    QTest::mouseClick(form->PageControl1->tabBar(), Qt::LeftButton, {},
                      form->PageControl1->tabBar()->tabRect(2).center());
    form->close();
    Open();
    EXPECT_EQ(form->PageControl1->currentWidget(), form->TabSheetDateFormat);
}

// Before the first language switch the dialog carries the Dutch texts of the language tables.
TEST_F(OptiesTest, DesignTextsAreTheDutchOnes)
{
    ExpectDutchDesignTexts(&*form);
    EXPECT_EQ(form->RadioGroup_Taal->Items(), QStringList({"Nederlands", "English"}));
    EXPECT_EQ(form->GroupBoxAlphaBlend->title(), "Alphablend");
}

TEST_F(OptiesTest, OkLightsUpUnderThePointer)
{
    Open();
    TkxBitBtn *ok = form->BitBtn_OK;
    const QImage normal = ok->icon().pixmap(16).toImage();
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(ok, &enter);
    EXPECT_TRUE(ok->IsHot());
    EXPECT_TRUE(ok->font().underline());
    EXPECT_EQ(ok->palette().color(QPalette::ButtonText), QColor(Qt::darkBlue));
    EXPECT_NE(ok->icon().pixmap(16).toImage(), normal);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(ok, &leave);
    EXPECT_FALSE(ok->font().underline());
    EXPECT_EQ(ok->icon().pixmap(16).toImage(), normal);
}

TEST_F(OptiesTest, WindowIsACentredToolWindowWithTheReferenceSize)
{
    Open();
    EXPECT_TRUE(form->windowFlags() & Qt::Tool);
    EXPECT_GE(form->width(), 332);
    EXPECT_GE(form->height(), 480);
    EXPECT_EQ(form->objectName(), "Form_Opties");
    EXPECT_EQ(form->BitBtn_OK->text(), "&OK");
    // OK sits in the bottom right corner.
    const QRect ok = form->BitBtn_OK->geometry();
    EXPECT_GT(ok.left(), form->width() / 2);
    EXPECT_GT(ok.top(), form->PageControl1->geometry().bottom());
    for (int tab = 0; tab < 3; ++tab) {
        EXPECT_GE(form->PageControl1->tabBar()->tabRect(tab).width(), 100);
    }
}

} // namespace
