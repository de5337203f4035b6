#include "app/SettingsNotice.h"

#include "dialogs/DialogHelpers.h"
#include "dialogs/LanguageTables.h"
#include "settings/SettingsModel.h"

#include <QMessageBox>

void ShowSettingsNotice(QWidget *parent, const TSettingsModel &settings)
{
    const std::string kept = settings.Backend().KeptDamagedCopy();
    if (kept.empty())
        return;
    const QString text = QString::fromUtf8(LanguageTexts(LanguageOf(settings)).SettingsDamaged)
                             .arg(QString::fromStdString(kept));
    QMessageBox box(QMessageBox::Warning, "Orvani", text, QMessageBox::Ok, parent);
    RunMessageBox(box);
}
