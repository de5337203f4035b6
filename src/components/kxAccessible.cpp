#include "components/kxAccessible.h"

#include <QAccessibleWidget>
#include <algorithm>
#include <map>
#include <vector>

namespace {

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

// What the controls registered, by class name.
struct TRegistry {
    std::map<QString, TAccessibleFactory> Factories;
    std::vector<TAccessibleEventFilter> Drops;
};

TRegistry &Registry()
{
    static TRegistry registry;
    return registry;
}

QAccessibleInterface *ComponentFactory(const QString &className, QObject *object)
{
    const auto found = Registry().Factories.find(className);
    return found != Registry().Factories.end() ? found->second(object) : nullptr;
}

const char *const QuietNameProperty = "kxQuietName";

// Passes every event on to the platform but those nobody should hear.
void FilterUpdate(QAccessibleEvent *event)
{
    for (const TAccessibleEventFilter drop : Registry().Drops)
        if (drop(event))
            return;
    if (event->type() == QAccessible::NameChanged && event->object() &&
        event->object()->property(QuietNameProperty).toBool())
        return;
    const QAccessible::UpdateHandler self = QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(self);
}

// The first registration hands the registry to Qt.
void InstallComponentAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(ComponentFactory);
        QAccessible::installUpdateHandler(FilterUpdate);
        return true;
    }();
    (void)installed;
}

} // namespace

TkxAnnouncer::TkxAnnouncer(QWidget *parent) : QWidget(parent)
{
    RegisterAccessible("TkxAnnouncer", [](QObject *object) -> QAccessibleInterface * {
        return new TkxAnnouncerAccessible(static_cast<TkxAnnouncer *>(object));
    });
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

void RegisterAccessible(const char *className, TAccessibleFactory factory)
{
    InstallComponentAccessibility();
    Registry().Factories[QLatin1String(className)] = factory;
}

void DropAccessibleEvents(TAccessibleEventFilter drop)
{
    InstallComponentAccessibility();
    std::vector<TAccessibleEventFilter> &drops = Registry().Drops;
    if (std::find(drops.begin(), drops.end(), drop) == drops.end())
        drops.push_back(drop);
}
