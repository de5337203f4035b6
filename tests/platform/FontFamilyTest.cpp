// A font name is drawn in the same family whether the toolkit looks for its stand-in or is given
// the stand-in that fontconfig names.

#include "platform/FontFamily.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

QString Drawn(const QString &family)
{
    return QFontInfo(QFont(family, 9)).family();
}

TEST(FontFamily, DrawsEveryNameInTheFamilyTheToolkitWouldPick)
{
    const QString installed = QFontDatabase::families().value(0);
    for (const QString &name : {installed, installed.toUpper(), QString("Arial"), QString("Times New Roman"),
                                QString("Courier New"), QString("No Such Family 12345"), QString()}) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(Drawn(DrawnFamily(name)), Drawn(name));
    }
    EXPECT_EQ(DrawnFamily(installed), installed);
    EXPECT_NE(DrawnFamily("Arial"), "Arial") << "the tests' fonts have no Arial, only its stand-in";
}

} // namespace
