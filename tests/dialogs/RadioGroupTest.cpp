#include "dialogs/RadioGroup.h"

#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class RadioGroupTest : public testing::Test {
protected:
    void SetUp() override
    {
        group.setObjectName("RadioGroup_Test");
        group.SetItems({"One", "Two", "Three"});
        group.show();
    }

    // The index shown by the buttons, -1 for none.
    int CheckedButton() const
    {
        int checked = -1;
        for (int i = 0; group.Button(i); ++i) {
            if (group.Button(i)->isChecked()) {
                EXPECT_EQ(checked, -1) << "two buttons checked";
                checked = i;
            }
        }
        return checked;
    }

    TRadioGroup group;
};

TEST_F(RadioGroupTest, ItemsBecomeButtonsWithNoneChosen)
{
    EXPECT_EQ(group.Items(), QStringList({"One", "Two", "Three"}));
    ASSERT_NE(group.Button(2), nullptr);
    EXPECT_EQ(group.Button(2)->text(), "Three");
    EXPECT_EQ(group.Button(2)->objectName(), "RadioGroup_Test_Item2");
    EXPECT_EQ(group.Button(3), nullptr);
    EXPECT_EQ(group.Button(-1), nullptr);
    EXPECT_EQ(group.ItemIndex(), -1);
    EXPECT_EQ(CheckedButton(), -1);
}

TEST_F(RadioGroupTest, IndexesBeyondTheItemsAreClamped)
{
    struct Case {
        int set, chosen;
    };
    for (const Case &c :
         {Case{1, 1}, Case{0, 0}, Case{2, 2}, Case{3, 2}, Case{99, 2}, Case{-1, -1}, Case{-5, -1}}) {
        SCOPED_TRACE(c.set);
        group.SetItemIndex(c.set);
        EXPECT_EQ(group.ItemIndex(), c.chosen);
        EXPECT_EQ(CheckedButton(), c.chosen);
    }
}

TEST_F(RadioGroupTest, ClickReportsEveryChangeOnce)
{
    QSignalSpy clicks(&group, &TRadioGroup::Click);
    group.SetItemIndex(1);
    EXPECT_EQ(clicks.count(), 1);
    group.SetItemIndex(1);
    group.SetItemIndex(7); // beyond: the last item
    EXPECT_EQ(clicks.count(), 2);
    QRadioButton *first = group.Button(0);
    QTest::mouseClick(first, Qt::LeftButton, {}, QPoint(6, first->height() / 2));
    EXPECT_EQ(group.ItemIndex(), 0);
    EXPECT_EQ(clicks.count(), 3);
    QTest::mouseClick(first, Qt::LeftButton, {}, QPoint(6, first->height() / 2));
    EXPECT_EQ(clicks.count(), 3);
}

TEST_F(RadioGroupTest, NewItemsKeepTheChoiceQuietly)
{
    group.SetItemIndex(2);
    QRadioButton *kept = group.Button(0);
    QSignalSpy clicks(&group, &TRadioGroup::Click);

    group.SetItems({"Een", "Twee", "Drie"});
    EXPECT_EQ(group.ItemIndex(), 2);
    EXPECT_EQ(CheckedButton(), 2);
    EXPECT_EQ(group.Button(0), kept);
    EXPECT_EQ(group.Button(0)->text(), "Een");

    group.SetItems({"A", "B"}); // shorter: the last item
    EXPECT_EQ(group.ItemIndex(), 1);
    EXPECT_EQ(CheckedButton(), 1);
    EXPECT_EQ(group.findChildren<QRadioButton *>().size(), 2);

    group.SetItems({});
    EXPECT_EQ(group.ItemIndex(), -1);
    EXPECT_EQ(clicks.count(), 0);

    group.SetItems({"X", "Y", "Z", "W"});
    EXPECT_EQ(CheckedButton(), -1);
    group.SetItemIndex(3);
    EXPECT_EQ(CheckedButton(), 3);
}

} // namespace
