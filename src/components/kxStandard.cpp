#include "components/kxStandard.h"

#include <QDialog>
#include <QEnterEvent>
#include <QFile>
#include <QPainter>
#include <QSvgRenderer>
#include <QToolTip>
#include <algorithm>

namespace {

// Fully transparent parts of a glyph are stored in this colour, which the bottom-left pixel names
// as the transparent one.
constexpr QRgb GlyphBackground = qRgb(128, 0, 128);
constexpr int DefaultWidth = 100;
// A button with an action's image and less width than this shows the image without the caption.
constexpr int ImageOnlyWidth = 30;

struct TKindLook {
    const char *caption;
    const char *art;
    TModalResult result;
};

// Indexed by TBitBtnKind; bkCustom has no look of its own.
constexpr TKindLook KindLooks[] = {
    {"", "", mrNone},
    {"&OK", "ok", mrOk},
    {"&Cancel", "cancel", mrCancel},
    {"&Help", "help", mrNone},
    {"&Yes", "ok", mrYes},
    {"&No", "no", mrNo},
    {"&Close", "close", mrNone},
    {"&Abort", "cancel", mrAbort},
    {"&Retry", "retry", mrRetry},
    {"&Ignore", "ignore", mrIgnore},
    {"&All", "all", mrAll},
};
static_assert(std::size(KindLooks) == bkAll + 1);

template <typename Match> void ReplacePixels(QImage &image, Match match, QRgb replacement)
{
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        std::replace_if(line, line + image.width(), match, replacement);
    }
}

// A picture as a glyph: fully transparent pixels take the transparent purple, soft edges keep
// their alpha so they stay smooth.
QPixmap KeyedGlyph(QImage image)
{
    if (image.isNull())
        return {};
    image = image.convertToFormat(QImage::Format_ARGB32);
    ReplacePixels(
        image, [](QRgb pixel) { return qAlpha(pixel) == 0; }, GlyphBackground);
    return QPixmap::fromImage(image);
}

QImage RenderArt(const QString &path)
{
    if (!QFile::exists(path))
        return {};
    if (!path.endsWith(".svg", Qt::CaseInsensitive))
        return QImage(path);
    QSvgRenderer renderer(path);
    if (!renderer.isValid())
        return {};
    QImage image(renderer.defaultSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

QPixmap LoadGlyph(const QString &name)
{
    const QString path = name.startsWith(":/") ? name : ":/art/buttons/" + name.trimmed().toLower() + ".svg";
    return KeyedGlyph(RenderArt(path));
}

// Images side by side in a glyph: its width must be 1 to 4 times its height, else it is one image.
int GlyphCount(QSize size)
{
    if (size.height() <= 0 || size.width() % size.height() != 0)
        return 1;
    const int count = size.width() / size.height();
    return count >= 1 && count <= 4 ? count : 1;
}

QIcon GlyphIcon(const QPixmap &glyph, int count)
{
    if (glyph.isNull())
        return {};
    QImage image = glyph.toImage().convertToFormat(QImage::Format_ARGB32);
    const QRgb transparent = image.pixel(0, image.height() - 1);
    if (qAlpha(transparent) == 255)
        ReplacePixels(
            image, [transparent](QRgb pixel) { return pixel == transparent; }, qRgba(0, 0, 0, 0));
    const int width = image.width() / count;
    const auto part = [&](int index) {
        return QPixmap::fromImage(image.copy(index * width, 0, width, image.height()));
    };
    // Images: normal, disabled, pressed (the style draws pressed buttons itself), down.
    QIcon icon(part(0));
    if (count >= 2)
        icon.addPixmap(part(1), QIcon::Disabled);
    if (count >= 4)
        icon.addPixmap(part(3), QIcon::Normal, QIcon::On);
    return icon;
}

} // namespace

TkxBitBtn::TkxBitBtn(QWidget *parent) : QPushButton(parent), FHotTrackFont(MakeKxFont(font(), clBlue))
{
    resize(DefaultWidth, sizeHint().height());
    connect(this, &QAbstractButton::clicked, this, &TkxBitBtn::Clicked);
}

TkxBitBtn::~TkxBitBtn()
{
    if (FHot)
        QToolTip::setPalette(FSavedToolTipPalette);
}

void TkxBitBtn::SetKind(TBitBtnKind kind)
{
    if (kind == FKind || kind < bkCustom || kind > bkAll)
        return;
    FKind = kind;
    if (kind == bkCustom)
        return;
    const TKindLook &look = KindLooks[kind];
    setText(look.caption);
    setDefault(kind == bkOK || kind == bkYes);
    FModalResult = look.result;
    const QPixmap glyph = LoadGlyph(look.art);
    ShowGlyph(glyph, GlyphCount(glyph.size()));
    Refer(FImage, nullptr);
    FResourceBitmap.clear();
}

void TkxBitBtn::SetImageIndex(int index)
{
    if (index == FImage.index)
        return;
    FImage.index = index;
    if (index != -1)
        UpdateGlyphFromImageList();
}

void TkxBitBtn::SetImageList(TkxImageList *list)
{
    Refer(FImage, list);
    if (!list)
        return;
    SetKind(bkCustom);
    FResourceBitmap.clear();
    UpdateGlyphFromImageList();
}

void TkxBitBtn::SetResourceBitmap(const QString &name)
{
    if (name == FResourceBitmap)
        return;
    FResourceBitmap = name;
    if (name.trimmed().isEmpty())
        return;
    SetKind(bkCustom);
    Refer(FImage, nullptr);
    const QPixmap glyph = LoadGlyph(name);
    ShowGlyph(glyph, GlyphCount(glyph.size()));
}

void TkxBitBtn::SetGlyph(const QPixmap &glyph)
{
    FKind = bkCustom;
    ShowGlyph(glyph, GlyphCount(glyph.size()));
}

void TkxBitBtn::SetNumGlyphs(int count)
{
    ShowGlyph(FGlyph, std::clamp(count, 1, 4));
}

bool TkxBitBtn::GlyphStored() const
{
    const bool fromImageList = FImage.index >= 0 && FImage.list;
    return FKind == bkCustom && !fromImageList && FResourceBitmap.trimmed().isEmpty();
}

void TkxBitBtn::SetHotGlyph(const QPixmap &glyph)
{
    FHotGlyph = glyph;
    Refer(FHotImage, nullptr);
}

void TkxBitBtn::SetHotImageList(TkxImageList *list)
{
    Refer(FHotImage, list);
}

bool TkxBitBtn::HotGlyphStored() const
{
    return FHotImage.index < 0 || !FHotImage.list;
}

void TkxBitBtn::SetColor(TColor color)
{
    if (color == FColor)
        return;
    FColor = color;
    update();
}

void TkxBitBtn::SetAction(QAction *action)
{
    if (FAction) {
        disconnect(FAction, nullptr, this, nullptr);
        disconnect(this, &QAbstractButton::clicked, FAction, &QAction::trigger);
    }
    FAction = action;
    if (!action)
        return;
    connect(action, &QAction::changed, this, &TkxBitBtn::ActionChange);
    connect(this, &QAbstractButton::clicked, action, &QAction::trigger);
    ActionChange();
}

void TkxBitBtn::ActionChange()
{
    setText(FAction->text());
    setToolTip(FAction->toolTip());
    setEnabled(FAction->isEnabled());
    if (const auto *imageAction = qobject_cast<TkxImageAction *>(FAction)) {
        SetImageIndex(imageAction->ImageIndex());
        SetImageList(imageAction->Images());
    }
    if (FImage.index != -1 && width() < ImageOnlyWidth)
        setText(QString());
}

void TkxBitBtn::Refer(TImageRef &ref, TkxImageList *list)
{
    disconnect(ref.watch);
    ref.list = list;
    if (!list) {
        ref.index = -1;
        return;
    }
    ref.watch = connect(list, &QObject::destroyed, this, [&ref] {
        ref.list = nullptr;
        ref.index = -1;
    });
}

void TkxBitBtn::UpdateGlyphFromImageList()
{
    if (FKind != bkCustom)
        return;
    const QPixmap image = FImage.list ? FImage.list->Image(FImage.index) : QPixmap();
    ShowGlyph(KeyedGlyph(image.toImage()), GlyphCount(image.size()));
}

void TkxBitBtn::ShowGlyph(const QPixmap &glyph, int count)
{
    FGlyph = glyph;
    FNumGlyphs = count;
    setIcon(GlyphIcon(glyph, count));
    if (!glyph.isNull())
        setIconSize(QSize(glyph.width() / count, glyph.height()));
}

void TkxBitBtn::enterEvent(QEnterEvent *event)
{
    QPushButton::enterEvent(event);
    if (!FHot)
        BecomeHot();
    emit OnMouseEnter(this);
}

void TkxBitBtn::leaveEvent(QEvent *event)
{
    QPushButton::leaveEvent(event);
    PointerLeft();
}

void TkxBitBtn::hideEvent(QHideEvent *event)
{
    QPushButton::hideEvent(event);
    setAttribute(Qt::WA_UnderMouse, false); // the style's hover look
    if (FHot)
        PointerLeft();
}

void TkxBitBtn::BecomeHot()
{
    FSavedToolTipPalette = QToolTip::palette();
    QPalette tip = FSavedToolTipPalette;
    tip.setColor(QPalette::ToolTipBase, ToQColor(FHintColor));
    QToolTip::setPalette(tip);
    if (FHotImage.list && FHotImage.index != -1)
        FHotGlyph = KeyedGlyph(FHotImage.list->Image(FHotImage.index).toImage());
    if (!FHotGlyph.isNull()) {
        FSavedGlyph = TSavedGlyph{FGlyph, FNumGlyphs};
        ShowGlyph(FHotGlyph, GlyphCount(FHotGlyph.size()));
    }
    if (FHotTrack) {
        FSavedFont = TSavedFont{font(), palette()};
        ShowKxFont(*this, FHotTrackFont, QPalette::ButtonText);
    }
    FHot = true;
}

// Restores exactly what becoming hot replaced: also a glyph that was empty, and nothing that was
// not replaced (HotTrack may have been switched while hot).
void TkxBitBtn::PointerLeft()
{
    if (FHot) {
        QToolTip::setPalette(FSavedToolTipPalette);
        FHot = false;
        if (FSavedGlyph) {
            ShowGlyph(FSavedGlyph->glyph, FSavedGlyph->count);
            FSavedGlyph.reset();
        }
        if (FSavedFont) {
            setFont(FSavedFont->font);
            setPalette(FSavedFont->palette);
            FSavedFont.reset();
        }
    }
    emit OnMouseLeave(this);
}

// The click's own work (modal result, drop-down menu) follows every handler of clicked: for a
// click by mouse or keyboard once the event that caused it has been handled, for a click from
// code on return to the event loop.
bool TkxBitBtn::event(QEvent *event)
{
    const QPointer<TkxBitBtn> guard(this);
    ++FEventDepth;
    const bool handled = QPushButton::event(event);
    if (!guard)
        return handled;
    --FEventDepth;
    if (FEventDepth == 0 && std::exchange(FClickPending, false))
        AfterClick();
    return handled;
}

void TkxBitBtn::Clicked()
{
    if (FEventDepth > 0)
        FClickPending = true;
    else
        QMetaObject::invokeMethod(this, &TkxBitBtn::AfterClick, Qt::QueuedConnection);
}

void TkxBitBtn::AfterClick()
{
    CloseDialog();
    if (!FDropDownMenu)
        return;
    const QPointer<TkxBitBtn> guard(this);
    FDropDownMenu->exec(mapToGlobal(QPoint(0, height())));
    // The pointer left the button for the menu, so the button leaves its hot look.
    if (guard)
        PointerLeft();
}

void TkxBitBtn::CloseDialog()
{
    if (FKind == bkClose) {
        window()->close();
        return;
    }
    auto *dialog = qobject_cast<QDialog *>(window());
    if (FModalResult == mrNone || !dialog || !dialog->isVisible())
        return;
    if (FModalResult == mrOk)
        dialog->accept();
    else if (FModalResult == mrCancel)
        dialog->reject();
    else
        dialog->done(FModalResult);
}
