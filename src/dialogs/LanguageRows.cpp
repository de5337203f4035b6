// Setting the texts of the language tables on the windows: apart from the tables themselves, which
// the command line reads without the toolkit.
#include "dialogs/LanguageTables.h"

#include <QTabWidget>
#include <QWidget>

void SetRowText(QObject *control, TTextTarget target, const QString &text)
{
    switch (target) {
    case TTextTarget::Text:
        control->setProperty("text", text);
        break;
    case TTextTarget::Hint:
        control->setProperty("toolTip", text);
        break;
    case TTextTarget::Caption:
        control->setProperty("windowTitle", text);
        break;
    case TTextTarget::Title:
        control->setProperty("title", text);
        break;
    case TTextTarget::Name:
        control->setProperty("accessibleName", text);
        break;
    case TTextTarget::Tab:
        if (auto *page = qobject_cast<QWidget *>(control)) {
            for (QWidget *up = page->parentWidget(); up; up = up->parentWidget()) {
                if (auto *tabs = qobject_cast<QTabWidget *>(up); tabs && tabs->indexOf(page) >= 0) {
                    tabs->setTabText(tabs->indexOf(page), text);
                    break;
                }
            }
        }
        break;
    }
}

void ApplyWindowRows(QWidget *window, TLanguage language)
{
    const QByteArray name = window->objectName().toUtf8();
    for (const TLanguageRow &row : LanguageRows()) {
        if (name != row.Window)
            continue;
        QObject *control = *row.Control ? window->findChild<QObject *>(row.Control) : window;
        if (control)
            SetRowText(control, row.Target, QString::fromUtf8(row.Texts[language]));
    }
}
