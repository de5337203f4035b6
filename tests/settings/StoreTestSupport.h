#pragma once
// Helpers shared by the tests of the settings store.

#include "settings/MemoryRegistryBackend.h"
#include "settings/RecRec.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace storetest {

inline const std::string OrvaniKey = "HKEY_CURRENT_USER\\Software\\KX\\Orvani";
inline const std::string AlgemeenKey = OrvaniKey + "\\Algemeen";
inline const std::string PositieKey = OrvaniKey + "\\Positie";

// A fresh folder in the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvani-store-XXXXXX").string();
        FPath = mkdtemp(pattern.data());
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::permissions(FPath, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(FPath, ignored);
    }
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;

    const std::filesystem::path &Path() const { return FPath; }
    std::string StorePath() const { return (FPath / "KX" / "Orvani.reg").string(); }

private:
    std::filesystem::path FPath;
};

inline std::string ReadText(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void WriteText(const std::filesystem::path &path, const std::string &text)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// A record that differs from rec in every field, so that writing rec against it stores them all.
inline TRecRec UnlikeInEveryField(TRecRec rec)
{
    for (std::int32_t *number : {&rec.AantalMaanden, &rec.Taal, &rec.Lettergrootte, &rec.PositieMaand,
                                 &rec.AlphaBlend, &rec.Breedte, &rec.Hoogte, &rec.Links, &rec.Boven}) {
        *number = ~*number;
    }
    for (std::uint32_t *colour : {&rec.KleurAchtergrond, &rec.KleurAchtergrondTitel, &rec.KleurTitel,
                                  &rec.KleurDagenDezeMaand, &rec.KleurDagenAndereMaand}) {
        *colour = ~*colour;
    }
    for (bool *flag : {&rec.SysteemLade, &rec.GeminimaliseerdOpstarten, &rec.Weeknummers, &rec.Vandaag,
                       &rec.PictogrammenOplichten, &rec.TitelsKnoppen, &rec.StatusTonen, &rec.OpVoorgrond}) {
        *flag = !*flag;
    }
    for (std::string *text : {&rec.Lettertype, &rec.KopieerDatumFormaat, &rec.HintSysteemLadeFormaat}) {
        *text += '~';
    }
    return rec;
}

// Records each value name looked up (once per run of lookups of the same name) and every batch
// handed to the store.
class RecordingBackend : public TMemoryRegistryBackend {
public:
    struct Batch {
        std::string Path;
        std::vector<std::string> Names;
    };
    std::vector<std::string> Reads;
    std::vector<Batch> Batches;

    std::optional<TRegValue> ReadValue(std::string_view path, std::string_view name) override
    {
        if (Reads.empty() || Reads.back() != name) {
            Reads.emplace_back(name);
        }
        return TMemoryRegistryBackend::ReadValue(path, name);
    }
    bool Commit(std::string_view path, const std::vector<TRegChange> &changes) override
    {
        Batch batch{std::string(path), {}};
        for (const TRegChange &change : changes) {
            batch.Names.push_back(change.Name);
        }
        Batches.push_back(std::move(batch));
        return TMemoryRegistryBackend::Commit(path, changes);
    }
};

} // namespace storetest
