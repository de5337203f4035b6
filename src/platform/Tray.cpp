#include "platform/Tray.h"

#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QStyleHints>
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
    if (FMenu)
        FMenu->removeEventFilter(this);
    FMenu = menu;
    if (FMenu)
        FMenu->installEventFilter(this);
    if (FSystemIcon)
        FSystemIcon->setContextMenu(menu);
}

// The menu opens at the first press of a right double click and takes the second press: that
// press, soon enough and on the icon, makes the double click that opens the window.
bool TTrayIcon::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != FMenu || !FSystemIcon || !FContextOpened.isValid() ||
        (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonDblClick))
        return false;
    const auto *press = static_cast<QMouseEvent *>(event);
    const bool second = press->button() == Qt::RightButton &&
                        FContextOpened.elapsed() <= QGuiApplication::styleHints()->mouseDoubleClickInterval() &&
                        FSystemIcon->geometry().contains(press->globalPosition().toPoint());
    FContextOpened.invalidate();
    if (!second)
        return false;
    FMenu->close();
    emit OnDblClick();
    return true;
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
        else if (reason == QSystemTrayIcon::Context)
            FContextOpened.start();
    });
    FSystemIcon->show();
}
