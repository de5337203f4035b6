#include "components/kxColorPick.h"

#include "components/kxAccessible.h"
#include "platform/Screen.h"
#include "platform/ToolkitSettings.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QColorDialog>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <algorithm>
#include <array>

namespace {

const QColor Grey(0x80, 0x80, 0x80);
const QColor Silver(0xC0, 0xC0, 0xC0);
const QColor LightGrey(0xDF, 0xDF, 0xDF);
const QColor Black(0, 0, 0);
const QColor White(0xFF, 0xFF, 0xFF);

// A rectangle from (left, top) to (right, bottom), right and bottom exclusive.
QRect Span(int left, int top, int right, int bottom)
{
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

// A one-pixel frame on the edge of `r`; the bottom and right lines own the two far corners.
void DrawFrame(QPainter &p, const QRect &r, const QColor &topLeft, const QColor &bottomRight)
{
    p.fillRect(QRect(r.left(), r.top(), r.width(), 1), topLeft);
    p.fillRect(QRect(r.left(), r.top(), 1, r.height()), topLeft);
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
}

enum class FaceLook { Raised, Flat, Sunken };

// A push-button face drawn from the palette's 3D colours, so every pixel is predictable.
void DrawButtonFace(QPainter &p, const QRect &r, FaceLook look, const QPalette &palette)
{
    p.fillRect(r, palette.color(QPalette::Button));
    const QRect inner = r.adjusted(1, 1, -1, -1);
    switch (look) {
    case FaceLook::Raised:
        DrawFrame(p, r, palette.color(QPalette::Light), palette.color(QPalette::Shadow));
        DrawFrame(p, inner, palette.color(QPalette::Midlight), palette.color(QPalette::Dark));
        break;
    case FaceLook::Flat:
        DrawFrame(p, r, palette.color(QPalette::Dark), palette.color(QPalette::Dark));
        break;
    case FaceLook::Sunken:
        DrawFrame(p, r, palette.color(QPalette::Dark), palette.color(QPalette::Light));
        DrawFrame(p, inner, palette.color(QPalette::Shadow), palette.color(QPalette::Midlight));
        break;
    }
}

// The dotted focus frame: every other pixel of the outline, in a checkerboard.
void DrawFocusRect(QPainter &p, const QRect &r, const QColor &color)
{
    const QBrush dots(color, Qt::Dense4Pattern);
    p.fillRect(QRect(r.left(), r.top(), r.width(), 1), dots);
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), dots);
    p.fillRect(QRect(r.left(), r.top(), 1, r.height()), dots);
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), dots);
}

// A 16 x 16 colour square with a two-pixel sunken border.
void DrawColorSquare(QPainter &p, const QRect &square, const QColor &color)
{
    DrawFrame(p, square, Grey, White);
    DrawFrame(p, square.adjusted(1, 1, -1, -1), Black, LightGrey);
    p.fillRect(square.adjusted(2, 2, -2, -2), color);
}

constexpr int CellSize = 16;
constexpr int CellPitch = 18;

QRect CellSquare(int column, int row)
{
    return QRect(4 + CellPitch * (column - 1), 4 + CellPitch * (row - 1), CellSize, CellSize);
}

QRect SwatchSquare()
{
    return QRect(TkxColorForm::FormWidth - 20, TkxColorForm::FormHeight - 20, CellSize, CellSize);
}

QRect OtherButton()
{
    constexpr int h = TkxColorForm::FormHeight;
    return Span(3, h - 21, 56, h - 3);
}

// The press area of the "Other..." button reaches a little beyond the drawn button.
bool OnOtherButton(QPoint point)
{
    constexpr int h = TkxColorForm::FormHeight;
    return point.x() >= 3 && point.x() <= 65 && point.y() >= h - 21 && point.y() <= h - 3;
}

// Made when first used, so that loading the program runs no code of this file.
TkxColorDialogRunner &ColorDialogRunner()
{
    static TkxColorDialogRunner runner;
    return runner;
}

QColorDialog *sharedColorDialog = nullptr;

void ReleaseSharedColorDialog()
{
    delete sharedColorDialog;
    sharedColorDialog = nullptr;
}

// One dialog for the whole run, so the custom colours the user defines are offered again.
std::optional<TColor> RunSharedColorDialog(QWidget *parent, TColor initial)
{
    if (!sharedColorDialog) {
        KeepToolkitSettingsPrivate(); // the custom colours last for the run, shared with no other program
        sharedColorDialog = new QColorDialog;
        qAddPostRoutine(ReleaseSharedColorDialog);
    }
    QColorDialog &dialog = *sharedColorDialog;
    // Borrow the caller's window as parent only for this showing: centred over it, never freed with it.
    dialog.setParent(parent ? parent->window() : nullptr, Qt::Dialog);
    dialog.setCurrentColor(ToQColor(initial));
    const bool accepted = dialog.exec() == QDialog::Accepted;
    dialog.setParent(nullptr, Qt::Dialog);
    if (!accepted)
        return std::nullopt;
    return FromQColor(dialog.selectedColor());
}

std::optional<TColor> RunColorDialog(QWidget *parent, TColor initial)
{
    return ColorDialogRunner() ? ColorDialogRunner()(parent, initial) : RunSharedColorDialog(parent, initial);
}

} // namespace

void SetColorDialogRunner(TkxColorDialogRunner runner)
{
    ColorDialogRunner() = std::move(runner);
}

namespace {

// The colour picker: a combo box named by its caption (the label it is the buddy of), whose
// value is the colour's name, also as its text, which is what screen readers speak of a combo
// box. The open pop-up is its child.
class TkxColorPickerAccessible final : public QAccessibleWidget, public TReadOnlyTextAccessible {
public:
    explicit TkxColorPickerAccessible(TkxColorPicker *picker) : QAccessibleWidget(picker, QAccessible::ComboBox) {}
    const TkxColorPicker *Picker() const { return static_cast<const TkxColorPicker *>(widget()); }
    QString Text() const override { return TkxColorForm::ColorName(Picker()->Color(), Picker()->Language()); }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? Text() : QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.hasPopup = state.expandable = true;
        state.expanded = Picker()->Popup() != nullptr;
        state.collapsed = !state.expanded;
        return state;
    }
    int childCount() const override { return Picker()->Popup() ? 1 : 0; }
    QAccessibleInterface *child(int index) const override
    {
        TkxColorForm *popup = Picker()->Popup();
        return index == 0 && popup ? QAccessible::queryAccessibleInterface(popup) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child && Picker()->Popup() && child->object() == Picker()->Popup() ? 0 : -1;
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }
};

// The colour pop-up: a list named like its picker, whose items are the colours (and the swatch
// last, which opens the colour dialog), the highlighted one selected and focused; its value is
// the highlighted colour.
class TkxColorFormAccessible final : public QAccessibleWidget {
public:
    explicit TkxColorFormAccessible(TkxColorForm *form) : QAccessibleWidget(form, QAccessible::List) {}
    ~TkxColorFormAccessible() override
    {
        for (QAccessible::Id id : FItems)
            if (id)
                QAccessible::deleteAccessibleInterface(id);
    }
    TkxColorForm *Form() const { return static_cast<TkxColorForm *>(widget()); }
    QString ColorName(QPoint target) const
    {
        return TkxColorForm::ColorName(Form()->TargetColor(target), Form()->FormLanguage());
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return TkxColorForm::ColorName(Form()->HoverColor(), Form()->FormLanguage());
        if (t == QAccessible::Name && Form()->parentWidget())
            return QAccessible::queryAccessibleInterface(Form()->parentWidget())->text(QAccessible::Name);
        return QAccessibleWidget::text(t);
    }
    // A window of its own, yet a part of its picker, as a combo box's list is.
    QAccessibleInterface *parent() const override
    {
        return Form()->parentWidget() ? QAccessible::queryAccessibleInterface(Form()->parentWidget())
                                      : QAccessibleWidget::parent();
    }
    int childCount() const override { return TkxColorForm::TargetCount; }
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (int index = 0; index < TkxColorForm::TargetCount; ++index)
            if (FItems[index] && QAccessible::accessibleInterface(FItems[index]) == child)
                return index;
        return -1;
    }
    QAccessibleInterface *HoverItem() const
    {
        for (int index = 0; index < TkxColorForm::TargetCount; ++index)
            if (TkxColorForm::Target(index) == QPoint(Form()->HoverColumn(), Form()->HoverRow()))
                return child(index);
        return nullptr;
    }
    QAccessibleInterface *focusChild() const override { return HoverItem(); }

private:
    mutable std::array<QAccessible::Id, TkxColorForm::TargetCount> FItems{};
};

// One colour of the pop-up.
class TkxColorItemAccessible final : public QAccessibleInterface {
public:
    TkxColorItemAccessible(TkxColorFormAccessible *list, int index) : FList(list), FIndex(index) {}
    bool isValid() const override { return FList->isValid(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return FList->window(); }
    QAccessibleInterface *parent() const override { return FList; }
    int childCount() const override { return 0; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? FList->ColorName(TkxColorForm::Target(FIndex)) : QString();
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override
    {
        const QRect local = TkxColorForm::TargetRect(TkxColorForm::Target(FIndex));
        return {FList->Form()->mapToGlobal(local.topLeft()), local.size()};
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        const TkxColorForm *form = FList->Form();
        state.invisible = !form->isVisible();
        state.selectable = state.focusable = true;
        state.selected = state.focused = TkxColorForm::Target(FIndex) == QPoint(form->HoverColumn(), form->HoverRow());
        return state;
    }

private:
    TkxColorFormAccessible *FList;
    int FIndex;
};

QAccessibleInterface *TkxColorFormAccessible::child(int index) const
{
    if (index < 0 || index >= TkxColorForm::TargetCount)
        return nullptr;
    if (!FItems[index])
        FItems[index] = QAccessible::registerAccessibleInterface(
            new TkxColorItemAccessible(const_cast<TkxColorFormAccessible *>(this), index));
    return QAccessible::accessibleInterface(FItems[index]);
}

// Tells a screen reader which colour of an open pop-up is highlighted.
void ColorFormAccessibilityUpdate(TkxColorForm *form)
{
    if (!QAccessible::isActive() || !form->isVisible())
        return;
    auto *list = dynamic_cast<TkxColorFormAccessible *>(QAccessible::queryAccessibleInterface(form));
    if (QAccessibleInterface *item = list ? list->HoverItem() : nullptr) {
        QAccessibleEvent focus(item, QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
    }
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TkxColorPicker

TkxColorPicker::TkxColorPicker(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    resize(sizeHint());
    RegisterAccessible("TkxColorPicker", [](QObject *object) -> QAccessibleInterface * {
        return new TkxColorPickerAccessible(static_cast<TkxColorPicker *>(object));
    });
}

void TkxColorPicker::SetColor(TColor color)
{
    if (color == FColor)
        return;
    FColor = color;
    update();
}

void TkxColorPicker::SetFlat(bool flat)
{
    FFlat = flat;
    update();
}

TkxColorForm *TkxColorPicker::Popup() const
{
    for (auto *form : findChildren<TkxColorForm *>(Qt::FindDirectChildrenOnly))
        if (form->isVisible())
            return form;
    return nullptr;
}

void TkxColorPicker::SelectColor(QObject *, TColor newColor)
{
    if (newColor == FColor)
        return;
    FColor = newColor;
    update();
    emit OnChangeColor(this);
}

// Just below the picker, or above it where the screen ends below; moved sideways at the screen's
// edges, so every colour and the "Other..." button can be reached.
QPoint TkxColorPicker::PopupPlace() const
{
    const TScreenMetrics screen = PrimaryScreenMetrics();
    const QPoint top = mapToGlobal(QPoint(0, 0));
    const QPoint below = mapToGlobal(QPoint(0, height()));
    const int x = std::clamp(below.x(), 0, std::max(0, screen.Width - TkxColorForm::FormWidth));
    const bool roomBelow = below.y() + TkxColorForm::FormHeight <= screen.Height;
    const int y = roomBelow ? below.y() : std::max(0, top.y() - TkxColorForm::FormHeight);
    return {x, y};
}

void TkxColorPicker::Click()
{
    auto *form = new TkxColorForm(this);
    form->move(PopupPlace());
    connect(form, &TkxColorForm::OnSelectColor, this, &TkxColorPicker::SelectColor);
    form->SetCurrentColor(FColor);
    form->SetFormLanguage(FLanguage);
    form->show();
    ColorFormAccessibilityUpdate(form);
    emit OnClick(this);
}

void TkxColorPicker::SetMouseInside(bool inside)
{
    if (inside == MouseInside)
        return;
    MouseInside = inside;
    update();
}

void TkxColorPicker::SetPressed(bool pressed, bool spaceDown)
{
    Pressed = pressed;
    SpaceDown = spaceDown;
    update();
}

void TkxColorPicker::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const bool down = Pressed && (MouseInside || SpaceDown);
    const bool active = isEnabled() || down; // the pressed look never greys out
    const int s = down ? 1 : 0;              // the pressed look shifts everything by one pixel
    const int w = width();
    const int h = height();
    const int q = w / 4;
    const int d = w - q - 1;

    const FaceLook look = down ? FaceLook::Sunken : (FFlat ? FaceLook::Flat : FaceLook::Raised);
    DrawButtonFace(p, rect(), look, palette());

    p.fillRect(QRect(d - 1 + s, 3 + s, 1, h - 6), active ? Grey : Silver);
    p.fillRect(QRect(d + s, 3 + s, 1, h - 6), White);

    p.fillRect(Span(5 + s, 4 + s, d - 4 + s, h - 4 + s), active ? Black : Silver);
    p.fillRect(Span(6 + s, 5 + s, d - 5 + s, h - 5 + s), ToQColor(FColor));

    if (active) {
        const int a = w - q + q / 2 - 4 + s;
        const int b = h / 2 - 1 + s;
        for (int i = 0; i < 3; ++i)
            p.fillRect(QRect(a + i, b + i, 5 - 2 * i, 1), Black);
    }
    if (hasFocus())
        DrawFocusRect(p, Span(3 + s, 3 + s, w - 3 + s, h - 3 + s), palette().color(QPalette::ButtonText));
}

void TkxColorPicker::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    MouseInside = rect().contains(event->position().toPoint());
    SetPressed(true, SpaceDown);
    setFocus(Qt::MouseFocusReason);
}

void TkxColorPicker::mouseMoveEvent(QMouseEvent *event)
{
    // While the button is held the mouse is grabbed: follow the pointer off and back on.
    SetMouseInside(rect().contains(event->position().toPoint()));
}

void TkxColorPicker::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    // A release without our press (after a click closed the pop-up) is no click.
    const bool wasPressed = Pressed;
    SetPressed(false, SpaceDown);
    if (wasPressed && rect().contains(event->position().toPoint()))
        Click();
}

void TkxColorPicker::enterEvent(QEnterEvent *)
{
    SetMouseInside(true);
}

void TkxColorPicker::leaveEvent(QEvent *)
{
    SetMouseInside(false);
}

void TkxColorPicker::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Space:
        if (!event->isAutoRepeat() && !SpaceDown)
            SetPressed(true, true);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Consumed: passing it on would also press the dialog's default button behind the pop-up.
        Click();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void TkxColorPicker::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Space || event->isAutoRepeat()) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    if (!SpaceDown) // the space went down on another control
        return;
    SetPressed(false, false);
    Click();
}

void TkxColorPicker::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
    // Back from the pop-up, which had the keyboard but never the focus: a screen reader hears
    // the picker again, with the colour chosen.
    if (event->reason() == Qt::PopupFocusReason && QAccessible::isActive()) {
        QAccessibleEvent focus(this, QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
    }
}

void TkxColorPicker::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

void TkxColorPicker::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        update();
}

// ---------------------------------------------------------------------------------------------
// TkxColorForm

const TColor TkxColorForm::ColorTable[Rows][Columns] = {
    {0xFFFFFF, 0x000000, 0xC0C0C0, 0x808080}, {0x0000FF, 0x000080, 0x00FFFF, 0x008080},
    {0x00FF00, 0x008000, 0xFFFF00, 0x808000}, {0xFF0000, 0x800000, 0xFF00FF, 0x800080},
    {0xC0DCC0, 0xF0CAA6, 0xF0FBFF, 0xA4A0A0},
};

TkxColorForm::TkxColorForm(QWidget *owner) : QWidget(owner, Qt::Popup | Qt::FramelessWindowHint)
{
    // Closing releases it: each opening of the picker makes a fresh pop-up.
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFixedSize(FormWidth, FormHeight);
    SetFormLanguage(FFormLanguage);
    RegisterAccessible("TkxColorForm", [](QObject *object) -> QAccessibleInterface * {
        return new TkxColorFormAccessible(static_cast<TkxColorForm *>(object));
    });
}

void TkxColorForm::SetCurrentColor(TColor color)
{
    FCurrentColor = color;
    SetHover(CellOf(color));
    update();
}

QPoint TkxColorForm::CellOf(TColor color)
{
    for (int row = 1; row <= Rows; ++row)
        for (int column = 1; column <= Columns; ++column)
            if (ColorTable[row - 1][column - 1] == color)
                return {column, row};
    return {SwatchColumn, SwatchRow}; // system colours never match a cell
}

void TkxColorForm::SetFormLanguage(TkxLanguage language)
{
    FFormLanguage = language;
    // The default font, made smaller only where the platform's font would clip the caption.
    CaptionFont = font();
    const QString caption = QString(OtherCaption(language)).remove('&');
    const int room = OtherButton().width() - 4;
    while (QFontMetrics(CaptionFont).horizontalAdvance(caption) > room && CaptionFont.pointSizeF() > 6)
        CaptionFont.setPointSizeF(CaptionFont.pointSizeF() - 0.5);
    update();
}

QPoint TkxColorForm::TargetAt(QPoint point)
{
    // Each cell answers strictly inside its square grown by two pixels (19 x 19 pixels), so
    // neighbouring cells share one pixel line and the gap between them always belongs to a cell;
    // the first cell wins the shared line. The swatch answers strictly inside its square.
    for (int row = 1; row <= Rows; ++row)
        for (int column = 1; column <= Columns; ++column)
            if (CellSquare(column, row).adjusted(-1, -1, 2, 2).contains(point))
                return {column, row};
    if (SwatchSquare().adjusted(1, 1, 0, 0).contains(point))
        return {SwatchColumn, SwatchRow};
    return {0, 0};
}

QString TkxColorForm::OtherCaption(TkxLanguage language)
{
    switch (language) {
    case lgNederlands:
        return QStringLiteral("&Andere...");
    case lgFrancais:
        return QStringLiteral("&Autre...");
    default:
        return QStringLiteral("&Other...");
    }
}

QString TkxColorForm::ColorName(TColor color, TkxLanguage language)
{
    // Dutch and English names of the grid's colours, row by row.
    static const char *const Names[Rows * Columns][2] = {
        {"wit", "white"},           {"zwart", "black"},        {"zilver", "silver"},
        {"grijs", "grey"},          {"rood", "red"},           {"kastanjebruin", "maroon"},
        {"geel", "yellow"},         {"olijfgroen", "olive"},   {"limoen", "lime"},
        {"groen", "green"},         {"aqua", "aqua"},          {"blauwgroen", "teal"},
        {"blauw", "blue"},          {"marineblauw", "navy"},   {"fuchsia", "fuchsia"},
        {"paars", "purple"},        {"muntgroen", "mint green"}, {"hemelsblauw", "sky blue"},
        {"crème", "cream"},         {"middengrijs", "medium grey"},
    };
    const QPoint cell = CellOf(color);
    if (cell.y() > Rows)
        return ToQColor(color).name().toUpper();
    return QString::fromUtf8(Names[(cell.y() - 1) * Columns + cell.x() - 1][language == lgNederlands ? 0 : 1]);
}

void TkxColorForm::SetHover(QPoint target)
{
    if (target == QPoint(FHoverColumn, FHoverRow))
        return;
    FHoverColumn = target.x();
    FHoverRow = target.y();
    update();
    ColorFormAccessibilityUpdate(this); // a screen reader speaks the colour
}

QPoint TkxColorForm::Target(int index)
{
    return index == Rows * Columns ? QPoint(SwatchColumn, SwatchRow) : QPoint(index % Columns + 1, index / Columns + 1);
}

TColor TkxColorForm::TargetColor(QPoint target) const
{
    if (target.x() < 1 || target.x() > Columns || target.y() < 1 || target.y() > Rows)
        return FCurrentColor;
    return ColorTable[target.y() - 1][target.x() - 1];
}

QRect TkxColorForm::TargetRect(QPoint target)
{
    return target == QPoint(SwatchColumn, SwatchRow) ? SwatchSquare() : CellSquare(target.x(), target.y());
}

QImage TkxColorForm::Render() const
{
    const qreal ratio = devicePixelRatioF();
    QImage image(size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    QPainter p(&image);
    const int w = width();
    const int h = height();

    DrawButtonFace(p, rect(), FaceLook::Raised, palette());
    for (int row = 1; row <= Rows; ++row)
        for (int column = 1; column <= Columns; ++column)
            DrawColorSquare(p, CellSquare(column, row), ToQColor(ColorTable[row - 1][column - 1]));
    DrawColorSquare(p, SwatchSquare(), ToQColor(FCurrentColor));

    p.fillRect(QRect(4, h - 25, w - 8, 1), Grey);
    p.fillRect(QRect(4, h - 24, w - 8, 1), White);

    const QRect button = OtherButton();
    DrawButtonFace(p, button, FaceLook::Flat, palette());
    p.setFont(CaptionFont);
    p.setPen(palette().color(QPalette::ButtonText));
    p.drawText(button, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic,
               OtherCaption(FFormLanguage));

    if (FHoverColumn != 0) {
        const QRect square = TargetRect({FHoverColumn, FHoverRow});
        DrawFrame(p, square.adjusted(-1, -1, 1, 1), Black, Black);
        DrawFrame(p, square, White, White);
        DrawFrame(p, square.adjusted(1, 1, -1, -1), Black, Black);
    }
    return image;
}

void TkxColorForm::paintEvent(QPaintEvent *)
{
    // Built off-screen and copied in one step, so the grid never flickers.
    QPainter(this).drawImage(0, 0, Render());
}

void TkxColorForm::mouseMoveEvent(QMouseEvent *event)
{
    SetHover(TargetAt(event->position().toPoint()));
}

void TkxColorForm::mousePressEvent(QMouseEvent *event)
{
    const QPoint point = event->position().toPoint();
    if (!rect().contains(point)) {
        // A press elsewhere closes the pop-up; on the picker itself it must not reopen it.
        const QWidget *owner = parentWidget();
        if (owner && owner->rect().contains(owner->mapFromGlobal(event->globalPosition().toPoint())))
            setAttribute(Qt::WA_NoMouseReplay);
        close();
        return;
    }
    SetHover(TargetAt(point));
    if (FHoverColumn != 0)
        ChooseHovered();
    else if (OnOtherButton(point))
        ChooseFromDialog();
}

void TkxColorForm::keyPressEvent(QKeyEvent *event)
{
    // The targets in reading order: the twenty cells, then the swatch.
    constexpr int swatch = Rows * Columns;
    const bool onSwatch = FHoverColumn == SwatchColumn && FHoverRow == SwatchRow;
    const int at = FHoverColumn == 0 ? -1 : onSwatch ? swatch : (FHoverRow - 1) * Columns + FHoverColumn - 1;
    int next = at;
    switch (event->key()) {
    case Qt::Key_Left:
        next = std::max(0, at - 1);
        break;
    case Qt::Key_Right:
        next = std::min(swatch, at + 1);
        break;
    case Qt::Key_Up:
        next = at == swatch ? swatch - 1 : at >= Columns ? at - Columns : std::max(0, at);
        break;
    case Qt::Key_Down:
        next = at < 0 ? 0 : std::min(swatch, at + Columns);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        ChooseHovered();
        return;
    case Qt::Key_Escape:
        close();
        return;
    default:
        if (QKeySequence::mnemonic(OtherCaption(FFormLanguage))[0].key() == Qt::Key(event->key()))
            ChooseFromDialog();
        else
            QWidget::keyPressEvent(event);
        return;
    }
    SetHover(Target(next));
}

// A grid colour is taken and closes the pop-up; the swatch opens the colour dialog.
void TkxColorForm::ChooseHovered()
{
    if (FHoverColumn == SwatchColumn && FHoverRow == SwatchRow) {
        ChooseFromDialog();
        return;
    }
    if (FHoverColumn == 0)
        return;
    QPointer<TkxColorForm> alive(this);
    emit OnSelectColor(this, ColorTable[FHoverRow - 1][FHoverColumn - 1]);
    if (alive)
        close();
}

void TkxColorForm::ChooseFromDialog()
{
    QPointer<TkxColorForm> alive(this);
    QWidget *owner = parentWidget();
    close(); // the dialog takes the focus, which closes the pop-up first
    const std::optional<TColor> chosen = RunColorDialog(owner, FCurrentColor);
    if (chosen && alive)
        emit OnSelectColor(this, *chosen);
}
