#include "platform/ToolkitSettings.h"

#include <QSettings>

void KeepToolkitSettingsPrivate()
{
    // Qt finds its shared file through the user scope of QSettings, which Orvani itself never
    // uses. A folder below a device file can be neither read nor made, so nothing is read from
    // that file and every write to it fails quietly; what the dialogs remember lasts for the run.
    // (On Windows Qt keeps these in the registry, which a path does not redirect.)
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, QStringLiteral("/dev/null"));
}
