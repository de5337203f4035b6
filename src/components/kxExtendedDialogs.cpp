#include "components/kxExtendedDialogs.h"

#include "platform/ToolkitSettings.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>

namespace {

// "Desc|*.a;*.b|All|*.*" as the dialog's name filters "Desc (*.a *.b)" and "All (*)". "*.*" means
// every file, also one without a dot in its name. A description without patterns is dropped.
QStringList NameFilters(const QString &filter)
{
    const QStringList parts = filter.split('|');
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
        for (QString &pattern : patterns)
            pattern = pattern.trimmed() == "*.*" ? "*" : pattern.trimmed();
        patterns.removeAll(QString());
        if (!patterns.isEmpty())
            result << parts[i].trimmed() + " (" + patterns.join(' ') + ')';
    }
    return result;
}

QWidget *OwnerWindow(QObject *owner)
{
    if (auto *widget = qobject_cast<QWidget *>(owner))
        return widget->window();
    return QApplication::activeWindow();
}

} // namespace

TkxExtSaveDialog::TkxExtSaveDialog(QObject *parent) : QObject(parent) {}

bool TkxExtSaveDialog::Execute()
{
    KeepToolkitSettingsPrivate();
    const QStringList nameFilters = NameFilters(FFilter);
    QFileDialog dialog(OwnerWindow(parent()), FTitle);
    Configure(dialog, nameFilters);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    FFileName = dialog.selectedFiles().constFirst();
    FFilterIndex = int(std::max<qsizetype>(nameFilters.indexOf(dialog.selectedNameFilter()), 0)) + 1;
    return true;
}

void TkxExtSaveDialog::Configure(QFileDialog &dialog, const QStringList &nameFilters) const
{
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !FOptions.testFlag(ofOverwritePrompt));
    // Whatever filter is chosen; the dialog appends it itself, so that its overwrite question
    // names the file that will be written.
    dialog.setDefaultSuffix(FDefaultExt);
    if (!nameFilters.isEmpty()) {
        dialog.setNameFilters(nameFilters);
        dialog.selectNameFilter(nameFilters.value(FFilterIndex - 1, nameFilters.constFirst()));
    }
    const QFileInfo proposed(FFileName);
    const QString folder = FFileName.contains('/') ? proposed.absolutePath() : FInitialDir;
    if (!folder.isEmpty())
        dialog.setDirectory(folder);
    if (!proposed.fileName().isEmpty())
        dialog.selectFile(proposed.fileName());
}
