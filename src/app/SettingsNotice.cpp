#include "app/SettingsNotice.h"

#include "dialogs/DialogHelpers.h"
#include "dialogs/LanguageTables.h"
#include "settings/RecRec.h"
#include "settings/Settings.h"

#include <QMessageBox>

void ShowSettingsNotice(QWidget *parent)
{
    const std::string kept = UserSettingsBackend().KeptDamagedCopy();
    if (kept.empty())
        return;
    const QString text = QString::fromUtf8(LanguageTexts(LanguageOf(RecRec.Taal)).SettingsDamaged)
                             .arg(QString::fromStdString(kept));
    QMessageBox box(QMessageBox::Warning, "Orvani", text, QMessageBox::Ok, parent);
    RunMessageBox(box);
}
