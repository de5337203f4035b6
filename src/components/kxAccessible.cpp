#include "components/kxAccessible.h"

#include "components/MonthCalendar.h"
#include "components/MonthCalendarAccessible.h"
#include "components/kxColorPick.h"
#include "components/kxLinkLabel.h"

#include <QAccessibleWidget>

namespace {

// The colour picker: a drop-down button named by its caption (the label it is the buddy of),
// whose value is the colour.
class TkxColorPickerAccessible final : public QAccessibleWidget {
public:
    explicit TkxColorPickerAccessible(TkxColorPicker *picker) : QAccessibleWidget(picker, QAccessible::ButtonDropDown)
    {
    }
    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Value)
            return QAccessibleWidget::text(t);
        const auto *picker = static_cast<const TkxColorPicker *>(widget());
        return TkxColorForm::ColorName(picker->Color(), picker->Language());
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.hasPopup = true;
        return state;
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

// The colour pop-up: a list whose value is the highlighted colour, named like its picker.
class TkxColorFormAccessible final : public QAccessibleWidget {
public:
    explicit TkxColorFormAccessible(TkxColorForm *form) : QAccessibleWidget(form, QAccessible::List) {}
    QString text(QAccessible::Text t) const override
    {
        const auto *form = static_cast<const TkxColorForm *>(widget());
        if (t == QAccessible::Value)
            return TkxColorForm::ColorName(form->HoverColor(), form->FormLanguage());
        if (t == QAccessible::Name && form->parentWidget())
            return QAccessible::queryAccessibleInterface(form->parentWidget())->text(QAccessible::Name);
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface *ComponentFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("TMonthCalendar"))
        return NewMonthCalendarAccessible(static_cast<TMonthCalendar *>(object));
    if (className == QLatin1String("TkxColorPicker"))
        return new TkxColorPickerAccessible(static_cast<TkxColorPicker *>(object));
    if (className == QLatin1String("TkxColorForm"))
        return new TkxColorFormAccessible(static_cast<TkxColorForm *>(object));
    if (className == QLatin1String("TkxLinkLabel"))
        return new TkxLinkLabelAccessible(static_cast<TkxLinkLabel *>(object));
    return nullptr;
}

} // namespace

void InstallComponentAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(ComponentFactory);
        return true;
    }();
    (void)installed;
}
