#pragma once
// Saving a control's picture as a JPEG file.

#include <QString>

class QWidget;

// Writes the control's current rendering, at its size in the screen's pixels, to fileName as a baseline JFIF
// JPEG of three 8-bit components with the given quality (1..100). An existing file is replaced
// only once the new picture is complete, so a failed save leaves it as it was. Failures are quiet:
// the result is false, with no message.
bool SaveControlAsJpeg(QWidget *control, const QString &fileName, int quality);
