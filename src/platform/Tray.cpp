#include "platform/Tray.h"

#include <QMenu>
#include <QSystemTrayIcon>

namespace {
int availableOverride = -1; // -1: ask the desktop
}

TTrayIcon::TTrayIcon(QObject *parent) : QObject(parent) {}

TTrayIcon::~TTrayIcon()
{
    delete FSystemIcon;
}

bool TTrayIcon::IsAvailable()
{
    if (availableOverride >= 0)
        return availableOverride == 1;
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TTrayIcon::SetAvailableForTests(bool available)
{
    availableOverride = available ? 1 : 0;
}

void TTrayIcon::ResetAvailableForTests()
{
    availableOverride = -1;
}

void TTrayIcon::SetActive(bool active)
{
    if (FActive == active)
        return;
    FActive = active;
    SyncSystemIcon();
}

void TTrayIcon::SetHint(const QString &hint)
{
    FHint = hint;
    if (FSystemIcon)
        FSystemIcon->setToolTip(hint);
}

void TTrayIcon::SetIcon(const QIcon &icon)
{
    FIcon = icon;
    if (FSystemIcon)
        FSystemIcon->setIcon(icon);
}

void TTrayIcon::SetPopupMenu(QMenu *menu)
{
    FMenu = menu;
    if (FSystemIcon)
        FSystemIcon->setContextMenu(menu);
}

void TTrayIcon::SyncSystemIcon()
{
    const bool wanted = FActive && availableOverride < 0 && QSystemTrayIcon::isSystemTrayAvailable();
    if (!wanted) {
        delete FSystemIcon;
        FSystemIcon = nullptr;
        return;
    }
    if (FSystemIcon)
        return;
    FSystemIcon = new QSystemTrayIcon(FIcon);
    FSystemIcon->setToolTip(FHint);
    FSystemIcon->setContextMenu(FMenu);
    connect(FSystemIcon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::DoubleClick || reason == QSystemTrayIcon::MiddleClick)
            emit OnDblClick();
    });
    FSystemIcon->show();
}
