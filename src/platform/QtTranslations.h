#pragma once
// Qt's own texts (the colour and save dialogs, the context menus of text fields) in the
// interface language, from the translations the system installs for Qt.

#include <QString>

// Makes Qt speak a language, given by its code ("nl", "en"); the language used before is dropped.
// A language that has no translation installed leaves Qt's own English. Asking for the language
// already in use costs nothing.
void ApplyQtTranslations(const QString &language);
