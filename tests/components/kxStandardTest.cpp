// The hot-tracking bitmap button: hot look under the pointer, glyphs from image lists, kinds,
// actions and the drop-down menu.

#include "components/kxStandard.h"
#include "components/kxPointer.h"
#include "platform/Colors.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <gtest/gtest.h>

namespace {

// A square picture of one colour, with a transparent frame of two pixels.
QPixmap Picture(QColor color, int size = 16)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter(&image).fillRect(2, 2, size - 4, size - 4, color);
    return QPixmap::fromImage(image);
}

QRgb CentreOf(const QPixmap &pixmap)
{
    return pixmap.toImage().pixel(pixmap.width() / 2, pixmap.height() / 2);
}

using kxpointer::Enter;
using kxpointer::Leave;

QColor TextColour(const QWidget &widget)
{
    return widget.palette().color(QPalette::ButtonText);
}

class BitBtnTest : public testing::Test {
protected:
    BitBtnTest() : list(16, 16)
    {
        list.Add(Picture(Qt::red));
        list.Add(Picture(Qt::green));
    }
    TkxImageList list;
    TkxBitBtn button;
};

TEST_F(BitBtnTest, StartsWithItsDefaults)
{
    EXPECT_EQ(button.width(), 100);
    EXPECT_EQ(button.Kind(), bkCustom);
    EXPECT_EQ(button.ImageIndex(), -1);
    EXPECT_TRUE(button.HotTrack());
    EXPECT_EQ(button.HotTrackFont().Color, clBlue);
    EXPECT_EQ(button.HintColor(), clInfoBk);
    EXPECT_EQ(button.Color(), clBlack);
    EXPECT_FALSE(button.IsHot());
}

TEST_F(BitBtnTest, WithoutHotGlyphOnlyTheFontChangesUnderThePointer)
{
    button.SetGlyph(Picture(Qt::red));
    TkxFont hot = button.HotTrackFont();
    hot.Font.setBold(true);
    button.SetHotTrackFont(hot);
    const QColor normalText = TextColour(button);
    const qint64 glyph = button.Glyph().cacheKey();

    Enter(button);
    EXPECT_TRUE(button.font().bold());
    EXPECT_EQ(TextColour(button), QColor(Qt::blue));
    EXPECT_EQ(button.Glyph().cacheKey(), glyph);

    Leave(button);
    EXPECT_FALSE(button.font().bold());
    EXPECT_EQ(TextColour(button), normalText);
    EXPECT_EQ(button.Glyph().cacheKey(), glyph);
}

TEST_F(BitBtnTest, HotGlyphShowsWhileHotAndAnEmptyGlyphComesBack)
{
    button.SetHotGlyph(Picture(Qt::green));
    Enter(button);
    EXPECT_EQ(CentreOf(button.Glyph()), QColor(Qt::green).rgb());
    Leave(button);
    EXPECT_TRUE(button.Glyph().isNull());
}

TEST_F(BitBtnTest, HotImageListGivesTheHotGlyph)
{
    button.SetGlyph(Picture(Qt::blue));
    button.SetHotImageList(&list);
    button.SetHotImageIndex(1);
    EXPECT_FALSE(button.HotGlyphStored());
    Enter(button);
    EXPECT_EQ(CentreOf(button.Glyph()), QColor(Qt::green).rgb());
    Leave(button);
    EXPECT_EQ(CentreOf(button.Glyph()), QColor(Qt::blue).rgb());
}

TEST_F(BitBtnTest, SetsTheTooltipColourWhileHot)
{
    const QColor before = QToolTip::palette().color(QPalette::ToolTipBase);
    button.SetHintColor(0x00FFFF); // yellow
    Enter(button);
    EXPECT_EQ(QToolTip::palette().color(QPalette::ToolTipBase), QColor(Qt::yellow));
    Leave(button);
    EXPECT_EQ(QToolTip::palette().color(QPalette::ToolTipBase), before);
}

TEST_F(BitBtnTest, SecondEnterSavesNothingAgainButFiresAgain)
{
    QSignalSpy entered(&button, &TkxBitBtn::OnMouseEnter);
    QSignalSpy left(&button, &TkxBitBtn::OnMouseLeave);
    const QColor normalText = TextColour(button);
    const QColor normalTip = QToolTip::palette().color(QPalette::ToolTipBase);
    button.SetHintColor(0x0000FF);

    Enter(button);
    Enter(button);
    EXPECT_EQ(entered.count(), 2);
    EXPECT_EQ(entered.at(1).at(0).value<QObject *>(), &button);

    Leave(button);
    EXPECT_EQ(left.count(), 1);
    EXPECT_FALSE(button.IsHot());
    EXPECT_EQ(TextColour(button), normalText);
    EXPECT_EQ(QToolTip::palette().color(QPalette::ToolTipBase), normalTip);
}

TEST_F(BitBtnTest, ImageIndexBeyondTheListEmptiesTheGlyphAndAValidOneDrawsIt)
{
    button.SetImageList(&list);
    button.SetImageIndex(1);
    EXPECT_EQ(CentreOf(button.Glyph()), QColor(Qt::green).rgb());
    // Transparent parts of the image become the glyph's transparent purple.
    EXPECT_EQ(button.Glyph().toImage().pixel(0, 15), qRgb(128, 0, 128));
    EXPECT_FALSE(button.GlyphStored());

    button.SetImageIndex(2);
    EXPECT_TRUE(button.Glyph().isNull());
    button.SetImageIndex(0);
    EXPECT_EQ(CentreOf(button.Glyph()), QColor(Qt::red).rgb());
    button.SetImageIndex(-1);
    EXPECT_EQ(CentreOf(button.Glyph()), QColor(Qt::red).rgb());
}

TEST_F(BitBtnTest, ImagesWiderThanHighHoldSeveralStates)
{
    TkxImageList strips(32, 16);
    strips.Add(Picture(Qt::red, 32).scaled(32, 16));
    button.SetImageList(&strips);
    button.SetImageIndex(0);
    EXPECT_EQ(button.NumGlyphs(), 2);
    EXPECT_EQ(button.iconSize(), QSize(16, 16));
}

TEST_F(BitBtnTest, DestroyedImageListsAreForgotten)
{
    auto *shortLived = new TkxImageList(16, 16);
    shortLived->Add(Picture(Qt::red));
    button.SetImageList(shortLived);
    button.SetImageIndex(0);
    button.SetHotImageList(shortLived);
    button.SetHotImageIndex(0);
    delete shortLived;
    EXPECT_EQ(button.ImageList(), nullptr);
    EXPECT_EQ(button.ImageIndex(), -1);
    EXPECT_EQ(button.HotImageList(), nullptr);
    EXPECT_EQ(button.HotImageIndex(), -1);
}

TEST_F(BitBtnTest, KindOkDropsImageListIndexAndResourceName)
{
    button.SetImageList(&list);
    button.SetImageIndex(1);
    button.SetKind(bkOK);
    EXPECT_EQ(button.ImageList(), nullptr);
    EXPECT_EQ(button.ImageIndex(), -1);
    EXPECT_EQ(button.text(), "&OK");
    EXPECT_EQ(button.ModalResult(), mrOk);
    EXPECT_FALSE(button.Glyph().isNull());
    EXPECT_FALSE(button.GlyphStored());

    TkxBitBtn named;
    named.SetResourceBitmap("cancel");
    EXPECT_FALSE(named.Glyph().isNull());
    named.SetKind(bkOK);
    EXPECT_TRUE(named.ResourceBitmap().isEmpty());
}

TEST_F(BitBtnTest, ResourceBitmapLoadsTheNamedPictureOrNothing)
{
    button.SetKind(bkCancel);
    button.SetResourceBitmap("OK");
    EXPECT_EQ(button.Kind(), bkCustom);
    EXPECT_FALSE(button.Glyph().isNull());
    EXPECT_FALSE(button.GlyphStored());
    button.SetResourceBitmap("no such picture");
    EXPECT_TRUE(button.Glyph().isNull());
}

TEST_F(BitBtnTest, OwnGlyphIsStoredOnlyWhenNothingDerivesIt)
{
    button.SetGlyph(Picture(Qt::red));
    EXPECT_TRUE(button.GlyphStored());
    EXPECT_TRUE(button.HotGlyphStored());
    button.SetImageList(&list);
    EXPECT_TRUE(button.GlyphStored()); // a list without an index gives no glyph
    button.SetImageIndex(0);
    EXPECT_FALSE(button.GlyphStored());
}

struct ActionWidthCase {
    int width;
    bool keepsCaption;
};

class BitBtnActionTest : public BitBtnTest, public testing::WithParamInterface<ActionWidthCase> {};

TEST_P(BitBtnActionTest, NarrowButtonShowsTheActionsImageAlone)
{
    TkxImageAction action;
    action.setText("Go to");
    action.SetImages(&list);
    action.SetImageIndex(1);
    button.resize(GetParam().width, 28);
    button.SetAction(&action);
    EXPECT_EQ(button.ImageList(), &list);
    EXPECT_EQ(button.ImageIndex(), 1);
    EXPECT_EQ(CentreOf(button.Glyph()), QColor(Qt::green).rgb());
    EXPECT_EQ(button.text(), GetParam().keepsCaption ? "Go to" : "");

    QSignalSpy triggered(&action, &QAction::triggered);
    button.click();
    EXPECT_EQ(triggered.count(), 1);
}

INSTANTIATE_TEST_SUITE_P(Widths, BitBtnActionTest,
                         testing::Values(ActionWidthCase{28, false}, ActionWidthCase{30, true}));

TEST(BitBtnDropDownTest, MenuShowsUnderTheButtonAndClearsTheHotLook)
{
    QWidget window;
    window.move(100, 100);
    auto *button = new TkxBitBtn(&window);
    button->move(10, 10);
    window.show();
    QMenu menu;
    menu.addAction("Entry");
    button->SetDropDownMenu(&menu);
    QPoint shownAt;
    QObject::connect(&menu, &QMenu::aboutToShow, &menu, [&] {
        QTimer::singleShot(0, &menu, [&] {
            shownAt = menu.pos();
            menu.close();
        });
    });
    QSignalSpy left(button, &TkxBitBtn::OnMouseLeave);

    Enter(*button);
    ASSERT_TRUE(button->IsHot());
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(shownAt, button->mapToGlobal(QPoint(0, button->height())));
    EXPECT_FALSE(button->IsHot());
    EXPECT_NE(TextColour(*button), QColor(Qt::blue));
    EXPECT_EQ(left.count(), 1);
}

TEST_F(BitBtnTest, ModalResultClosesTheDialogAfterTheClickHandlers)
{
    QDialog dialog;
    auto *ok = new TkxBitBtn(&dialog);
    ok->SetKind(bkOK);
    int handled = 0;
    QObject::connect(ok, &QPushButton::clicked, &dialog, [&] { handled += dialog.isVisible() ? 1 : 0; });
    QSignalSpy accepted(&dialog, &QDialog::accepted);
    dialog.show();
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_EQ(handled, 1);
    EXPECT_EQ(accepted.count(), 1);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
}

// Hidden by its window closing under the pointer, or on its own: no leave arrives, and yet the
// button shows its normal look when it shows again, until the pointer enters it again.
TEST_F(BitBtnTest, AHiddenButtonIsNeverHot)
{
    for (const bool windowCloses : {true, false}) {
        SCOPED_TRACE(windowCloses ? "window closes" : "button hidden");
        QDialog dialog;
        auto *ok = new TkxBitBtn(&dialog);
        ok->SetKind(bkOK);
        QSignalSpy left(ok, &TkxBitBtn::OnMouseLeave);
        dialog.show();
        const QColor normal = TextColour(*ok);
        Enter(*ok);
        ok->setAttribute(Qt::WA_UnderMouse); // as the window system marks the button under the pointer
        ASSERT_TRUE(ok->IsHot());
        windowCloses ? dialog.hide() : ok->hide();
        EXPECT_FALSE(ok->IsHot());
        EXPECT_FALSE(ok->underMouse());
        EXPECT_EQ(TextColour(*ok), normal);
        EXPECT_EQ(left.count(), 1);
        windowCloses ? dialog.show() : ok->show();
        EXPECT_FALSE(ok->IsHot());
        Enter(*ok);
        EXPECT_TRUE(ok->IsHot());
    }
}

// The caption reads at rest and under the pointer.
TEST_F(BitBtnTest, NormalAndHotRead)
{
    QWidget window;
    auto *layout = new QHBoxLayout(&window);
    auto *normal = new TkxBitBtn;
    auto *hot = new TkxBitBtn;
    for (TkxBitBtn *each : {normal, hot}) {
        each->SetKind(bkOK);
        layout->addWidget(each);
    }
    auto *cancel = new TkxBitBtn;
    cancel->SetKind(bkCancel);
    layout->addWidget(cancel);
    window.show();
    Enter(*hot);
    for (TkxBitBtn *each : {normal, hot, cancel})
        EXPECT_GE(testsupport::InkContrast(each->grab().toImage()), ReadableContrast)
            << each->text().toStdString();
    testsupport::SaveScreenshot(&window, "kxBitBtn_normal_hot");
    Leave(*hot);
}

} // namespace
