#include "settings/SettingsTransfer.h"

#include "settings/FileRegistryBackend.h"
#include "settings/RegDocument.h"

namespace {

constexpr std::string_view OrvaniKey = "HKEY_CURRENT_USER\\Software\\KX\\Orvani";

bool IsOrvaniKey(std::string_view path)
{
    return SameRegName(path, OrvaniKey) || IsRegKeyBelow(path, OrvaniKey);
}

} // namespace

std::string ExportSettings(const std::string &storePath, const std::string &exportPath)
{
    std::string text;
    if (std::string problem = ReadSettingsFile(storePath, text); !problem.empty()) {
        return problem;
    }
    const TRegParseResult store = ParseRegText(text);
    if (store.Damaged) {
        return "orvani: the settings file " + storePath +
               " is damaged; start Orvani once to repair it, then export again";
    }
    if (!store.Document.KeyExists(OrvaniKey)) {
        return "orvani: the settings file " + storePath + " holds no settings of Orvani";
    }
    return ReplaceSettingsFile(exportPath, FormatRegExport(store.Document, OrvaniKey));
}

std::string ImportSettings(const std::string &importPath, const std::string &storePath)
{
    std::string text;
    if (std::string problem = ReadSettingsFile(importPath, text); !problem.empty()) {
        return problem;
    }
    const TRegParseResult parsed = ParseRegText(text);
    if (parsed.Damaged) {
        return "orvani: " + importPath + " is damaged or is no registry editor file; nothing was imported";
    }
    TRegDocument values;
    for (const TRegKey &key : parsed.Document.Keys()) {
        if (!IsOrvaniKey(key.Path)) {
            continue;
        }
        for (const TRegChange &value : key.Values) {
            if (value.Value.Kind == TRegDataType::rdUnknown) {
                return "orvani: " + importPath + " holds a value that cannot be read, \"" + value.Name +
                       "\" in [" + key.Path + "]; nothing was imported";
            }
        }
        values.Apply(key.Path, key.Values);
    }
    if (values.Keys().empty()) {
        return "orvani: " + importPath + " holds no settings of Orvani (" + std::string(OrvaniKey) +
               "); nothing was imported";
    }
    return TFileRegistryBackend(storePath).Merge(values);
}
