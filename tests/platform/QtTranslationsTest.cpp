#include "platform/QtTranslations.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {

QString QtText(const char *context, const char *text)
{
    return QCoreApplication::translate(context, text);
}

// Qt's own texts follow each switch of language, back to English too.
TEST(QtTranslationsTest, QtsOwnTextsFollowTheLanguage)
{
    struct Case {
        const char *language;
        const char *undo;  // a text field's context menu
        const char *basic; // the colour dialog
    };
    const Case cases[] = {
        {"nl", "&Ongedaan maken", "&Basiskleuren"},
        {"en", "&Undo", "&Basic colors"},
        {"nl", "&Ongedaan maken", "&Basiskleuren"},
        {"xx", "&Undo", "&Basic colors"}, // no translation: Qt's own English
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.language);
        ApplyQtTranslations(c.language);
        EXPECT_EQ(QtText("QLineEdit", "&Undo").toStdString(), c.undo);
        EXPECT_EQ(QtText("QColorDialog", "&Basic colors").toStdString(), c.basic);
    }
    ApplyQtTranslations("en");
}

} // namespace
