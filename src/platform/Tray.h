#pragma once
// The notification-area icon. Keeps its own state (active, tooltip, menu) so the program's
// logic works and can be tested where the desktop has no notification area.

#include <QElapsedTimer>
#include <QIcon>
#include <QObject>
#include <QString>

class QMenu;
class QSystemTrayIcon;

class TTrayIcon : public QObject {
    Q_OBJECT
public:
    explicit TTrayIcon(QObject *parent = nullptr);
    ~TTrayIcon() override;

    // Whether the desktop offers a notification area at all.
    static bool IsAvailable();
    // Tests choose the answer; std::nullopt-like reset with ResetAvailableForTests().
    static void SetAvailableForTests(bool available);
    static void ResetAvailableForTests();

    bool Active() const { return FActive; }
    void SetActive(bool active);

    QString Hint() const { return FHint; }
    void SetHint(const QString &hint);

    QIcon Icon() const { return FIcon; }
    void SetIcon(const QIcon &icon);

    QMenu *PopupMenu() const { return FMenu; }
    void SetPopupMenu(QMenu *menu);

signals:
    // A double click with any mouse button (a middle click counts too).
    void OnDblClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void SyncSystemIcon();

    bool FActive = false;
    QString FHint;
    QIcon FIcon;
    QMenu *FMenu = nullptr;
    QSystemTrayIcon *FSystemIcon = nullptr; // exists only while active on a real tray
    QElapsedTimer FContextOpened;           // since the menu opened at a right press on the icon
};
