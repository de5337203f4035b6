// The colour picker's pop-up: preselection, painting, hit testing, choosing and the colour dialog.
#include "components/kxColorPick.h"
#include "platform/Colors.h"
#include "platform/Screen.h"
#include "support/TestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QColorDialog>
#include <QFile>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <gmock/gmock.h>

namespace {

constexpr int H = TkxColorForm::FormHeight;

QRgb Pixel(const QImage &image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFF;
}

QPoint Target(const TkxColorForm &form)
{
    return {form.HoverColumn(), form.HoverRow()};
}

class ColorPopupTest : public testing::Test {
protected:
    void SetUp() override
    {
        SetColorDialogRunner([this](QWidget *parent, TColor initial) {
            DialogCalls.push_back(initial);
            DialogParent = parent;
            PopupOpenDuringDialog = picker.Popup() != nullptr;
            return DialogAnswer;
        });
        picker.move(50, 50);
        picker.show();
    }
    void TearDown() override
    {
        if (TkxColorForm *popup = picker.Popup())
            popup->close();
        SetColorDialogRunner({});
    }

    TkxColorForm &Open(TColor color)
    {
        picker.SetColor(color);
        QTest::mouseClick(&picker, Qt::LeftButton, {}, QPoint(10, 10));
        TkxColorForm *popup = picker.Popup();
        EXPECT_NE(popup, nullptr);
        return *popup;
    }

    TkxColorPicker picker;
    std::vector<TColor> DialogCalls;
    QWidget *DialogParent = nullptr;
    bool PopupOpenDuringDialog = false;
    std::optional<TColor> DialogAnswer;
};

TEST_F(ColorPopupTest, ColourInTheTableIsPreselected)
{
    const struct {
        TColor Color;
        QPoint Target;
    } cases[] = {
        {0x0000FF, {1, 2}},  // red: row 2, column 1
        {0x000000, {2, 1}},  // black
        {0xA4A0A0, {4, 5}},  // medium grey, the last cell
        {clBtnFace, {4, 6}}, // a system colour never matches: the swatch
        {0x123456, {4, 6}},  // not in the table
    };
    for (const auto &c : cases) {
        TkxColorForm &form = Open(c.Color);
        EXPECT_EQ(Target(form), c.Target) << std::hex << c.Color;
        EXPECT_EQ(form.CurrentColor(), c.Color);
        form.close();
    }
}

TEST_F(ColorPopupTest, PaintsGridSwatchDividerAndHighlight)
{
    TkxColorForm &form = Open(0x0000FF);
    const QImage image = form.grab().toImage();
    // the highlighted red cell (1, 2), square at (4, 22): black, white, black frames
    EXPECT_EQ(Pixel(image, 3, 21), 0x000000u);
    EXPECT_EQ(Pixel(image, 4, 22), 0xFFFFFFu);
    EXPECT_EQ(Pixel(image, 5, 23), 0x000000u);
    EXPECT_EQ(Pixel(image, 6, 24), 0xFF0000u);
    // a plain cell (2, 2), square at (22, 22): grey and black sunken rings, maroon inside
    EXPECT_EQ(Pixel(image, 22, 22), 0x808080u);
    EXPECT_EQ(Pixel(image, 23, 23), 0x000000u);
    EXPECT_EQ(Pixel(image, 37, 37), 0xFFFFFFu);
    EXPECT_EQ(Pixel(image, 36, 36), 0xDFDFDFu);
    EXPECT_EQ(Pixel(image, 24, 24), 0x800000u);
    // the swatch at (58, 100) shows the current colour
    EXPECT_EQ(Pixel(image, 58, 100), 0x808080u);
    EXPECT_EQ(Pixel(image, 65, 108), 0xFF0000u);
    // the etched divider from x 4 to 73 at y 95 and 96
    EXPECT_EQ(Pixel(image, 4, H - 25), 0x808080u);
    EXPECT_EQ(Pixel(image, 73, H - 25), 0x808080u);
    EXPECT_EQ(Pixel(image, 4, H - 24), 0xFFFFFFu);
    EXPECT_NE(Pixel(image, 74, H - 25), 0x808080u);
    EXPECT_NE(Pixel(image, 3, H - 25), 0x808080u);
}

TEST_F(ColorPopupTest, SwatchIsHighlightedForASystemColour)
{
    TkxColorForm &form = Open(clBtnFace);
    const QImage image = form.grab().toImage();
    EXPECT_EQ(Pixel(image, 57, 99), 0x000000u);
    EXPECT_EQ(Pixel(image, 58, 100), 0xFFFFFFu);
    EXPECT_EQ(Pixel(image, 59, 101), 0x000000u);
    EXPECT_EQ(image.pixel(65, 108), ToQColor(clBtnFace).rgb());
    EXPECT_EQ(Pixel(image, 4, 22), 0x808080u); // red is not highlighted
}

TEST_F(ColorPopupTest, PointerFindsTargets)
{
    TkxColorForm &form = Open(0x123456);
    const struct {
        QPoint Point;
        QPoint Target;
    } cases[] = {
        {{4, 4}, {1, 1}},       {{3, 3}, {1, 1}},    {{2, 10}, {0, 0}},   {{10, 2}, {0, 0}},
        {{19, 10}, {1, 1}},     {{20, 10}, {1, 1}}, // the gap belongs to the left cell
        {{21, 10}, {1, 1}},                         // the line both cells share: the left one wins
        {{22, 10}, {2, 1}},     {{10, 21}, {1, 1}},  {{10, 22}, {1, 2}},  {{75, 10}, {4, 1}},
        {{76, 10}, {0, 0}},     {{10, 93}, {1, 5}},  {{10, 94}, {0, 0}},  {{40, 98}, {0, 0}},
        {{58, 105}, {0, 0}}, // the swatch's edge is not strictly inside
        {{59, 101}, {4, 6}},    {{73, 115}, {4, 6}}, {{74, 110}, {0, 0}}, {{65, 116}, {0, 0}},
        {{57, H - 10}, {0, 0}},
    };
    for (const auto &c : cases) {
        QTest::mouseMove(&form, c.Point);
        EXPECT_EQ(Target(form), c.Target) << "at (" << c.Point.x() << ", " << c.Point.y() << ")";
    }
}

TEST_F(ColorPopupTest, HighlightCrossesTheGapWithoutAHole)
{
    TkxColorForm &form = Open(0x123456);
    for (int x = 4; x <= 73; ++x) {
        QTest::mouseMove(&form, QPoint(x, 30));
        EXPECT_EQ(form.HoverColumn(), qMin(4, (x + 14) / 18)) << "x " << x;
        EXPECT_EQ(form.HoverRow(), 2);
    }
}

TEST_F(ColorPopupTest, AnyButtonOnACellChoosesItAndCloses)
{
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        TkxColorForm &form = Open(0x0000FF);
        QSignalSpy changed(&picker, &TkxColorPicker::OnChangeColor);
        QTest::mouseMove(&form, QPoint(50, 10));
        QTest::mouseClick(&form, button, {}, QPoint(50, 10));
        EXPECT_EQ(picker.Color(), 0xC0C0C0u) << button; // silver, row 1 column 3
        EXPECT_EQ(changed.count(), 1);
        EXPECT_EQ(picker.Popup(), nullptr);
        EXPECT_TRUE(DialogCalls.empty());
    }
}

TEST_F(ColorPopupTest, ChoosingTheCurrentColourRaisesNothing)
{
    TkxColorForm &form = Open(0x0000FF);
    QSignalSpy changed(&picker, &TkxColorPicker::OnChangeColor);
    QSignalSpy chosen(&form, &TkxColorForm::OnSelectColor);
    QTest::mouseMove(&form, QPoint(10, 28));
    QTest::mouseClick(&form, Qt::LeftButton, {}, QPoint(10, 28));
    EXPECT_EQ(chosen.count(), 1);
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(picker.Popup(), nullptr);
}

TEST_F(ColorPopupTest, ClickBesideTheOtherButtonOpensTheDialog)
{
    DialogAnswer = 0x336699;
    TkxColorForm &form = Open(0x0000FF);
    QSignalSpy changed(&picker, &TkxColorPicker::OnChangeColor);
    QTest::mouseMove(&form, QPoint(57, H - 10));
    QTest::mouseClick(&form, Qt::LeftButton, {}, QPoint(57, H - 10));
    EXPECT_THAT(DialogCalls, testing::ElementsAre(0x0000FFu)); // the current colour preselected
    EXPECT_EQ(DialogParent, &picker);
    EXPECT_FALSE(PopupOpenDuringDialog);
    EXPECT_EQ(picker.Color(), 0x336699u);
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(ColorPopupTest, OtherButtonAreaEdges)
{
    const struct {
        QPoint Point;
        bool Opens;
    } cases[] = {
        {{3, H - 21}, true},  {{65, H - 3}, true},   {{30, H - 10}, true},
        {{2, H - 10}, false}, {{30, H - 22}, false}, {{30, H - 2}, false},
    };
    for (const auto &c : cases) {
        DialogCalls.clear();
        TkxColorForm &form = Open(0x123456 + c.Point.x()); // the swatch is highlighted
        QTest::mouseMove(&form, c.Point);
        QTest::mouseClick(&form, Qt::LeftButton, {}, c.Point);
        EXPECT_EQ(DialogCalls.size(), c.Opens ? 1u : 0u)
            << "at (" << c.Point.x() << ", " << c.Point.y() << ")";
        if (TkxColorForm *open = picker.Popup())
            open->close();
    }
}

TEST_F(ColorPopupTest, ClickOnTheSwatchOpensTheDialogToo)
{
    TkxColorForm &form = Open(clBtnFace);
    QTest::mouseMove(&form, QPoint(70, 108));
    QTest::mouseClick(&form, Qt::LeftButton, {}, QPoint(70, 108));
    EXPECT_THAT(DialogCalls, testing::ElementsAre(clBtnFace));
}

TEST_F(ColorPopupTest, CancelledDialogChangesNothing)
{
    TkxColorForm &form = Open(0x0000FF);
    QSignalSpy changed(&picker, &TkxColorPicker::OnChangeColor);
    QTest::mouseClick(&form, Qt::LeftButton, {}, QPoint(30, H - 10));
    EXPECT_EQ(DialogCalls.size(), 1u);
    EXPECT_EQ(picker.Color(), 0x0000FFu);
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(picker.Popup(), nullptr);
}

TEST_F(ColorPopupTest, ClickElsewhereClosesWithoutChoosing)
{
    QWidget elsewhere;
    elsewhere.setGeometry(400, 400, 100, 100);
    elsewhere.show();
    Open(0x0000FF);
    // through the window system, which hands presses outside a pop-up to the pop-up
    QTest::mouseClick(elsewhere.windowHandle(), Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_EQ(picker.Popup(), nullptr);
    EXPECT_EQ(picker.Color(), 0x0000FFu);
}

TEST_F(ColorPopupTest, ClickOnThePickerClosesWithoutReopening)
{
    Open(0x0000FF);
    QTest::mouseClick(picker.windowHandle(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(picker.Popup(), nullptr);
}

TEST_F(ColorPopupTest, EscapeCloses)
{
    TkxColorForm &form = Open(0x0000FF);
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_EQ(picker.Popup(), nullptr);
    EXPECT_EQ(picker.Color(), 0x0000FFu);
}

TEST(ColorPopupCaption, FollowsTheLanguage)
{
    EXPECT_EQ(TkxColorForm::OtherCaption(lgNederlands), "&Andere...");
    EXPECT_EQ(TkxColorForm::OtherCaption(lgEnglish), "&Other...");
    EXPECT_EQ(TkxColorForm::OtherCaption(lgFrancais), "&Autre...");
    EXPECT_EQ(TkxColorForm::OtherCaption(lgDeutsch), "&Other...");
    EXPECT_EQ(TkxColorForm::OtherCaption(lgEspagnol), "&Other...");
}

TEST_F(ColorPopupTest, OtherCaptionFitsItsButtonInEveryLanguage)
{
    for (TkxLanguage language : {lgNederlands, lgEnglish, lgFrancais, lgDeutsch, lgEspagnol}) {
        picker.SetLanguage(language);
        TkxColorForm &form = Open(0x0000FF);
        EXPECT_EQ(form.FormLanguage(), language);
        const QImage image = form.grab().toImage();
        const QRgb face = image.pixel(30, H - 19);
        // the caption leaves a margin inside the drawn button (x 3 to 55)
        for (int y = H - 20; y < H - 4; ++y) {
            EXPECT_EQ(image.pixel(4, y), face) << "language " << language << " row " << y;
            EXPECT_EQ(image.pixel(54, y), face) << "language " << language << " row " << y;
        }
        bool hasText = false;
        for (int x = 5; x < 54 && !hasText; ++x)
            hasText = image.pixel(x, H - 12) != face;
        EXPECT_TRUE(hasText);
        form.close();
    }
}

// The pop-up stays on the screen: below the picker where there is room, else above it, moved
// sideways at the screen's edges.
TEST(ColorPopupPlace, StaysOnTheScreen)
{
    SetScreenMetricsForTests(TScreenMetrics{400, 300, 96, {}});
    struct Case {
        QPoint picker; // top left of a 42 x 21 picker on the screen
        QPoint popup;
    };
    const Case cases[] = {
        {{100, 100}, {100, 121}}, // below
        {{100, 159}, {100, 180}}, // just room below
        {{100, 160}, {100, 40}},  // no room below: above
        {{380, 100}, {322, 121}}, // at the right edge
        {{-10, 279}, {0, 159}},   // bottom left corner, partly off the screen
    };
    for (const Case &c : cases) {
        TkxColorPicker picker;
        picker.show();
        picker.move(c.picker - (picker.mapToGlobal(QPoint(0, 0)) - picker.pos())); // beside any frame
        ASSERT_EQ(picker.mapToGlobal(QPoint(0, 0)), c.picker);
        QTest::mouseClick(&picker, Qt::LeftButton, {}, QPoint(10, 10));
        ASSERT_NE(picker.Popup(), nullptr);
        EXPECT_EQ(picker.Popup()->pos(), c.popup) << c.picker.x() << "," << c.picker.y();
        picker.Popup()->close();
    }
    SetScreenMetricsForTests(std::nullopt);
}

TEST(SharedColorDialog, IsOneDialogStartingAtTheCurrentColour)
{
    SetColorDialogRunner({});
    TkxColorPicker picker;
    picker.SetColor(0x0000FF);
    picker.show();
    std::vector<QColorDialog *> dialogs;
    std::vector<QColor> startColors;
    const auto answer = [&](QColor choice) {
        QTimer::singleShot(0, [&, choice] {
            auto *dialog = qobject_cast<QColorDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialogs.push_back(dialog);
            startColors.push_back(dialog->currentColor());
            dialog->setCurrentColor(choice);
            choice.isValid() ? dialog->accept() : dialog->reject();
        });
    };
    for (QColor choice : {QColor(0x11, 0x22, 0x33), QColor()}) {
        QTest::mouseClick(&picker, Qt::LeftButton, {}, QPoint(10, 10));
        ASSERT_NE(picker.Popup(), nullptr);
        answer(choice);
        QTest::mouseClick(picker.Popup(), Qt::LeftButton, {}, QPoint(30, H - 10));
    }
    ASSERT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(dialogs[0], dialogs[1]);
    EXPECT_EQ(startColors[0], QColor(Qt::red));
    EXPECT_EQ(startColors[1], QColor(0x11, 0x22, 0x33));
    EXPECT_EQ(picker.Color(), 0x332211u); // the cancelled second run changed nothing
}

// Qt writes the custom colours into a file all Qt programs of the user share whenever a colour
// dialog goes; after Orvani's colour dialog, they last for the run and go nowhere else.
TEST(SharedColorDialog, WritesNothingIntoTheConfigurationQtProgramsShare)
{
    const QString shared =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/QtProject.conf";
    QFile::remove(shared);
    SetColorDialogRunner({});
    TkxColorPicker picker;
    picker.show();
    QTest::mouseClick(&picker, Qt::LeftButton, {}, QPoint(10, 10));
    ASSERT_NE(picker.Popup(), nullptr);
    QTimer::singleShot(0, [] {
        auto *dialog = qobject_cast<QColorDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        QColorDialog::setCustomColor(0, QColor(1, 2, 3)); // as the dialog's "Add to Custom Colors"
        dialog->reject();
    });
    QTest::mouseClick(picker.Popup(), Qt::LeftButton, {}, QPoint(30, H - 10));
    delete new QColorDialog; // a colour dialog going
    EXPECT_EQ(QColorDialog::customColor(0), QColor(1, 2, 3)) << "kept for the run";
    EXPECT_FALSE(QFile::exists(shared));
}

TEST_F(ColorPopupTest, Screenshot)
{
    TkxColorForm &form = Open(0x0000FF);
    QTest::mouseMove(&form, QPoint(47, 47));
    EXPECT_EQ(Target(form), QPoint(3, 3));
    testsupport::SaveScreenshot(&form, "ColorPicker_Popup");
    picker.SetLanguage(lgEnglish);
    form.close();
    testsupport::SaveScreenshot(&Open(clBtnFace), "ColorPicker_PopupEnglishSwatch");
}

// The caption of "Other..." reads on the button face of every desktop theme.
TEST_F(ColorPopupTest, TheOtherButtonReadsUnderEachTheme)
{
    for (const testsupport::TTheme theme : testsupport::Themes) {
        const testsupport::TScopedTheme themed(theme);
        TkxColorForm &form = Open(0x0000FF);
        const QImage button = form.grab(QRect(4, H - 20, 52, 16)).toImage();
        EXPECT_GE(testsupport::InkContrast(button), ReadableContrast) << testsupport::ThemeName(theme);
        testsupport::SaveScreenshot(&form, QString("ColorPicker_Popup_%1").arg(testsupport::ThemeName(theme)));
        form.close();
    }
}

} // namespace

TEST_F(ColorPopupTest, TheKeyboardMovesOverTheGridAndTakesAColour)
{
    TkxColorForm &form = Open(0x000000); // black: row 1, column 2
    const struct {
        Qt::Key Key;
        QPoint Target;
    } moves[] = {
        {Qt::Key_Right, {3, 1}}, {Qt::Key_Down, {3, 2}},  {Qt::Key_Left, {2, 2}},  {Qt::Key_Up, {2, 1}},
        {Qt::Key_Up, {2, 1}},    {Qt::Key_Down, {2, 2}},  {Qt::Key_Down, {2, 3}},  {Qt::Key_Down, {2, 4}},
        {Qt::Key_Down, {2, 5}},  {Qt::Key_Down, {4, 6}},  {Qt::Key_Right, {4, 6}}, {Qt::Key_Up, {4, 5}},
        {Qt::Key_Left, {3, 5}},
    };
    for (const auto &move : moves) {
        QTest::keyClick(&form, move.Key);
        EXPECT_EQ(Target(form), move.Target) << move.Key;
    }
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(&form);
    EXPECT_EQ(list->role(), QAccessible::List);
    EXPECT_EQ(list->text(QAccessible::Value), QString::fromUtf8("crème")); // heard as it is highlighted
    EXPECT_EQ(list->focusChild()->text(QAccessible::Name), QString::fromUtf8("crème"));
    EXPECT_TRUE(list->focusChild()->state().focused);
    EXPECT_EQ(list->parent()->child(0), list); // in the tree as the picker's child while open
    QSignalSpy changes(&picker, &TkxColorPicker::OnChangeColor);
    QTest::keyClick(&form, Qt::Key_Return);
    EXPECT_EQ(picker.Color(), TkxColorForm::ColorTable[4][2]);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(picker.Popup(), nullptr);

    QTest::keyClick(&Open(0x0000FF), Qt::Key_Escape); // closes and keeps the colour
    EXPECT_EQ(picker.Popup(), nullptr);
    EXPECT_EQ(picker.Color(), 0x0000FFu);
    QTest::keyClick(&Open(0x0000FF), Qt::Key_A, Qt::AltModifier); // "&Andere..."
    EXPECT_EQ(DialogCalls, std::vector<TColor>{0x0000FF});
}
