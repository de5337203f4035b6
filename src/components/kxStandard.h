#pragma once
// TkxBitBtn: a push button with a glyph that reacts to the pointer. While the pointer is over it,
// it can show another font and another glyph and sets the application's tooltip colour. Its glyph
// can come from an image list, from a named picture of the program's artwork, or from a button
// kind (OK, Cancel, ...); a click can drop down a menu under the button.
//
// A glyph is a bitmap whose bottom-left pixel's colour is transparent; it holds one to four images
// side by side: normal, disabled, pressed and down (checked).

#include "components/kxFont.h"
#include "components/kxImageList.h"
#include "platform/Colors.h"

#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <optional>

enum TBitBtnKind {
    bkCustom,
    bkOK,
    bkCancel,
    bkHelp,
    bkYes,
    bkNo,
    bkClose,
    bkAbort,
    bkRetry,
    bkIgnore,
    bkAll
};

// The result a button gives its dialog when clicked. mrOk closes the dialog with accept(), mrCancel
// with reject(), any other value with done(value); mrNone leaves it open.
enum TModalResult { mrNone, mrOk, mrCancel, mrAbort, mrRetry, mrIgnore, mrYes, mrNo, mrAll };

class TkxBitBtn : public QPushButton {
    Q_OBJECT
public:
    explicit TkxBitBtn(QWidget *parent = nullptr);
    ~TkxBitBtn() override;

    // A kind other than bkCustom brings its own glyph, caption, modal result and default flag,
    // and drops the image list, image index and resource bitmap.
    TBitBtnKind Kind() const { return FKind; }
    void SetKind(TBitBtnKind kind);
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult result) { FModalResult = result; }

    int ImageIndex() const { return FImage.index; }
    void SetImageIndex(int index);
    TkxImageList *ImageList() const { return FImage.list; }
    void SetImageList(TkxImageList *list);
    // A picture of the program's artwork: a resource path (":/...") or a bare name, which means
    // ":/art/buttons/<name in lower case>.svg". A name that no picture bears leaves the glyph empty.
    QString ResourceBitmap() const { return FResourceBitmap; }
    void SetResourceBitmap(const QString &name);

    // Setting a glyph makes the button custom; the number of images follows the glyph's shape
    // (width a whole multiple, 1 to 4, of the height).
    QPixmap Glyph() const { return FGlyph; }
    void SetGlyph(const QPixmap &glyph);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int count);
    // Whether the glyph is the button's own rather than derived from its kind, image list or
    // resource bitmap; only then does it belong to the button's saved configuration.
    bool GlyphStored() const;

    bool HotTrack() const { return FHotTrack; }
    void SetHotTrack(bool on) { FHotTrack = on; }
    TkxFont HotTrackFont() const { return FHotTrackFont; }
    void SetHotTrackFont(const TkxFont &font) { FHotTrackFont = font; }
    QPixmap HotGlyph() const { return FHotGlyph; }
    void SetHotGlyph(const QPixmap &glyph);
    int HotImageIndex() const { return FHotImage.index; }
    void SetHotImageIndex(int index) { FHotImage.index = index; }
    TkxImageList *HotImageList() const { return FHotImage.list; }
    void SetHotImageList(TkxImageList *list);
    // Whether the hot glyph is the button's own rather than fetched from the hot image list.
    bool HotGlyphStored() const;

    TColor HintColor() const { return FHintColor; }
    void SetHintColor(TColor color) { FHintColor = color; }
    QMenu *DropDownMenu() const { return FDropDownMenu; }
    void SetDropDownMenu(QMenu *menu) { FDropDownMenu = menu; }
    // Kept with the button; the face is drawn by the style, which does not use it.
    TColor Color() const { return FColor; }
    void SetColor(TColor color);

    // Takes the action's caption, hint and enabled state (now and whenever it changes); a click
    // triggers it. A TkxImageAction also gives its image; a button narrower than 30 pixels then
    // shows the image alone.
    QAction *Action() const { return FAction; }
    void SetAction(QAction *action);

    // Whether the pointer is over the button (or its drop-down menu is open).
    bool IsHot() const { return FHot; }

signals:
    void OnMouseEnter(QObject *Sender);
    void OnMouseLeave(QObject *Sender);

protected:
    bool event(QEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    // A hidden button is left by the pointer: no window system says so when its window closes
    // under the pointer, and it would show its hot look at the next showing wherever the pointer is.
    void hideEvent(QHideEvent *event) override;

private:
    // An image of a list; the reference is dropped (index -1) when the list is destroyed.
    struct TImageRef {
        TkxImageList *list = nullptr;
        int index = -1;
        QMetaObject::Connection watch;
    };
    struct TSavedGlyph {
        QPixmap glyph;
        int count;
    };
    struct TSavedFont {
        QFont font;
        QPalette palette;
    };

    void BecomeHot();
    void PointerLeft();
    void Clicked();
    void AfterClick();
    void CloseDialog();
    void UpdateGlyphFromImageList();
    void ShowGlyph(const QPixmap &glyph, int count);
    void ActionChange();
    void Refer(TImageRef &ref, TkxImageList *list);

    TBitBtnKind FKind = bkCustom;
    TModalResult FModalResult = mrNone;
    TImageRef FImage;
    QString FResourceBitmap;
    QPixmap FGlyph;
    int FNumGlyphs = 1;
    bool FHotTrack = true;
    TkxFont FHotTrackFont;
    QPixmap FHotGlyph;
    TImageRef FHotImage;
    TColor FHintColor = clInfoBk;
    QPointer<QMenu> FDropDownMenu;
    TColor FColor = clBlack;
    QPointer<QAction> FAction;

    bool FHot = false;
    QPalette FSavedToolTipPalette;
    std::optional<TSavedGlyph> FSavedGlyph;
    std::optional<TSavedFont> FSavedFont;
    int FEventDepth = 0;
    bool FClickPending = false;
};
