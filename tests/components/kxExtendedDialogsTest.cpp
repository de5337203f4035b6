// The save dialog, driven while it runs as a user would: filters, the default extension, the
// chosen filter and the side bar of places.

#include "components/kxExtendedDialogs.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

QFileDialog *RunningDialog()
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (auto *dialog = qobject_cast<QFileDialog *>(widget); dialog && dialog->isVisible())
            return dialog;
    return nullptr;
}

// Runs the dialog; `user` acts on it once it shows and must close it.
bool RunWith(TkxExtSaveDialog &saveDialog, const std::function<void(QFileDialog &)> &user)
{
    QTimer::singleShot(0, [user] {
        QFileDialog *dialog = RunningDialog();
        if (!dialog) {
            ADD_FAILURE() << "no file dialog is showing";
            return;
        }
        user(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    return saveDialog.Execute();
}

// The dialog's Save button (accept() is not public on a file dialog).
void Save(QFileDialog &dialog)
{
    QMetaObject::invokeMethod(&dialog, "accept");
}

void ChooseFile(QFileDialog &dialog, const QString &name)
{
    dialog.selectFile(name);
    Save(dialog);
}

class ExtSaveDialogTest : public testing::Test {
protected:
    ExtSaveDialogTest()
    {
        saveDialog.SetTitle("Save as JPG");
        saveDialog.SetFilter("JPG - JPEG|*.JPG;*.JPEG|*.*|*.*");
        saveDialog.SetDefaultExt("JPG");
        saveDialog.SetShowPlacesBar(false);
        saveDialog.SetInitialDir(folder.path());
    }
    QTemporaryDir folder;
    TkxExtSaveDialog saveDialog;
};

// The platform's ordinary dialog, also with the places bar switched off.
TEST_F(ExtSaveDialogTest, ShowsTheFiltersAndTitleInThePlatformsOrdinaryDialog)
{
    QStringList filters;
    QString title;
    bool confirmsOverwrite = true;
    bool ownDialog = true;
    const bool chosen = RunWith(saveDialog, [&](QFileDialog &dialog) {
        filters = dialog.nameFilters();
        title = dialog.windowTitle();
        confirmsOverwrite = !dialog.testOption(QFileDialog::DontConfirmOverwrite);
        ownDialog = dialog.testOption(QFileDialog::DontUseNativeDialog);
        testsupport::SaveScreenshot(&dialog, "kxExtSaveDialog");
    });
    EXPECT_FALSE(chosen);
    EXPECT_EQ(filters, QStringList({"JPG - JPEG (*.JPG *.JPEG)", "*.* (*)"}));
    EXPECT_EQ(title, "Save as JPG");
    EXPECT_FALSE(confirmsOverwrite);
    EXPECT_FALSE(ownDialog);
    EXPECT_TRUE(saveDialog.FileName().isEmpty());
}

TEST_F(ExtSaveDialogTest, NameWithoutExtensionGetsTheDefaultExtension)
{
    ASSERT_TRUE(RunWith(saveDialog, [](QFileDialog &dialog) { ChooseFile(dialog, "photo"); }));
    EXPECT_EQ(saveDialog.FileName(), folder.filePath("photo.JPG"));
    EXPECT_EQ(saveDialog.FilterIndex(), 1);
}

TEST_F(ExtSaveDialogTest, NameWithExtensionKeepsIt)
{
    ASSERT_TRUE(RunWith(saveDialog, [](QFileDialog &dialog) { ChooseFile(dialog, "photo.png"); }));
    EXPECT_EQ(saveDialog.FileName(), folder.filePath("photo.png"));
}

TEST_F(ExtSaveDialogTest, AllFilesFilterTooGivesANameWithoutExtensionTheDefaultExtension)
{
    ASSERT_TRUE(RunWith(saveDialog, [](QFileDialog &dialog) {
        auto *types = dialog.findChild<QComboBox *>("fileTypeCombo");
        ASSERT_NE(types, nullptr);
        QTest::keyClick(types, Qt::Key_Down);
        ChooseFile(dialog, "photo");
    }));
    EXPECT_EQ(saveDialog.FileName(), folder.filePath("photo.JPG"));
    EXPECT_EQ(saveDialog.FilterIndex(), 2);
}

TEST_F(ExtSaveDialogTest, StartsWithTheProposedNameAndChosenFilter)
{
    saveDialog.SetFileName(folder.filePath("month.JPG"));
    saveDialog.SetFilterIndex(2);
    QStringList proposed;
    QString filter;
    ASSERT_TRUE(RunWith(saveDialog, [&](QFileDialog &dialog) {
        proposed = dialog.selectedFiles();
        filter = dialog.selectedNameFilter();
        Save(dialog);
    }));
    EXPECT_EQ(proposed, QStringList{folder.filePath("month.JPG")});
    EXPECT_EQ(filter, "*.* (*)");
    EXPECT_EQ(saveDialog.FileName(), folder.filePath("month.JPG"));
}

// Qt's file dialog stores its places and history in a file all Qt programs of the user share,
// whenever one goes; Orvani's leaves it alone.
TEST_F(ExtSaveDialogTest, WritesNothingIntoTheConfigurationQtProgramsShare)
{
    const QString shared =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/QtProject.conf";
    QFile::remove(shared);
    ASSERT_TRUE(RunWith(saveDialog, [](QFileDialog &dialog) { ChooseFile(dialog, "photo"); }));
    EXPECT_FALSE(RunWith(saveDialog, [](QFileDialog &) {}));
    EXPECT_FALSE(QFile::exists(shared));
}

} // namespace
