#pragma once
// The installed family a font name is drawn in. A name the system lacks ("Arial" on most Linux
// desktops) is drawn in the family fontconfig puts in its place; asking for that family at once
// spares the toolkit's search through every installed font for a stand-in.

#include <QString>

// `family` itself when it is installed or empty; otherwise the family that stands in for it.
QString DrawnFamily(const QString &family);
