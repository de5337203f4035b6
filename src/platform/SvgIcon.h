#pragma once
// An icon drawn from an SVG file that reads the file only when the icon is first drawn or measured,
// and then once: Qt's own SVG icons read each file when the icon is made and again at every new
// size. Icons of menus and dialogs that are not open cost nothing at start-up this way.

#include <QIcon>
#include <QString>

// A null icon when no file lies at `path`; otherwise it draws as QIcon(path) would. Whether the
// file holds a picture is known only once it is read, so a file that is there but is no SVG makes
// an icon that is not null and draws nothing (the program's artwork is checked by its tests).
QIcon SvgIcon(const QString &path);
