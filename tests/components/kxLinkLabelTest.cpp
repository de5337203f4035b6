// The hyperlink label: looks under the pointer and after use, and what a click asks the shell to
// open (recorded, never opened).

#include "components/kxLinkLabel.h"
#include "components/kxPointer.h"
#include "platform/Colors.h"
#include "platform/Shell.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using kxpointer::Enter;
using kxpointer::Leave;
using testsupport::TShellRequest;

QColor TextColour(const QWidget &widget)
{
    return widget.palette().color(QPalette::WindowText);
}

class LinkLabelTest : public testing::Test {
protected:
    LinkLabelTest() { label.SetCaption("www.example.com"); }

    void Click() { QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(2, 2)); }

    testsupport::TRecordingShell shell;
    TkxLinkLabel label;
};

struct ClickCase {
    const char *name;
    const char *link;
    const char *viewer;
    const char *parameters;
    TShellRequest expected;
};

class LinkLabelClickTest : public LinkLabelTest, public testing::WithParamInterface<ClickCase> {};

TEST_P(LinkLabelClickTest, OpensTheLinkAndBecomesUsed)
{
    label.SetLink(GetParam().link);
    label.SetViewer(GetParam().viewer);
    label.SetParameters(GetParam().parameters);
    QSignalSpy clicked(&label, &TkxLinkLabel::OnClick);
    Click();
    // "<app>" stands for the program's folder, where relative paths lie.
    TShellRequest expected = GetParam().expected;
    expected.Target.replace("<app>", QCoreApplication::applicationDirPath());
    EXPECT_THAT(shell.Requests, testing::ElementsAre(expected));
    EXPECT_TRUE(label.Used());
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked.at(0).at(0).value<QObject *>(), &label);
}

INSTANTIATE_TEST_SUITE_P(
    Links, LinkLabelClickTest,
    testing::Values(
        ClickCase{"Mail", "info@example.com", "", "", {{}, "mailto:info@example.com", {}}},
        ClickCase{"MailWithScheme", "mailto:info@example.com", "", "", {{}, "mailto:info@example.com", {}}},
        ClickCase{"WebUpperCase", "HTTP://WWW.EXAMPLE.COM/", "", "", {{}, "HTTP://WWW.EXAMPLE.COM/", {}}},
        // A web address with "@" in its path is still a web address.
        ClickCase{"WebWithAt",
                  "http://example.com/~user@host/page",
                  "",
                  "",
                  {{}, "http://example.com/~user@host/page", {}}},
        ClickCase{"ViewerWindowsPaths",
                  "C:\\Docs\\a.txt",
                  "C:\\Tools\\view.exe",
                  "-p 2",
                  {"C:\\Tools\\view.exe", "C:\\Docs\\a.txt|-p|2", "C:\\Tools\\"}},
        ClickCase{"Viewer",
                  "/home/me/a.txt",
                  "/opt/tools/view",
                  "",
                  {"/opt/tools/view", "/home/me/a.txt", "/opt/tools/"}},
        ClickCase{"Document", " /home/me/a.txt ", "", "-x", {{}, "/home/me/a.txt", {}}},
        ClickCase{"RelativeDocument", "notes.txt", "", "", {{}, "<app>/notes.txt", {}}},
        ClickCase{"RelativeWithViewer",
                  "docs/../notes.txt",
                  "/opt/tools/view",
                  "",
                  {"/opt/tools/view", "<app>/notes.txt", "/opt/tools/"}},
        ClickCase{"HostWithoutSchemeIsAFile", "www.example.com", "", "", {{}, "<app>/www.example.com", {}}},
        ClickCase{"OtherScheme", "ftp://example.com/a.txt", "", "", {{}, "ftp://example.com/a.txt", {}}}),
    [](const testing::TestParamInfo<ClickCase> &info) { return info.param.name; });

TEST_F(LinkLabelTest, ProgramRunsInItsFolderWithTheParameters)
{
    QTemporaryDir folder;
    const QString program = folder.filePath("tool");
    QFile file(program);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    file.close();
    label.SetLink(program);
    label.SetParameters("--one \"two words\"");
    Click();
    EXPECT_THAT(shell.Requests,
                testing::ElementsAre(TShellRequest{program, "--one|two words", folder.path() + "/"}));
}

TEST_F(LinkLabelTest, EmptyLinkOpensNothingButIsUsedAndClicked)
{
    label.SetLink("   ");
    QSignalSpy clicked(&label, &TkxLinkLabel::OnClick);
    Enter(label);
    EXPECT_NE(label.cursor().shape(), Qt::PointingHandCursor);
    Click();
    EXPECT_TRUE(shell.Requests.empty());
    EXPECT_TRUE(label.Used());
    EXPECT_EQ(clicked.count(), 1);
}

TEST_F(LinkLabelTest, PointerShowsHighlightAndHandThenTheFittingLook)
{
    label.SetLink("http://example.com");
    Enter(label);
    EXPECT_EQ(label.cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(label.font().underline());
    EXPECT_EQ(TextColour(label), QColor(Qt::blue));
    Leave(label);
    EXPECT_EQ(label.cursor().shape(), Qt::ArrowCursor);
    EXPECT_FALSE(label.font().underline());
    EXPECT_EQ(TextColour(label), ToQColor(clWindowText));

    Click();
    Leave(label);
    EXPECT_EQ(TextColour(label), QColor(128, 0, 128));
}

TEST_F(LinkLabelTest, UsedOffShowsTheStandardFontAtOnce)
{
    TkxFont standard = label.FontStandard();
    standard.Font.setBold(true);
    standard.Color = 0x006400; // dark green, which reads on the window
    label.SetFontStandard(standard);
    EXPECT_FALSE(label.font().bold()); // a new font shows only at the next change of look

    label.SetUsed(true);
    EXPECT_EQ(TextColour(label), QColor(128, 0, 128));
    label.SetUsed(false);
    EXPECT_TRUE(label.font().bold());
    EXPECT_EQ(TextColour(label), QColor(0, 100, 0));
}

// Each look reads: at rest, under the pointer and once used.
TEST_F(LinkLabelTest, EveryLookReads)
{
    QWidget window;
    auto *layout = new QHBoxLayout(&window);
    TkxLinkLabel *labels[3];
    const char *captions[] = {"Normal link", "Under the pointer", "Visited link"};
    for (int i = 0; i < 3; ++i) {
        labels[i] = new TkxLinkLabel;
        labels[i]->SetCaption(captions[i]);
        labels[i]->SetLink("http://example.com");
        layout->addWidget(labels[i]);
    }
    window.show();
    Enter(*labels[1]);
    labels[2]->SetUsed(true);
    for (TkxLinkLabel *each : labels)
        EXPECT_GE(testsupport::InkContrast(each->grab().toImage()), ReadableContrast)
            << each->Caption().toStdString();
    testsupport::SaveScreenshot(&window, "kxLinkLabel_normal_hot_used");
}

} // namespace

TEST_F(LinkLabelTest, TheKeyboardReachesTheLinkShowsTheFocusAndOpensIt)
{
    label.SetLink("http://example.com");
    label.show();
    QApplication::setActiveWindow(&label);
    EXPECT_EQ(label.focusPolicy(), Qt::TabFocus);
    label.setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(label.hasFocus());
    EXPECT_EQ(TextColour(label), QColor(Qt::blue)); // the highlight look shows the focus
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Space})
        QTest::keyClick(&label, key);
    EXPECT_EQ(shell.Requests.size(), 2u);
    EXPECT_TRUE(label.Used());
    label.clearFocus();
    EXPECT_EQ(TextColour(label), QColor(128, 0, 128));
}
