#pragma once
// The program's settings: one object, made at start and handed to whoever needs them. It holds
// the record in force, reads it from the store at start, stores what Options changed and tells its
// listeners which fields changed, and stores the placement at close. Pure C++, no Qt.

#include "settings/RecRec.h"
#include "settings/Registry.h"
#include "text/Language.h"

#include <bitset>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

// One per field of TRecRec, in its order.
enum class TSettingField {
    AantalMaanden,
    KleurAchtergrond,
    KleurAchtergrondTitel,
    KleurTitel,
    KleurDagenDezeMaand,
    KleurDagenAndereMaand,
    SysteemLade,
    GeminimaliseerdOpstarten,
    Weeknummers,
    Vandaag,
    Taal,
    PictogrammenOplichten,
    TitelsKnoppen,
    Breedte,
    Hoogte,
    Links,
    Boven,
    Lettertype,
    Lettergrootte,
    StatusTonen,
    OpVoorgrond,
    PositieMaand,
    KopieerDatumFormaat,
    HintSysteemLadeFormaat,
    AlphaBlend,
    Count
};

class TSettingFields {
public:
    TSettingFields() = default;
    TSettingFields(std::initializer_list<TSettingField> fields);
    static TSettingFields All();
    // The fields in which a and b differ.
    static TSettingFields Between(const TRecRec &a, const TRecRec &b);

    bool Has(TSettingField field) const { return FBits.test(static_cast<std::size_t>(field)); }
    bool HasAny(const TSettingFields &fields) const { return (FBits & fields.FBits).any(); }
    bool Empty() const { return FBits.none(); }
    friend bool operator==(const TSettingFields &, const TSettingFields &) = default;

private:
    std::bitset<static_cast<std::size_t>(TSettingField::Count)> FBits;
};

class TSettingsModel {
public:
    using TListener = std::function<void(TSettingFields changed)>;
    // Listeners are heard while the caller holds this.
    using TSubscription = std::shared_ptr<TListener>;

    explicit TSettingsModel(TRegistryBackend &backend);
    TSettingsModel(const TSettingsModel &) = delete;
    TSettingsModel &operator=(const TSettingsModel &) = delete;

    const TRecRec &Record() const { return FRecord; }
    TRegistryBackend &Backend() const { return FBackend; }

    // Reads every field at start (ReadSettings), writing defaults where values are missing.
    void Read(double dpi, int screenWidth, int screenHeight, std::uint32_t lcid);
    // Reads as Read does but leaves the store as it is: nothing written, nothing repaired.
    void ReadLeavingStore(std::uint32_t lcid);

    // Stores the general settings that differ from what was last read or stored (WriteAlgemeen),
    // then takes edited and tells the listeners. False, with nothing changed, when the store could
    // not be written.
    bool Commit(const TRecRec &edited);
    // Takes edited for this run only, storing nothing, and tells the listeners.
    void Keep(const TRecRec &edited);
    void ToggleStayOnTop();
    // The placement at close (WritePositie); the record keeps what was read.
    bool StorePlacement(int boven, int links, int breedte, int hoogte, bool opVoorgrond);

    [[nodiscard]] TSubscription Listen(TListener listener);

private:
    void Notify(TSettingFields changed);

    TRegistryBackend &FBackend;
    TRecRec FRecord;
    TRecRec FStored; // as the store held it when this program last read or wrote it
    std::vector<std::weak_ptr<TListener>> FListeners;
};

// The interface language of the settings: ask it so, never by comparing Taal.
inline TLanguage LanguageOf(const TRecRec &settings)
{
    return LanguageOf(settings.Taal);
}
inline TLanguage LanguageOf(const TSettingsModel &settings)
{
    return LanguageOf(settings.Record());
}
