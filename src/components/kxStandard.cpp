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

TkxBitBtn::TkxBitBtn(QWidget *parent) : QPushButton(parent), hotTrackFont_(MakeKxFont(font(), clBlue))
{
    resize(DefaultWidth, sizeHint().height());
    connect(this, &QAbstractButton::clicked, this, &TkxBitBtn::Clicked);
}

TkxBitBtn::~TkxBitBtn()
{
    if (hot_)
        QToolTip::setPalette(savedToolTipPalette_);
}

void TkxBitBtn::SetKind(TBitBtnKind kind)
{
    if (kind == kind_ || kind < bkCustom || kind > bkAll)
        return;
    kind_ = kind;
    if (kind == bkCustom)
        return;
    const TKindLook &look = KindLooks[kind];
    setText(look.caption);
    setDefault(kind == bkOK || kind == bkYes);
    modalResult_ = look.result;
    const QPixmap glyph = LoadGlyph(look.art);
    ShowGlyph(glyph, GlyphCount(glyph.size()));
    Refer(image_, nullptr);
    resourceBitmap_.clear();
}

void TkxBitBtn::SetImageIndex(int index)
{
    if (index == image_.index)
        return;
    image_.index = index;
    if (index != -1)
        UpdateGlyphFromImageList();
}

void TkxBitBtn::SetImageList(TkxImageList *list)
{
    Refer(image_, list);
    if (!list)
        return;
    SetKind(bkCustom);
    resourceBitmap_.clear();
    UpdateGlyphFromImageList();
}

void TkxBitBtn::SetResourceBitmap(const QString &name)
{
    if (name == resourceBitmap_)
        return;
    resourceBitmap_ = name;
    if (name.trimmed().isEmpty())
        return;
    SetKind(bkCustom);
    Refer(image_, nullptr);
    const QPixmap glyph = LoadGlyph(name);
    ShowGlyph(glyph, GlyphCount(glyph.size()));
}

void TkxBitBtn::SetGlyph(const QPixmap &glyph)
{
    kind_ = bkCustom;
    ShowGlyph(glyph, GlyphCount(glyph.size()));
}

void TkxBitBtn::SetNumGlyphs(int count)
{
    ShowGlyph(glyph_, std::clamp(count, 1, 4));
}

bool TkxBitBtn::GlyphStored() const
{
    const bool fromImageList = image_.index >= 0 && image_.list;
    return kind_ == bkCustom && !fromImageList && resourceBitmap_.trimmed().isEmpty();
}

void TkxBitBtn::SetHotGlyph(const QPixmap &glyph)
{
    hotGlyph_ = glyph;
    Refer(hotImage_, nullptr);
}

void TkxBitBtn::SetHotImageList(TkxImageList *list)
{
    Refer(hotImage_, list);
}

bool TkxBitBtn::HotGlyphStored() const
{
    return hotImage_.index < 0 || !hotImage_.list;
}

void TkxBitBtn::SetColor(TColor color)
{
    if (color == color_)
        return;
    color_ = color;
    update();
}

void TkxBitBtn::SetAction(QAction *action)
{
    if (action_) {
        disconnect(action_, nullptr, this, nullptr);
        disconnect(this, &QAbstractButton::clicked, action_, &QAction::trigger);
    }
    action_ = action;
    if (!action)
        return;
    connect(action, &QAction::changed, this, &TkxBitBtn::ActionChange);
    connect(this, &QAbstractButton::clicked, action, &QAction::trigger);
    ActionChange();
}

void TkxBitBtn::ActionChange()
{
    setText(action_->text());
    setToolTip(action_->toolTip());
    setEnabled(action_->isEnabled());
    if (const auto *imageAction = qobject_cast<TkxImageAction *>(action_)) {
        SetImageIndex(imageAction->ImageIndex());
        SetImageList(imageAction->Images());
    }
    if (image_.index != -1 && width() < ImageOnlyWidth)
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
    if (kind_ != bkCustom)
        return;
    const QPixmap image = image_.list ? image_.list->Image(image_.index) : QPixmap();
    ShowGlyph(KeyedGlyph(image.toImage()), GlyphCount(image.size()));
}

void TkxBitBtn::ShowGlyph(const QPixmap &glyph, int count)
{
    glyph_ = glyph;
    numGlyphs_ = count;
    setIcon(GlyphIcon(glyph, count));
    if (!glyph.isNull())
        setIconSize(QSize(glyph.width() / count, glyph.height()));
}

void TkxBitBtn::enterEvent(QEnterEvent *event)
{
    QPushButton::enterEvent(event);
    if (!hot_)
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
    if (hot_)
        PointerLeft();
}

void TkxBitBtn::BecomeHot()
{
    savedToolTipPalette_ = QToolTip::palette();
    QPalette tip = savedToolTipPalette_;
    tip.setColor(QPalette::ToolTipBase, ToQColor(hintColor_));
    QToolTip::setPalette(tip);
    if (hotImage_.list && hotImage_.index != -1)
        hotGlyph_ = KeyedGlyph(hotImage_.list->Image(hotImage_.index).toImage());
    if (!hotGlyph_.isNull()) {
        savedGlyph_ = TSavedGlyph{glyph_, numGlyphs_};
        ShowGlyph(hotGlyph_, GlyphCount(hotGlyph_.size()));
    }
    if (hotTrack_) {
        savedFont_ = TSavedFont{font(), palette()};
        ShowKxFont(*this, hotTrackFont_, QPalette::ButtonText);
    }
    hot_ = true;
}

// Restores exactly what becoming hot replaced: also a glyph that was empty, and nothing that was
// not replaced (HotTrack may have been switched while hot).
void TkxBitBtn::PointerLeft()
{
    if (hot_) {
        QToolTip::setPalette(savedToolTipPalette_);
        hot_ = false;
        if (savedGlyph_) {
            ShowGlyph(savedGlyph_->glyph, savedGlyph_->count);
            savedGlyph_.reset();
        }
        if (savedFont_) {
            setFont(savedFont_->font);
            setPalette(savedFont_->palette);
            savedFont_.reset();
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
    ++eventDepth_;
    const bool handled = QPushButton::event(event);
    if (!guard)
        return handled;
    --eventDepth_;
    if (eventDepth_ == 0 && std::exchange(clickPending_, false))
        AfterClick();
    return handled;
}

void TkxBitBtn::Clicked()
{
    if (eventDepth_ > 0)
        clickPending_ = true;
    else
        QMetaObject::invokeMethod(this, &TkxBitBtn::AfterClick, Qt::QueuedConnection);
}

void TkxBitBtn::AfterClick()
{
    CloseDialog();
    if (!dropDownMenu_)
        return;
    const QPointer<TkxBitBtn> guard(this);
    dropDownMenu_->exec(mapToGlobal(QPoint(0, height())));
    // The pointer left the button for the menu, so the button leaves its hot look.
    if (guard)
        PointerLeft();
}

void TkxBitBtn::CloseDialog()
{
    if (kind_ == bkClose) {
        window()->close();
        return;
    }
    auto *dialog = qobject_cast<QDialog *>(window());
    if (modalResult_ == mrNone || !dialog || !dialog->isVisible())
        return;
    if (modalResult_ == mrOk)
        dialog->accept();
    else if (modalResult_ == mrCancel)
        dialog->reject();
    else
        dialog->done(modalResult_);
}
