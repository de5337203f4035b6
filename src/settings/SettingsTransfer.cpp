#include "settings/SettingsTransfer.h"

#include "settings/FileRegistryBackend.h"
#include "settings/MemoryRegistryBackend.h"
#include "settings/RegDocument.h"
#include "settings/SettingsDefaults.h"
#include "settings/SettingsModel.h"

namespace {

// The program's keys, made when first asked for: a start of the window never asks.
const std::string &OrvaniKey()
{
    static const std::string key =
        std::string(settingsdefaults::RootKey) + "\\Software\\" + std::string(settingsdefaults::KeyPath);
    return key;
}

const std::string &AlgemeenKey()
{
    static const std::string key = OrvaniKey() + "\\Algemeen";
    return key;
}

bool IsOrvaniKey(std::string_view path)
{
    return SameRegName(path, OrvaniKey()) || IsRegKeyBelow(path, OrvaniKey());
}

// The general settings as a first start writes them.
TRegDocument DefaultSettings(std::uint32_t lcid)
{
    TMemoryRegistryBackend defaults;
    TSettingsModel(defaults).Read(96, 0, 0, lcid);
    TRegDocument document;
    document.Apply(AlgemeenKey(), defaults.Document().FindKey(AlgemeenKey())->Values);
    return document;
}

// The part of an import file that concerns the settings: the keys of Orvani, their deletions, and
// the deletion of a key above them as the deletion of Orvani's own.
TRegDocument SettingsOfFile(const TRegDocument &file)
{
    TRegDocument settings;
    for (const TRegKey &key : file.Keys()) {
        const bool deletion = !key.Path.empty() && key.Path.front() == '-';
        const std::string_view path = deletion ? std::string_view(key.Path).substr(1) : key.Path;
        if (deletion && (IsOrvaniKey(path) || IsRegKeyBelow(OrvaniKey(), path))) {
            std::string deleted = "-";
            deleted += IsOrvaniKey(path) ? path : OrvaniKey();
            settings.CreateKey(deleted);
        } else if (!deletion && IsOrvaniKey(path)) {
            settings.Apply(key.Path, key.Values);
        }
    }
    return settings;
}

} // namespace

std::string ExportSettings(const std::string &storePath, const std::string &exportPath, std::uint32_t lcid)
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
    const TRegDocument &settings =
        store.Document.KeyExists(OrvaniKey()) ? store.Document : DefaultSettings(lcid);
    return WriteOutputFile(exportPath, FormatRegExport(settings, OrvaniKey()));
}

std::string ImportSettings(const std::string &importPath, const std::string &storePath)
{
    std::string text;
    if (std::string problem = ReadInputFile(importPath, text); !problem.empty()) {
        return problem;
    }
    const std::string name = importPath == "-" ? "standard input" : importPath;
    const TRegParseResult parsed = ParseRegText(text);
    const TRegDocument settings = SettingsOfFile(parsed.Document);
    for (const TRegKey &key : settings.Keys()) {
        for (const TRegChange &value : key.Values) {
            if (value.Value.Kind == TRegDataType::rdUnknown) {
                return "orvani: " + name + " holds a value that cannot be read, \"" + value.Name + "\" in [" +
                       key.Path + "]; nothing was imported";
            }
        }
    }
    if (parsed.Damaged) {
        return "orvani: " + name + " is damaged or is no registry editor file; nothing was imported";
    }
    if (settings.Keys().empty()) {
        return "orvani: " + name + " holds no settings of Orvani (" + OrvaniKey() +
               "); nothing was imported";
    }
    return TFileRegistryBackend(storePath).Merge(settings);
}
