#pragma once
// The accessible interfaces of the component set's own controls. Each control installs them when
// it is made; the first call registers them with Qt, later calls do nothing.

#include <QAccessibleInterface>
#include <QWidget>

class TkxColorForm;

void InstallComponentAccessibility();

// A widget whose name changes too often to announce (a ticking clock): readers read it when they
// ask, and hear no change.
void SetQuietName(QWidget *widget);

// Tells a screen reader which colour of an open pop-up is highlighted.
void ColorFormAccessibilityUpdate(TkxColorForm *form);

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
