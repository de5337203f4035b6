#pragma once
// What the component set's own controls share for assistive technology: a registry of their
// accessible interfaces, which each control fills with its own when it is made (the first
// registration installs the registry with Qt), and the pieces several of them use.

#include <QAccessibleInterface>
#include <QWidget>

// Makes the accessible interface of an object of the registered class.
using TAccessibleFactory = QAccessibleInterface *(*)(QObject *object);
void RegisterAccessible(const char *className, TAccessibleFactory factory);

// True for an event that should not reach assistive technology (a control announces the same
// thing better itself).
using TAccessibleEventFilter = bool (*)(QAccessibleEvent *event);
void DropAccessibleEvents(TAccessibleEventFilter drop);

// A widget whose name changes too often to announce (a ticking clock): readers read it when they
// ask, and hear no change.
void SetQuietName(QWidget *widget);

// A value as read-only text. The AT-SPI bridge hands a value over only as a number, so a date or
// a colour name reaches a screen reader as the text of the control.
class TReadOnlyTextAccessible : public QAccessibleTextInterface {
public:
    virtual QString Text() const = 0;

    void selection(int, int *startOffset, int *endOffset) const override { *startOffset = *endOffset = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override
    {
        return Text().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(Text().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int *startOffset, int *endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }
};

// Speaks a short text to screen readers without taking the focus (a count that follows what the
// user types elsewhere): a notification, never seen, that shows itself again for each text.
class TkxAnnouncer : public QWidget {
    Q_OBJECT
public:
    explicit TkxAnnouncer(QWidget *parent);
    QString Text() const { return FText; }
    void Announce(const QString &text);

private:
    QString FText;
};
