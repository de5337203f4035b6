#include "components/kxFontCombobox.h"

#include "components/kxAccessible.h"

#include "platform/Screen.h"
#include "platform/SvgIcon.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QEvent>
#include <QFontDatabase>
#include <QHash>
#include <QLabel>
#include <QListView>
#include <QPainter>
#include <QProxyStyle>
#include <QSet>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// The font box: a combo box whose value is the family a person knows ("FreeSerif"), not the entry
// it stores ("FreeSerif=TA"), also as its text, which screen readers speak of a combo box. Its
// list (the entries read by their families too) is its child.
class TkxFontComboBoxAccessible final : public QAccessibleWidget, public TReadOnlyTextAccessible {
public:
    explicit TkxFontComboBoxAccessible(TkxFontComboBox *box) : QAccessibleWidget(box, QAccessible::ComboBox)
    {
        addControllingSignal(QStringLiteral("activated(int)"));
    }
    TkxFontComboBox *Box() const { return static_cast<TkxFontComboBox *>(widget()); }
    QString Text() const override { return Box()->FontName(); }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? Text() : QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.expandable = true;
        state.expanded = Box()->view()->isVisible();
        state.collapsed = !state.expanded;
        return state;
    }
    int childCount() const override { return 1; }
    QAccessibleInterface *child(int index) const override
    {
        return index == 0 ? QAccessible::queryAccessibleInterface(Box()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child && child->object() == Box()->view() ? 0 : -1;
    }
    QStringList actionNames() const override { return {showMenuAction()}; }
    void doAction(const QString &name) override
    {
        if (name == showMenuAction())
            Box()->showPopup();
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }
};

constexpr QStringView DefaultSample = u"AaBbYyZz";
constexpr int DefaultWidth = 200;
constexpr QStringView CodeTrueTypeAnsi = u"TA";
constexpr QStringView CodeTrueTypeSymbol = u"TS";
constexpr QStringView CodeRaster = u"R";
constexpr int MaxNameLength = 32;

QString TypeCode(const TkxFontFamily &family)
{
    if (family.Scalable) {
        if (family.Symbol && !family.Latin)
            return CodeTrueTypeSymbol.toString();
        return family.Latin ? CodeTrueTypeAnsi.toString() : QString();
    }
    return family.Bitmap ? CodeRaster.toString() : QString();
}

// Qt names a family that several foundries make "Family [Foundry]", once per foundry; the list
// holds the family once under its plain name, and drawing that name picks its regular face.
QString PlainFamilyName(const QString &name)
{
    const qsizetype foundry = name.endsWith(']') ? name.lastIndexOf(QLatin1String(" [")) : -1;
    return foundry > 0 ? name.left(foundry) : name;
}

// Qt's font configuration layer adds the generic families under these names; each stands for
// another installed family and is no font the user could pick in other programs.
bool IsStandIn(const QString &name)
{
    static const QStringList standIns{QStringLiteral("Sans Serif"), QStringLiteral("Serif"),
                                      QStringLiteral("Monospace")};
    return standIns.contains(name);
}

bool Admitted(const QString &code, TkxFontTypes types)
{
    return (code == CodeTrueTypeAnsi && types.Contains(ftTrueTypeAnsi)) ||
           (code == CodeTrueTypeSymbol && types.Contains(ftTrueTypeSymbol)) ||
           (code == CodeRaster && types.Contains(ftRaster));
}

// At most 32 characters, never half of a surrogate pair.
QString CutName(const QString &name)
{
    QString cut = name.left(MaxNameLength);
    if (cut.size() < name.size() && cut.back().isHighSurrogate())
        cut.chop(1);
    return cut;
}

QString SampleText(const QString &previewText)
{
    return previewText.trimmed().isEmpty() ? DefaultSample.toString() : previewText;
}

// Draws the open list's entries through the control, so list and closed box look alike.
class FontItemDelegate : public QStyledItemDelegate {
public:
    explicit FontItemDelegate(TkxFontComboBox *combo) : QStyledItemDelegate(combo), Combo(combo) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        painter->save();
        const bool selected = option.state & QStyle::State_Selected;
        painter->fillRect(option.rect, selected ? option.palette.highlight() : option.palette.base());
        Combo->DrawEntry(*painter, option.rect, index.row(), true);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const override
    {
        return {option.rect.width(), Combo->ItemHeight()};
    }

private:
    TkxFontComboBox *Combo;
};

// Drops the list down below the box, DropDownCount rows high, also where the platform's style
// would lay it over the box as a tall menu.
class DropDownStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_ComboBox_Popup)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

std::vector<TkxFontFamily> SystemFontFamilies(TkxFontTypes types)
{
    // Each question about one family costs the font database about a microsecond, so the writing
    // systems come from two lists, and only families that may be listed are looked at closely: a
    // font of other scripts can only be a raster font.
    const QStringList latinNames = QFontDatabase::families(QFontDatabase::Latin);
    const QStringList symbolNames = QFontDatabase::families(QFontDatabase::Symbol);
    const QSet<QString> symbolCodes(symbolNames.begin(), symbolNames.end());
    const bool rasterToo = types.Contains(ftRaster);
    const QStringList names = rasterToo ? QFontDatabase::families() : latinNames;
    const QSet<QString> latin = rasterToo ? QSet<QString>(latinNames.begin(), latinNames.end()) : QSet<QString>();

    std::vector<TkxFontFamily> families;
    QHash<QString, std::size_t> byName;
    families.reserve(names.size());
    for (const QString &name : names) {
        if (QFontDatabase::isPrivateFamily(name) || IsStandIn(name))
            continue;
        // Qt's Symbol writing system holds every font of a script it does not know. A font of the
        // symbol set puts its pictures on the Latin code points and covers nothing else, so Qt
        // reports exactly Latin and Symbol for it; such a font is no Latin font.
        const bool latinCodes = !rasterToo || latin.contains(name);
        const bool symbolSet =
            latinCodes && symbolCodes.contains(name) && QFontDatabase::writingSystems(name).size() == 2;
        const bool scalable = QFontDatabase::isSmoothlyScalable(name);
        const TkxFontFamily family{PlainFamilyName(name), scalable, !scalable, latinCodes && !symbolSet,
                                   symbolSet};
        const auto known = byName.constFind(family.Name);
        if (known == byName.cend()) {
            byName.insert(family.Name, families.size());
            families.push_back(family);
            continue;
        }
        TkxFontFamily &merged = families[*known]; // the same family from another foundry
        merged.Scalable = merged.Scalable || family.Scalable;
        merged.Bitmap = merged.Bitmap || family.Bitmap;
        merged.Latin = merged.Latin || family.Latin;
        merged.Symbol = merged.Symbol || family.Symbol;
    }
    return families;
}

// ---------------------------------------------------------------------------------------------
// TFormExampleFont

TFormExampleFont::TFormExampleFont()
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus),
      PanelFontName(new QLabel(this)), PanelPreview(new QLabel(this))
{
    setAttribute(Qt::WA_ShowWithoutActivating);

    PanelFontName->setFrameStyle(QFrame::Panel | QFrame::Raised);
    PanelFontName->setAlignment(Qt::AlignCenter);
    // 15 pixels, or what the platform's default font needs not to clip.
    PanelFontName->setFixedHeight(qMax(15, PanelFontName->fontMetrics().height() + 2));

    PanelPreview->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    PanelPreview->setAlignment(Qt::AlignCenter);
    PanelPreview->setBackgroundRole(QPalette::Base);
    PanelPreview->setAutoFillBackground(true);
    QFont sample = PanelPreview->font();
    sample.setPixelSize(24);
    sample.setBold(true);
    PanelPreview->setFont(sample);
    PanelPreview->setText(DefaultSample.toString());

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(PanelFontName);
    layout->addWidget(PanelPreview, 1);
}

// ---------------------------------------------------------------------------------------------
// TkxFontComboBox

TkxFontComboBox::TkxFontComboBox(QWidget *parent)
    : QComboBox(parent), FPreview(std::make_unique<TFormExampleFont>()),
      PictureTrueTypeAnsi(SvgIcon(QStringLiteral(":/art/fonttypes/truetype-ansi.svg"))),
      PictureTrueTypeSymbol(SvgIcon(QStringLiteral(":/art/fonttypes/truetype-symbol.svg"))),
      PictureRaster(SvgIcon(QStringLiteral(":/art/fonttypes/raster.svg")))
{
    QFont face = font();
    face.setPointSize(10);
    setFont(face);
    auto *dropDown = new DropDownStyle;
    dropDown->setParent(this);
    setStyle(dropDown);
    Constructed = true;
    setMaxVisibleItems(12);
    // The default width at once; the height follows the font and is taken when the box is first
    // shown (Qt sizes a widget nobody sized at its showing), so making one loads no font.
    resize(DefaultWidth, height());
    setAttribute(Qt::WA_Resized, false);

    FPreview->setFixedSize(FPreviewWidth, FPreviewHeight);
    connect(this, &QComboBox::highlighted, this, &TkxFontComboBox::UpdatePreview);
    connect(this, &QComboBox::activated, this, &TkxFontComboBox::Activated);
    RegisterAccessible("TkxFontComboBox", [](QObject *object) -> QAccessibleInterface * {
        return new TkxFontComboBoxAccessible(static_cast<TkxFontComboBox *>(object));
    });
    // Screen readers read each entry by its family, without the type code.
    connect(model(), &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex &, int first, int last) {
        for (int row = first; row <= last; ++row)
            setItemData(row, NamePart(itemText(row)), Qt::AccessibleTextRole);
    });
}

// Qt's combo box makes its list window at every change of font or style, the first one included;
// that window costs more than all the rest of the control, and most boxes are never opened. The
// changes made while the control is built have nothing else to do there: no size is known yet.
void TkxFontComboBox::changeEvent(QEvent *event)
{
    const bool listChange = event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange;
    if (listChange && !Constructed)
        QWidget::changeEvent(event);
    else
        QComboBox::changeEvent(event);
}

// The list's items are drawn by the control, all of one height.
void TkxFontComboBox::EnsureList()
{
    if (ListMade)
        return;
    ListMade = true;
    setItemDelegate(new FontItemDelegate(this));
    if (auto *list = qobject_cast<QListView *>(view()))
        list->setUniformItemSizes(true);
    // The list's window hides however the list closes (pick, Escape, click elsewhere).
    view()->window()->installEventFilter(this);
}

void TkxFontComboBox::UpdateList()
{
    if (ListMade)
        view()->viewport()->update();
}

QSize TkxFontComboBox::sizeHint() const
{
    return {DefaultWidth, qMax(minimumSizeHint().height(), FItemHeight + 6)};
}

// From the font and the type picture alone: Qt's own size hints would measure every font name.
QSize TkxFontComboBox::minimumSizeHint() const
{
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const int textHeight = qMax(fontMetrics().height(), 14) + 2;
    const QSize field(0, qMax(textHeight, iconSize().height() + 2));
    return style()->sizeFromContents(QStyle::CT_ComboBox, &option, field, this);
}

QString TkxFontComboBox::NamePart(const QString &entry)
{
    return entry.left(entry.lastIndexOf('='));
}

QString TkxFontComboBox::CodePart(const QString &entry)
{
    return entry.mid(entry.lastIndexOf('=') + 1);
}

void TkxFontComboBox::SetFontSource(TFontSource source)
{
    FontSource = std::move(source);
    if (Filled)
        FillFontList();
}

void TkxFontComboBox::FillFontList()
{
    Filled = true;
    FUsedCount = 0;
    QStringList entries;
    for (const TkxFontFamily &family : FontSource ? FontSource() : SystemFontFamilies(FFontTypes)) {
        if (family.Name.startsWith('@')) // vertical variants of East Asian fonts
            continue;
        const QString code = TypeCode(family);
        if (Admitted(code, FFontTypes))
            entries.append(CutName(family.Name) + '=' + code);
    }
    // By name, as a person reads a list: a family before its longer variants ("DejaVu Sans"
    // before "DejaVu Sans Condensed"), which comparing whole entries would put the other way.
    const auto name = [](const QString &entry) { return QStringView(entry).left(entry.lastIndexOf('=')); };
    std::stable_sort(entries.begin(), entries.end(), [&name](const QString &a, const QString &b) {
        return name(a).compare(name(b), Qt::CaseInsensitive) < 0;
    });

    const QSignalBlocker quiet(this);
    clear();
    addItems(entries);
    // Keep the chosen font when it is still listed (a refill after a change of FontTypes).
    const int index = FFontName.isEmpty() ? -1 : findText(FFontName + '=', Qt::MatchStartsWith);
    setCurrentIndex(index);
    if (index < 0)
        FFontName.clear();
}

void TkxFontComboBox::EnsureFilled()
{
    if (!Filled)
        FillFontList();
}

void TkxFontComboBox::SetFontName(const QString &name)
{
    EnsureFilled();
    if (name.isEmpty()) // "=" alone would match every entry
        return;
    const QString key = name + '=';
    for (int i = 0; i < count(); ++i)
        if (itemText(i).contains(key)) {
            setCurrentIndex(i);
            CommitSelection();
            return;
        }
}

void TkxFontComboBox::SetColorUsed(TColor color)
{
    FColorUsed = color;
    UpdateList();
}

void TkxFontComboBox::SetPreviewText(const QString &text)
{
    FPreviewText = text;
    FPreview->PanelPreview->setText(SampleText(text));
}

void TkxFontComboBox::SetPreviewWidth(int width)
{
    FPreviewWidth = qMax(0, width);
    FPreview->setFixedSize(FPreviewWidth, FPreviewHeight);
}

void TkxFontComboBox::SetPreviewHeight(int height)
{
    FPreviewHeight = qMax(0, height);
    FPreview->setFixedSize(FPreviewWidth, FPreviewHeight);
}

void TkxFontComboBox::SetFontTypes(TkxFontTypes types)
{
    FFontTypes = types;
    if (Filled)
        FillFontList();
}

void TkxFontComboBox::SetShowPreviewFontName(bool show)
{
    FShowPreviewFontName = show;
    FPreview->PanelFontName->setVisible(show);
}

void TkxFontComboBox::SetShowPreviewInList(bool show)
{
    FShowPreviewInList = show;
    UpdateList();
}

void TkxFontComboBox::SetShowPreviewInEdit(bool show)
{
    FShowPreviewInEdit = show;
    update();
}

void TkxFontComboBox::SetShowImagesFontType(bool show)
{
    FShowImagesFontType = show;
    update();
    UpdateList();
}

void TkxFontComboBox::SetItemHeight(int height)
{
    FItemHeight = qMax(1, height);
    if (ListMade)
        view()->doItemsLayout();
    updateGeometry();
}

const QIcon &TkxFontComboBox::Picture(const QString &code) const
{
    if (code == CodeTrueTypeAnsi)
        return PictureTrueTypeAnsi;
    return code == CodeTrueTypeSymbol ? PictureTrueTypeSymbol : PictureRaster;
}

QFont TkxFontComboBox::EntryFont(int index, bool inList) const
{
    QFont face = font();
    const QString entry = itemText(index);
    // Symbol fonts would show their names as pictures, so they keep the control's face.
    if ((inList ? FShowPreviewInList : FShowPreviewInEdit) && CodePart(entry) != CodeTrueTypeSymbol)
        face.setFamily(NamePart(entry));
    return face;
}

void TkxFontComboBox::DrawEntry(QPainter &p, const QRect &rect, int index, bool inList) const
{
    const QString entry = itemText(index);
    int textLeft = rect.left() + 4;
    if (FShowImagesFontType) {
        Picture(CodePart(entry)).paint(&p, QRect(rect.left() + 2, rect.top() + 1, 16, 16));
        textLeft = rect.left() + 20;
    }
    const bool used = FListOpen && index < FUsedCount;
    p.setPen(used ? ToQColor(FColorUsed) : palette().color(QPalette::Text));
    p.setFont(EntryFont(index, inList));
    p.drawText(QRect(textLeft, rect.top() + 1, rect.right() + 1 - textLeft, rect.height() - 1),
               Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, NamePart(entry));
    if (inList && FListOpen && FMoveUsedToTop && index == FUsedCount - 1)
        p.fillRect(QRect(0, rect.bottom(), width(), 1), Qt::black);
}

void TkxFontComboBox::paintEvent(QPaintEvent *)
{
    QStylePainter p(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    p.drawComplexControl(QStyle::CC_ComboBox, option);
    const int index = currentIndex();
    if (index < 0)
        return;
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    p.fillRect(field, hasFocus() ? palette().highlight() : palette().base());
    DrawEntry(p, field, index, false);
}

void TkxFontComboBox::showEvent(QShowEvent *event)
{
    EnsureFilled();
    QComboBox::showEvent(event);
}

void TkxFontComboBox::showPopup()
{
    EnsureFilled();
    EnsureList();
    FListOpen = true;
    emit OnDropDown(this);
    if (FShowPreview) {
        UpdatePreview(currentIndex());
        PlacePreview();
        FPreview->show();
    }
    QComboBox::showPopup();
}

void TkxFontComboBox::PlacePreview()
{
    const TScreenMetrics screen = PrimaryScreenMetrics();
    const QPoint topLeft = mapToGlobal(QPoint(0, 0));
    QPoint place = mapToGlobal(QPoint(width(), height()));
    if (place.x() + FPreviewWidth > screen.Width)
        place.setX(topLeft.x() - FPreviewWidth);
    if (place.y() + FPreviewHeight > screen.Height)
        place.setY(topLeft.y() - FPreviewHeight);
    FPreview->move(place);
}

void TkxFontComboBox::UpdatePreview(int index)
{
    if (!FShowPreview || index < 0 || index >= count())
        return;
    const QString name = NamePart(itemText(index));
    QFont sample = FPreview->PanelPreview->font();
    sample.setFamily(name);
    FPreview->PanelPreview->setFont(sample);
    FPreview->PanelFontName->setText(name);
}

bool TkxFontComboBox::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Hide && watched == view()->window())
        ListClosed();
    return QComboBox::eventFilter(watched, event);
}

void TkxFontComboBox::ListClosed()
{
    if (!FListOpen)
        return;
    setFocus(Qt::PopupFocusReason);
    FPreview->hide();
    FListOpen = false;
    // A pick reports itself (activated) right after the list hides; a cancel does not.
    ClosePending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (ClosePending)
                FinishClosing(false);
        },
        Qt::QueuedConnection);
}

void TkxFontComboBox::FinishClosing(bool picked)
{
    ClosePending = false;
    CommitSelection();
    emit OnClick(this);
    if (picked)
        emit OnChange(this);
}

void TkxFontComboBox::Activated(int index)
{
    if (ClosePending) {
        FinishClosing(true);
        return;
    }
    // The entry changed on the closed box (arrow keys, wheel, typing): no used block.
    FFontName = NamePart(itemText(index));
    emit OnClick(this);
    emit OnChange(this);
}

void TkxFontComboBox::CommitSelection()
{
    const int index = currentIndex();
    if (index < 0)
        return;
    FFontName = NamePart(itemText(index));
    update();
    if (FMoveUsedToTop && index != 0)
        MoveToUsedBlock(index);
}

void TkxFontComboBox::MoveToUsedBlock(int index)
{
    const QString entry = itemText(index);
    int found = -1;
    for (int i = 0; i < FUsedCount && found < 0; ++i)
        if (itemText(i) == entry)
            found = i;
    if (found >= 0) {
        removeItem(found);
    } else {
        ++FUsedCount;
    }
    insertItem(0, entry);
    if (FMaxUsed != 0 && FUsedCount > FMaxUsed) {
        removeItem(FMaxUsed); // the least recently chosen
        --FUsedCount;
    }
    setCurrentIndex(0);
}
