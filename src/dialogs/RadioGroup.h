#pragma once
// A group box of radio buttons, one per item, of which at most one is chosen. The box's layout
// is a QHBoxLayout whose first entry holds the buttons; a dialog may add more (an illustration)
// after it.

#include <QGroupBox>
#include <QStringList>
#include <vector>

class QRadioButton;
class QVBoxLayout;

class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit TRadioGroup(QWidget *parent = nullptr);

    QStringList Items() const { return FItems; }
    // Rebuilds the buttons. The chosen index stays where it still names an item (else the last
    // item, or -1 for no items), and no Click is raised.
    void SetItems(const QStringList &items);

    // The chosen item, -1 for none. Setting a value below -1 chooses none, one beyond the last
    // item chooses the last; a change raises Click.
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int index);

    // The button of an item, or null.
    QRadioButton *Button(int index) const;

signals:
    // The chosen item changed, by the user or from code.
    void Click();

private:
    void ShowIndex();
    void ButtonToggled(int index, bool checked);

    QStringList FItems;
    std::vector<QRadioButton *> FButtons;
    QVBoxLayout *FButtonsLayout;
    int FItemIndex = -1;
    bool FUpdating = false;
};
