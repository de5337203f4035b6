#include "locale/SystemLocale.h"

#include "locale/LocaleTable.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

// The codes of a locale name as the toolkit reads them: tags split at "_", "-", "." or "@"; a
// language of 2 or 3 letters, then a script of 4 letters and a territory, each optional. A
// codeset or modifier (".UTF-8", "@euro") ends the name.
struct TLocaleCodes {
    bool Valid = false;
    std::string Language, Script, Territory;
};

bool IsAlnum(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

std::string Cased(std::string_view tag, bool upperFirst, bool upperRest)
{
    std::string text(tag);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool upper = i == 0 ? upperFirst : upperRest;
        const char c = text[i];
        if (upper && c >= 'a' && c <= 'z')
            text[i] = char(c - 'a' + 'A');
        else if (!upper && c >= 'A' && c <= 'Z')
            text[i] = char(c - 'A' + 'a');
    }
    return text;
}

TLocaleCodes SplitLocaleName(std::string_view name)
{
    TLocaleCodes codes;
    for (int field = 0; !name.empty() && field < 3; ++field) {
        const std::size_t end = std::min(name.find_first_of("_-.@"), name.size());
        const std::string_view tag = name.substr(0, end);
        if (tag.empty() || !std::all_of(tag.begin(), tag.end(), IsAlnum))
            break;
        const bool more = end < name.size() && name[end] != '.' && name[end] != '@';
        name = more ? name.substr(end + 1) : std::string_view();
        if (field == 0) {
            if (tag.size() != 2 && tag.size() != 3)
                return codes;
            codes.Language = Cased(tag, false, false);
            codes.Valid = true;
        } else if (field == 1 && tag.size() == 4 &&
                   std::all_of(tag.begin(), tag.end(), [](char c) { return !(c >= '0' && c <= '9'); })) {
            codes.Script = Cased(tag, true, false);
        } else {
            codes.Territory = Cased(tag, true, true);
            break;
        }
    }
    return codes;
}

const localetable::TKey *FindKey(const std::string &name)
{
    const localetable::TKey *end = localetable::Keys + localetable::KeyCount;
    const localetable::TKey *found = std::lower_bound(
        localetable::Keys, end, name, [](const localetable::TKey &key, const std::string &wanted) {
            return std::strcmp(key.Name, wanted.c_str()) < 0;
        });
    return found != end && name == found->Name ? found : nullptr;
}

// The record the toolkit gives a locale name: the most specific key the table holds, down to
// the language alone; a language the toolkit does not know goes by its territory, as there.
const localetable::TRecord &RecordOf(std::string_view name)
{
    const TLocaleCodes codes = SplitLocaleName(name);
    std::string language = codes.Language;
    if (!codes.Valid)
        language = name == "C" ? "C" : "";
    else if (!FindKey(language))
        language = "*";
    const std::string territory = codes.Territory.empty() ? "" : "_" + codes.Territory;
    const std::string script = codes.Script.empty() ? "" : "_" + codes.Script;
    for (const std::string &key : {language + script + territory, language + script, language + territory}) {
        if (const localetable::TKey *found = FindKey(key))
            return localetable::Records[found->Record];
    }
    const localetable::TKey *found = FindKey(language);
    return localetable::Records[found ? found->Record : FindKey("")->Record];
}

std::string Text(const localetable::TRecord &record, int index)
{
    return localetable::Texts + record.Texts[index];
}

// The variable that names the locale of a category: LC_ALL, then the category's own, then LANG.
std::string_view EnvironmentLocale(const char *category)
{
    for (const char *name : {"LC_ALL", category, "LANG"}) {
        const char *value = name ? std::getenv(name) : nullptr;
        if (value && *value)
            return value;
    }
    return "C";
}

// Whether a name from LANGUAGE says something other than the locale named so far: a language,
// script or territory that differs from it (a name that says less but agrees does not).
bool Contradicts(std::string_view maybe, std::string_view known)
{
    const TLocaleCodes m = SplitLocaleName(maybe), k = SplitLocaleName(known);
    const bool knownLanguage = m.Valid && FindKey(m.Language);
    return (knownLanguage && m.Language != k.Language) || (!m.Script.empty() && m.Script != k.Script) ||
           (!m.Territory.empty() && m.Territory != k.Territory);
}

} // namespace

TFormatSettings FormatSettingsForLocale(std::string_view timeLocale, std::string_view numericLocale)
{
    TFormatSettings settings;
    const localetable::TRecord &time = RecordOf(timeLocale);
    int index = 0;
    ForEachText(settings, [&](std::string &text) { text = Text(time, index++); });
    settings.DecimalSeparator = Text(RecordOf(numericLocale), FormatSettingsTextCount - 1);
    return settings;
}

TFormatSettings SystemFormatSettings()
{
    return FormatSettingsForLocale(EnvironmentLocale("LC_TIME"), EnvironmentLocale("LC_NUMERIC"));
}

std::uint32_t LcidForLocale(std::string_view locale)
{
    return RecordOf(locale).Lcid;
}

// The interface locale: LC_ALL, LC_MESSAGES or LANG, unless the first entry of LANGUAGE
// contradicts it.
std::uint32_t SystemLocaleLcid()
{
    const std::string_view messages = EnvironmentLocale("LC_MESSAGES");
    const char *languages = std::getenv("LANGUAGE");
    if (messages != "C" && messages != "POSIX" && languages && *languages) {
        const std::string_view first = std::string_view(languages).substr(0, std::strcspn(languages, ":"));
        if (!first.empty() && Contradicts(first, messages))
            return LcidForLocale(first);
    }
    return LcidForLocale(messages);
}
