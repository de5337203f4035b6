#pragma once
// A drop-down list of the installed fonts, each drawn in its own face with a picture of its kind,
// a block of recently chosen fonts at the top, and a preview window beside the open list.

#include "platform/Colors.h"

#include <QComboBox>
#include <QIcon>
#include <QWidget>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

class QLabel;

enum TkxFontType { ftTrueTypeAnsi, ftTrueTypeSymbol, ftRaster };

// A set of font kinds.
class TkxFontTypes {
public:
    constexpr TkxFontTypes() = default;
    constexpr TkxFontTypes(std::initializer_list<TkxFontType> types)
    {
        for (TkxFontType type : types)
            Bits |= 1u << type;
    }
    constexpr bool Contains(TkxFontType type) const { return (Bits >> type) & 1u; }
    constexpr bool operator==(const TkxFontTypes &) const = default;

private:
    unsigned Bits = 0;
};

// One installed typeface as the font list needs it. A symbol font is one whose characters are the
// symbol set and not Latin.
struct TkxFontFamily {
    QString Name;
    bool Scalable = false; // outline font (TrueType, OpenType, Type 1)
    bool Bitmap = false;   // raster font
    bool Latin = false;    // covers the Latin writing system
    bool Symbol = false;   // its characters are the symbol set
};

// The typefaces of this machine that fonts of the given kinds may be among, from the font
// database: each family once, by its plain name, also where several foundries make it.
std::vector<TkxFontFamily> SystemFontFamilies(TkxFontTypes types);

// The borderless preview window: the font's name in a strip over a sample text in that font.
class TFormExampleFont : public QWidget {
    Q_OBJECT
public:
    TFormExampleFont();

    QLabel *PanelFontName;
    QLabel *PanelPreview;
};

class TkxFontComboBox : public QComboBox {
    Q_OBJECT
public:
    using TFontSource = std::function<std::vector<TkxFontFamily>()>;

    explicit TkxFontComboBox(QWidget *parent = nullptr);

    // Fills the list from the font source; the used block is emptied. The control fills itself
    // when first shown or asked for a font, so FontTypes only needs to be set before that.
    void FillFontList();

    // Where FillFontList finds its typefaces (tests supply their own); refills a filled list.
    void SetFontSource(TFontSource source);

    // Typeface name of the chosen entry. Setting it chooses the first entry holding the name
    // followed by "=" (so "Sans" finds "Gill Sans" when that comes first); raises no event.
    QString FontName() const { return FFontName; }
    void SetFontName(const QString &name);

    bool MoveUsedToTop() const { return FMoveUsedToTop; }
    void SetMoveUsedToTop(bool move) { FMoveUsedToTop = move; }
    int MaxUsed() const { return FMaxUsed; } // 0 = no limit
    void SetMaxUsed(int maxUsed) { FMaxUsed = qMax(0, maxUsed); }
    TColor ColorUsed() const { return FColorUsed; }
    void SetColorUsed(TColor color);
    QString PreviewText() const { return FPreviewText; }
    void SetPreviewText(const QString &text);
    int PreviewWidth() const { return FPreviewWidth; }
    void SetPreviewWidth(int width);
    int PreviewHeight() const { return FPreviewHeight; }
    void SetPreviewHeight(int height);
    TkxFontTypes FontTypes() const { return FFontTypes; }
    void SetFontTypes(TkxFontTypes types);
    bool ShowPreview() const { return FShowPreview; }
    void SetShowPreview(bool show) { FShowPreview = show; }
    bool ShowPreviewFontName() const { return FShowPreviewFontName; }
    void SetShowPreviewFontName(bool show);
    bool ShowPreviewInList() const { return FShowPreviewInList; }
    void SetShowPreviewInList(bool show);
    bool ShowPreviewInEdit() const { return FShowPreviewInEdit; }
    void SetShowPreviewInEdit(bool show);
    bool ShowImagesFontType() const { return FShowImagesFontType; }
    void SetShowImagesFontType(bool show);
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int height);

    // Entries at the top of the list that were chosen before, most recent first.
    int UsedCount() const { return FUsedCount; }
    bool ListOpen() const { return FListOpen; }
    TFormExampleFont *Preview() const { return FPreview.get(); }

    // The name and type code ("TA", "TS", "R") of an entry "name=code".
    static QString NamePart(const QString &entry);
    static QString CodePart(const QString &entry);

    // The font an entry is drawn with, in the open list or in the closed box.
    QFont EntryFont(int index, bool inList) const;
    // Draws one entry into `rect` on its already chosen background.
    void DrawEntry(QPainter &p, const QRect &rect, int index, bool inList) const;

    void showPopup() override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void OnDropDown(TkxFontComboBox *sender);
    void OnClick(TkxFontComboBox *sender);
    void OnChange(TkxFontComboBox *sender);

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void EnsureFilled();
    void EnsureList();
    void UpdateList();
    void CommitSelection();
    void MoveToUsedBlock(int index);
    void ListClosed();
    void FinishClosing(bool picked);
    void Activated(int index);
    void UpdatePreview(int index);
    void PlacePreview();
    const QIcon &Picture(const QString &code) const;

    std::unique_ptr<TFormExampleFont> FPreview; // a window of its own, owned here
    QIcon PictureTrueTypeAnsi;
    QIcon PictureTrueTypeSymbol;
    QIcon PictureRaster;
    TFontSource FontSource;
    bool Constructed = false;
    bool ListMade = false; // made at the first opening
    bool Filled = false;
    bool ClosePending = false; // the list closed; the choice, if any, arrives right after
    int FUsedCount = 0;
    bool FListOpen = false;
    int FPreviewWidth = 240;
    int FPreviewHeight = 60;
    QString FFontName;
    QString FPreviewText;
    bool FMoveUsedToTop = true;
    int FMaxUsed = 5;
    TColor FColorUsed = clNavy;
    TkxFontTypes FFontTypes{ftTrueTypeAnsi, ftTrueTypeSymbol};
    bool FShowPreviewInList = true;
    bool FShowPreview = true;
    bool FShowImagesFontType = true;
    bool FShowPreviewFontName = true;
    bool FShowPreviewInEdit = false;
    int FItemHeight = 18;
};
