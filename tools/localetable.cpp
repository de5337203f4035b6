// Writes the toolkit's locale data as the date formatter needs it into C++ source, so that the
// program reads its locale without loading the toolkit (see src/locale/LocaleTable.h).
//
//   localetable <out.cpp>
//
// Every name a POSIX locale variable may hold comes down to a language, a script and a
// territory; the table holds a record for each language, and for each territory or script
// where the toolkit gives that language other data.

#include "locale/LocaleTable.h"
#include "platform/Locale.h"

#include <QFile>
#include <QLocale>
#include <QSaveFile>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

struct TTable {
    std::string Texts;
    std::map<std::string, std::uint32_t> TextOffsets;
    std::vector<std::pair<std::vector<std::uint32_t>, std::uint32_t>> Records;
    std::map<std::pair<std::vector<std::uint32_t>, std::uint32_t>, std::uint32_t> RecordIndex;
    std::map<std::string, std::uint32_t> Keys;

    std::uint32_t TextOffset(const std::string &text)
    {
        const auto [at, added] = TextOffsets.try_emplace(text, std::uint32_t(Texts.size()));
        if (added)
            Texts += text + '\0';
        return at->second;
    }

    std::uint32_t Record(const QLocale &locale)
    {
        std::pair<std::vector<std::uint32_t>, std::uint32_t> record;
        TFormatSettings settings = FormatSettingsFromLocale(locale);
        ForEachText(settings, [&](const std::string &text) { record.first.push_back(TextOffset(text)); });
        record.second = LcidFromLocale(locale);
        const auto [at, added] = RecordIndex.try_emplace(record, std::uint32_t(Records.size()));
        if (added)
            Records.push_back(record);
        return at->second;
    }
};

// A C string literal, in pieces the compiler takes at any length.
std::string Literal(const std::string &text)
{
    std::string out = "\"";
    int column = 0;
    for (const unsigned char c : text) {
        char escaped[8];
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\' && c != '?')
            std::snprintf(escaped, sizeof escaped, "%c", c);
        else
            std::snprintf(escaped, sizeof escaped, "\\%03o", c);
        out += escaped;
        if ((column += int(std::strlen(escaped))) > 100) {
            out += "\"\n    \"";
            column = 0;
        }
    }
    return out + "\"";
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fputs("usage: localetable <out.cpp>\n", stderr);
        return 2;
    }
    TTable table;
    table.Keys["C"] = table.Record(QLocale(QStringLiteral("C")));
    table.Keys[""] = table.Record(QLocale(QStringLiteral("C.UTF-8"))); // a name the toolkit cannot read

    // "zz" is no language code: it stands for any the toolkit does not know.
    std::vector<std::pair<std::string, QString>> languages{{"*", QStringLiteral("zz")}};
    for (int language = QLocale::C + 1; language <= QLocale::LastLanguage; ++language) {
        const QString code = QLocale::languageToCode(QLocale::Language(language));
        if (!code.isEmpty())
            languages.emplace_back(code.toStdString(), code);
    }
    std::vector<QString> territories;
    for (int territory = QLocale::AnyTerritory + 1; territory <= QLocale::LastTerritory; ++territory) {
        const QString code = QLocale::territoryToCode(QLocale::Territory(territory));
        if (!code.isEmpty())
            territories.push_back(code);
    }
    for (const auto &[key, code] : languages) {
        const QLocale language(code);
        const std::uint32_t record = table.Record(language);
        table.Keys[key] = record;
        for (const QString &territory : territories) {
            const QLocale locale(code + u'_' + territory);
            if (locale != language)
                table.Keys[key + '_' + territory.toStdString()] = table.Record(locale);
        }
    }
    // Names with a script: those of the locales the toolkit has data for.
    for (const QLocale &locale :
         QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory)) {
        const QString language = QLocale::languageToCode(locale.language());
        const QString script = QLocale::scriptToCode(locale.script());
        if (language.isEmpty() || script.isEmpty())
            continue;
        for (const QString &name :
             {language + u'_' + script,
              language + u'_' + script + u'_' + QLocale::territoryToCode(locale.territory())})
            table.Keys[name.toStdString()] = table.Record(QLocale(name));
    }

    std::string out = "// Written by tools/localetable.cpp from the toolkit's locale data.\n"
                      "#include \"locale/LocaleTable.h\"\n\nnamespace localetable {\n\n"
                      "extern const char Texts[] =\n    " +
                      Literal(table.Texts) + ";\n\nextern const TRecord Records[] = {\n";
    for (const auto &[texts, lcid] : table.Records) {
        out += "    {{";
        for (const std::uint32_t offset : texts)
            out += std::to_string(offset) + ",";
        out += "}, " + std::to_string(lcid) + "},\n";
    }
    out += "};\n\nextern const TKey Keys[] = {\n";
    for (const auto &[name, record] : table.Keys) {
        if (name.size() >= sizeof(localetable::TKey::Name)) {
            std::fprintf(stderr, "localetable: locale name %s too long\n", name.c_str());
            return 1;
        }
        out += "    {\"" + name + "\", " + std::to_string(record) + "},\n";
    }
    out += "};\n\nextern const std::size_t KeyCount = " + std::to_string(table.Keys.size()) + ";\n\n}\n";

    QSaveFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(out.data(), qint64(out.size())) != qint64(out.size()) || !file.commit()) {
        std::fprintf(stderr, "localetable: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
