// The colour picker itself: defaults, painting of every look, and input.
#include "components/kxColorPick.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QSignalSpy>
#include <QTest>
#include <gmock/gmock.h>

namespace {

constexpr QRgb Black = 0x000000;
constexpr QRgb White = 0xFFFFFF;
constexpr QRgb Grey = 0x808080;
constexpr QRgb Silver = 0xC0C0C0;
constexpr QRgb Red = 0xFF0000; // as the screen shows 0x000000FF

QRgb Pixel(const QImage &image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFF;
}

QImage Picture(QWidget &widget)
{
    return widget.grab().toImage();
}

struct PixelCase {
    int X;
    int Y;
    QRgb Expected;
};

void ExpectPixels(const QImage &image, std::initializer_list<PixelCase> cases)
{
    for (const PixelCase &c : cases)
        EXPECT_EQ(Pixel(image, c.X, c.Y), c.Expected) << "pixel (" << c.X << ", " << c.Y << ")";
}

void ExpectNotBlack(const QImage &image, std::initializer_list<QPoint> points)
{
    for (QPoint p : points)
        EXPECT_NE(Pixel(image, p.x(), p.y()), Black) << "pixel (" << p.x() << ", " << p.y() << ")";
}

class ColorPickerTest : public testing::Test {
protected:
    void SetUp() override
    {
        SetColorDialogRunner([](QWidget *, TColor) { return std::optional<TColor>(); });
        picker.SetColor(0x0000FF);
        picker.move(100, 100);
        picker.show();
    }
    void TearDown() override
    {
        if (TkxColorForm *popup = picker.Popup())
            popup->close();
        SetColorDialogRunner({});
    }

    TkxColorPicker picker;
};

TEST(ColorPickerDefaults, AreThoseOfANewPicker)
{
    TkxColorPicker picker;
    EXPECT_EQ(picker.size(), QSize(42, 21));
    EXPECT_EQ(picker.focusPolicy(), Qt::StrongFocus);
    EXPECT_EQ(picker.Color(), clBlack);
    EXPECT_FALSE(picker.Flat());
    EXPECT_EQ(picker.Language(), lgNederlands);
    EXPECT_EQ(picker.Popup(), nullptr);
}

TEST_F(ColorPickerTest, NormalLookHasWellDividerAndArrowInPlace)
{
    const QImage image = Picture(picker);
    ExpectPixels(image, {
                            // the well's black border from (5, 4) to (27, 17), exclusive
                            {5, 4, Black},
                            {26, 4, Black},
                            {5, 16, Black},
                            {26, 16, Black},
                            // the colour inside, (6, 5) to (26, 16)
                            {6, 5, Red},
                            {25, 15, Red},
                            {15, 10, Red},
                            // the etched divider at x 30 (grey) and 31 (white), rows 3 to 17
                            {30, 3, Grey},
                            {31, 3, White},
                            {30, 17, Grey},
                            {31, 17, White},
                            // the arrow (33, 9), (37, 9), (35, 11)
                            {33, 9, Black},
                            {37, 9, Black},
                            {34, 10, Black},
                            {36, 10, Black},
                            {35, 11, Black},
                        });
    ExpectNotBlack(image, {{4, 4}, {27, 10}, {5, 17}, {32, 9}, {38, 9}, {33, 10}, {37, 10}, {35, 12}});
    EXPECT_NE(Pixel(image, 30, 2), Grey);
    EXPECT_NE(Pixel(image, 30, 18), Grey);
}

TEST_F(ColorPickerTest, PressedLookIsShiftedOnePixelRightAndDown)
{
    QTest::mousePress(&picker, Qt::LeftButton, {}, QPoint(10, 10));
    const QImage image = Picture(picker);
    ExpectPixels(image, {
                            {6, 5, Black},
                            {27, 17, Black},
                            {7, 6, Red},
                            {26, 16, Red},
                            {31, 4, Grey},
                            {32, 4, White},
                            {31, 18, Grey},
                            {34, 10, Black},
                            {38, 10, Black},
                            {36, 12, Black},
                        });
    ExpectNotBlack(image, {{5, 4}, {33, 9}, {37, 9}});
    EXPECT_EQ(picker.Popup(), nullptr); // nothing opens before the release
}

TEST_F(ColorPickerTest, DraggingOffTheControlShowsTheNormalLookUntilTheReturn)
{
    QTest::mousePress(&picker, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(&picker, QPoint(60, 40));
    EXPECT_EQ(Pixel(Picture(picker), 5, 4), Black);
    QTest::mouseMove(&picker, QPoint(12, 12));
    EXPECT_EQ(Pixel(Picture(picker), 6, 5), Black);
    EXPECT_NE(Pixel(Picture(picker), 5, 4), Black);
    QTest::mouseRelease(&picker, Qt::LeftButton, {}, QPoint(12, 12));
}

TEST_F(ColorPickerTest, DisabledLookIsSilverWithoutArrow)
{
    picker.setEnabled(false);
    const QImage image = Picture(picker);
    ExpectPixels(image, {{5, 4, Silver}, {26, 16, Silver}, {6, 5, Red}, {30, 3, Silver}, {31, 3, White}});
    ExpectNotBlack(image, {{33, 9}, {35, 10}, {35, 11}});
    EXPECT_EQ(Pixel(image, 35, 10), Pixel(image, 39, 15)); // only the face behind it
}

TEST_F(ColorPickerTest, FlatFaceHasOneFrameColourAndRaisedFaceTwo)
{
    const QImage raised = Picture(picker);
    EXPECT_NE(Pixel(raised, 0, 0), Pixel(raised, 41, 20));
    picker.SetFlat(true);
    const QImage flat = Picture(picker);
    EXPECT_EQ(Pixel(flat, 0, 0), Pixel(flat, 41, 20));
    EXPECT_EQ(Pixel(flat, 1, 1), Pixel(flat, 39, 15)); // no inner bevel
    EXPECT_EQ(Pixel(flat, 5, 4), Black);               // the well stays
}

TEST_F(ColorPickerTest, FocusShowsADottedFrameThreePixelsIn)
{
    const QRgb face = Pixel(Picture(picker), 3, 10);
    picker.activateWindow();
    QCoreApplication::processEvents();
    picker.setFocus();
    ASSERT_TRUE(picker.hasFocus());
    const QImage image = Picture(picker);
    // the left edge at x 3 alternates between the dots and the face
    for (int y = 4; y < 17; ++y)
        EXPECT_NE(Pixel(image, 3, y) == face, Pixel(image, 3, y + 1) == face) << "row " << y;
    picker.clearFocus();
    const QImage unfocused = Picture(picker);
    for (int y = 3; y < 18; ++y)
        EXPECT_EQ(Pixel(unfocused, 3, y), face) << "row " << y;
}

TEST_F(ColorPickerTest, ColorFromCodeRepaintsWithoutEvent)
{
    QSignalSpy changed(&picker, &TkxColorPicker::OnChangeColor);
    picker.SetColor(0x00FF00);
    EXPECT_EQ(picker.Color(), 0x00FF00u);
    EXPECT_EQ(Pixel(Picture(picker), 10, 10), 0x00FF00u);
    EXPECT_EQ(changed.count(), 0);
}

TEST_F(ColorPickerTest, SelectColorRaisesOnlyForADifferentColour)
{
    QList<TkxColorPicker *> senders;
    QObject::connect(&picker, &TkxColorPicker::OnChangeColor,
                     [&](TkxColorPicker *sender) { senders.append(sender); });
    picker.SelectColor(nullptr, 0x0000FF);
    EXPECT_TRUE(senders.isEmpty());
    picker.SelectColor(nullptr, 0x808080);
    EXPECT_EQ(picker.Color(), 0x808080u);
    EXPECT_EQ(senders, QList<TkxColorPicker *>{&picker});
}

TEST_F(ColorPickerTest, ClickOpensThePopupBelowThenRaisesOnClick)
{
    TkxColorForm *openAtClick = nullptr;
    QObject::connect(&picker, &TkxColorPicker::OnClick,
                     [&](TkxColorPicker *) { openAtClick = picker.Popup(); });
    QTest::mouseClick(&picker, Qt::LeftButton, {}, QPoint(10, 10));
    TkxColorForm *popup = picker.Popup();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(openAtClick, popup);
    EXPECT_EQ(popup->geometry(), QRect(picker.mapToGlobal(QPoint(0, 21)), QSize(78, 120)));
    EXPECT_TRUE(popup->isWindow());
    EXPECT_TRUE(popup->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(popup->CurrentColor(), 0x0000FFu);
}

TEST_F(ColorPickerTest, OtherButtonsAndReleasesElsewhereDoNotOpen)
{
    QTest::mouseClick(&picker, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(picker.Popup(), nullptr);
    QTest::mousePress(&picker, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(&picker, Qt::LeftButton, {}, QPoint(60, 40));
    EXPECT_EQ(picker.Popup(), nullptr);
}

TEST_F(ColorPickerTest, SpaceShowsPressedLookAndOpensOnRelease)
{
    QTest::keyPress(&picker, Qt::Key_Space);
    EXPECT_EQ(Pixel(Picture(picker), 6, 5), Black); // pressed well
    EXPECT_EQ(picker.Popup(), nullptr);
    QTest::keyRelease(&picker, Qt::Key_Space);
    EXPECT_NE(picker.Popup(), nullptr);
    EXPECT_EQ(Pixel(Picture(picker), 5, 4), Black); // normal again
}

TEST_F(ColorPickerTest, EnterOpensThePopup)
{
    QTest::keyClick(&picker, Qt::Key_Return);
    EXPECT_NE(picker.Popup(), nullptr);
}

TEST_F(ColorPickerTest, PopupTakesLanguageOfThePicker)
{
    picker.SetLanguage(lgDeutsch);
    QTest::keyClick(&picker, Qt::Key_Return);
    ASSERT_NE(picker.Popup(), nullptr);
    EXPECT_EQ(picker.Popup()->FormLanguage(), lgDeutsch);
}

TEST(ColorPickerScreenshot, EveryLook)
{
    QWidget sheet;
    auto *layout = new QHBoxLayout(&sheet);
    TkxColorPicker *pickers[5];
    const TColor colors[5] = {0x0000FF, 0x008000, 0xF0CAA6, 0x800080, clBtnFace};
    for (int i = 0; i < 5; ++i) {
        pickers[i] = new TkxColorPicker(&sheet);
        pickers[i]->SetColor(colors[i]);
        pickers[i]->setFixedSize(42, 21);
        layout->addWidget(pickers[i]);
    }
    pickers[2]->SetFlat(true);
    pickers[3]->setEnabled(false);
    sheet.show();
    QTest::mousePress(pickers[1], Qt::LeftButton, {}, QPoint(10, 10));
    sheet.activateWindow();
    QCoreApplication::processEvents();
    pickers[4]->setFocus();
    // normal, pressed, flat, disabled, focused
    testsupport::SaveScreenshot(&sheet, "ColorPicker_Looks");
    QTest::mouseRelease(pickers[1], Qt::LeftButton, {}, QPoint(60, 40));
    EXPECT_EQ(Pixel(Picture(*pickers[3]), 5, 4), Silver);
}

} // namespace
