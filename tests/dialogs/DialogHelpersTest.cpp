#include "dialogs/DialogHelpers.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextEdit>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

// A window of three one-line fields around a memo and a rich text editor.
class FocusForm : public QWidget {
public:
    FocusForm()
    {
        auto *column = new QVBoxLayout(this);
        for (QWidget *field : std::initializer_list<QWidget *>{first, memo, second, rich, third}) {
            column->addWidget(field);
        }
        show();
        activateWindow();
    }

    QLineEdit *first = new QLineEdit(this);
    QPlainTextEdit *memo = new QPlainTextEdit(this);
    QLineEdit *second = new QLineEdit(this);
    QTextEdit *rich = new QTextEdit(this);
    QLineEdit *third = new QLineEdit(this);
};

class DialogHelpersTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(QTest::qWaitForWindowActive(&form)); }
    FocusForm form;
};

TEST_F(DialogHelpersTest, EnterMovesTheFocusOnAsTabWould)
{
    for (const int key : {13, int(Qt::Key_Return), int(Qt::Key_Enter)}) {
        SCOPED_TRACE(key);
        form.first->setFocus();
        FocusNextOnEnter(&form, key);
        EXPECT_TRUE(form.memo->hasFocus());
        form.second->setFocus();
        FocusNextOnEnter(&form, key);
        EXPECT_TRUE(form.rich->hasFocus());
    }
}

TEST_F(DialogHelpersTest, OtherKeysLeaveTheFocus)
{
    for (const int key : {9, 10, 32, int('a'), int(Qt::Key_Tab), int(Qt::Key_Escape), 0, -13}) {
        SCOPED_TRACE(key);
        form.first->setFocus();
        FocusNextOnEnter(&form, key);
        EXPECT_TRUE(form.first->hasFocus());
    }
}

TEST_F(DialogHelpersTest, MultiLineEditorsKeepEnter)
{
    for (QWidget *editor : std::initializer_list<QWidget *>{form.memo, form.rich}) {
        editor->setFocus();
        FocusNextOnEnter(&form, 13);
        EXPECT_TRUE(editor->hasFocus());
    }
}

TEST_F(DialogHelpersTest, NoWindowIsNoMatter)
{
    FocusNextOnEnter(nullptr, 13);
    SetRedraw(nullptr, true);
    SetRedraw(nullptr, false);
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int Count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        Count += event->type() == QEvent::Paint;
        return false;
    }
};

TEST_F(DialogHelpersTest, RedrawSuspendsAndResumesWithAFullRepaint)
{
    QCoreApplication::processEvents();
    PaintCounter counter;
    form.third->installEventFilter(&counter);

    SetRedraw(&form, true);
    EXPECT_FALSE(form.updatesEnabled());
    EXPECT_FALSE(form.third->updatesEnabled());
    form.third->setText("changed while suspended");
    QCoreApplication::processEvents();
    EXPECT_EQ(counter.Count, 0);

    SetRedraw(&form, false);
    EXPECT_TRUE(form.updatesEnabled());
    EXPECT_TRUE(form.third->updatesEnabled());
    QCoreApplication::processEvents();
    EXPECT_GT(counter.Count, 0);
}

TEST(MessageBoxRunnerTest, TestsAnswerMessageBoxesThemselves)
{
    QString shown;
    SetMessageBoxRunner([&shown](QMessageBox &box) { shown = box.text(); });
    QMessageBox box(QMessageBox::NoIcon, "Title", "Hello", QMessageBox::Ok);
    RunMessageBox(box);
    SetMessageBoxRunner(nullptr);
    EXPECT_EQ(shown, "Hello");
}

} // namespace
