#include "platform/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

namespace {

struct TInstalled {
    QString Language;
    std::unique_ptr<QTranslator> Translator;
};

TInstalled &Installed()
{
    static TInstalled installed;
    return installed;
}

} // namespace

void ApplyQtTranslations(const QString &language)
{
    TInstalled &installed = Installed();
    if (language == installed.Language)
        return;
    installed.Language = language;
    if (installed.Translator) {
        QCoreApplication::removeTranslator(installed.Translator.get());
        installed.Translator.reset();
    }
    auto translator = std::make_unique<QTranslator>();
    if (translator->load(QLocale(language), "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator.get());
        installed.Translator = std::move(translator);
    }
}
