#include "components/kxAccessible.h"

#include "components/MonthCalendar.h"
#include "components/MonthCalendarAccessible.h"
#include "components/kxColorPick.h"
#include "components/kxFontCombobox.h"
#include "components/kxLinkLabel.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <array>

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

// The announcer: a notification whose name is its text.
class TkxAnnouncerAccessible final : public QAccessibleWidget {
public:
    explicit TkxAnnouncerAccessible(TkxAnnouncer *announcer) : QAccessibleWidget(announcer, QAccessible::Notification)
    {
    }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? static_cast<const TkxAnnouncer *>(widget())->Text() : QString();
    }
};

// The link label: a link named by its caption and described by its address.
class TkxLinkLabelAccessible final : public QAccessibleWidget {
public:
    explicit TkxLinkLabelAccessible(TkxLinkLabel *label) : QAccessibleWidget(label, QAccessible::Link) {}
    QString text(QAccessible::Text t) const override
    {
        const auto *label = static_cast<const TkxLinkLabel *>(widget());
        if (t == QAccessible::Name && label->accessibleName().isEmpty())
            return label->Caption();
        if (t == QAccessible::Description && label->accessibleDescription().isEmpty())
            return label->Link();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.linked = true;
        state.traversed = static_cast<const TkxLinkLabel *>(widget())->Used();
        return state;
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

QAccessibleInterface *ComponentFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("TMonthCalendar"))
        return NewMonthCalendarAccessible(static_cast<TMonthCalendar *>(object));
    if (className == QLatin1String("TkxColorPicker"))
        return new TkxColorPickerAccessible(static_cast<TkxColorPicker *>(object));
    if (className == QLatin1String("TkxColorForm"))
        return new TkxColorFormAccessible(static_cast<TkxColorForm *>(object));
    if (className == QLatin1String("TkxFontComboBox"))
        return new TkxFontComboBoxAccessible(static_cast<TkxFontComboBox *>(object));
    if (className == QLatin1String("TkxAnnouncer"))
        return new TkxAnnouncerAccessible(static_cast<TkxAnnouncer *>(object));
    if (className == QLatin1String("TkxLinkLabel"))
        return new TkxLinkLabelAccessible(static_cast<TkxLinkLabel *>(object));
    return nullptr;
}

const char *const QuietNameProperty = "kxQuietName";

// Passes every event on to the platform but those nobody should hear.
void FilterUpdate(QAccessibleEvent *event)
{
    if (IsMonthCalendarFocus(event))
        return;
    if (event->type() == QAccessible::NameChanged && event->object() &&
        event->object()->property(QuietNameProperty).toBool())
        return;
    const QAccessible::UpdateHandler self = QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(self);
}

} // namespace

TkxAnnouncer::TkxAnnouncer(QWidget *parent) : QWidget(parent)
{
    InstallComponentAccessibility();
    setFocusPolicy(Qt::NoFocus);
    setGeometry(0, 0, 0, 0);
    hide();
}

// Screen readers speak a notification as it comes into view.
void TkxAnnouncer::Announce(const QString &text)
{
    FText = text;
    if (!QAccessible::isActive() || !parentWidget()->isVisible())
        return;
    hide();
    show();
}

void SetQuietName(QWidget *widget)
{
    InstallComponentAccessibility();
    widget->setProperty(QuietNameProperty, true);
}

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

void InstallComponentAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(ComponentFactory);
        QAccessible::installUpdateHandler(FilterUpdate);
        return true;
    }();
    (void)installed;
}
