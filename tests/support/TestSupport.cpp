#include "support/TestSupport.h"

#include <QDir>
#include <QPixmap>
#include <QWidget>

namespace testsupport {

QString SaveScreenshot(QWidget *widget, const QString &name)
{
    const QString dir = qEnvironmentVariable("ORVANI_BUILD_DIR", QDir::currentPath()) + "/screenshots";
    QDir().mkpath(dir);
    const QString path = dir + "/" + name + ".png";
    widget->grab().save(path);
    return path;
}

} // namespace testsupport
