#include "dialogs/RadioGroup.h"

#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

TRadioGroup::TRadioGroup(QWidget *parent) : QGroupBox(parent), FButtonsLayout(new QVBoxLayout)
{
    auto *outer = new QHBoxLayout(this);
    FButtonsLayout->setSpacing(2);
    outer->addLayout(FButtonsLayout, 1);
}

void TRadioGroup::SetItems(const QStringList &items)
{
    // Buttons are reused, so a rebuild in the same number keeps the keyboard focus where it was.
    while (FButtons.size() > static_cast<std::size_t>(items.size())) {
        QRadioButton *surplus = FButtons.back();
        FButtons.pop_back();
        surplus->setParent(nullptr); // out of the box at once; deleted later, it may be sending
        surplus->deleteLater();
    }
    while (FButtons.size() < static_cast<std::size_t>(items.size())) {
        const int index = static_cast<int>(FButtons.size());
        auto *button = new QRadioButton(this);
        if (!objectName().isEmpty()) {
            button->setObjectName(objectName() + "_Item" + QString::number(index));
        }
        connect(button, &QRadioButton::toggled, this,
                [this, index](bool checked) { ButtonToggled(index, checked); });
        FButtonsLayout->addWidget(button);
        FButtons.push_back(button);
    }
    FItems = items;
    for (int i = 0; i < items.size(); ++i) {
        FButtons[i]->setText(items[i]);
    }
    FItemIndex = std::min(FItemIndex, static_cast<int>(items.size()) - 1);
    ShowIndex();
}

void TRadioGroup::SetItemIndex(int index)
{
    index = std::clamp(index, -1, static_cast<int>(FButtons.size()) - 1);
    if (index == FItemIndex) {
        return;
    }
    FItemIndex = index;
    ShowIndex();
    emit Click();
}

QRadioButton *TRadioGroup::Button(int index) const
{
    return index >= 0 && index < static_cast<int>(FButtons.size()) ? FButtons[index] : nullptr;
}

// Checks the chosen button and clears the others without reporting it as a choice.
void TRadioGroup::ShowIndex()
{
    FUpdating = true;
    for (int i = 0; i < static_cast<int>(FButtons.size()); ++i) {
        QRadioButton *button = FButtons[i];
        // Exclusive buttons cannot be cleared one by one, and -1 clears them all.
        button->setAutoExclusive(false);
        button->setChecked(i == FItemIndex);
        button->setAutoExclusive(true);
    }
    FUpdating = false;
}

void TRadioGroup::ButtonToggled(int index, bool checked)
{
    if (FUpdating || !checked || index == FItemIndex) {
        return;
    }
    FItemIndex = index;
    emit Click();
}
