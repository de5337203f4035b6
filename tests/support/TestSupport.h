#pragma once
#include <QString>

class QWidget;

namespace testsupport {

// Saves a picture of the widget to build/screenshots/<name>.png for a person to look at.
QString SaveScreenshot(QWidget *widget, const QString &name);

} // namespace testsupport
