#include "settings/Settings.h"

#include "date/Rounding.h"
#include "settings/SettingsDefaults.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

namespace defaults = settingsdefaults;

constexpr std::string_view Version = "2.2";

// Client size at 96 dpi.
constexpr int ReferenceWidth = 204;
constexpr int ReferenceHeight = 223;

struct LanguageOfLcid {
    std::uint32_t Lcid;
    std::int32_t Language;
};

constexpr LanguageOfLcid LanguageTable[] = {
    {0x0413, 0}, {0x0813, 0},                                        // Dutch
    {0x040C, 2}, {0x080C, 2}, {0x0C0C, 2}, {0x100C, 2}, {0x140C, 2}, // French
    {0x0407, 3}, {0x0807, 3}, {0x0C07, 3}, {0x1007, 3}, {0x1407, 3}, // German
};
constexpr std::uint32_t SpanishPrimary = 0x0A;
constexpr std::uint32_t SpanishSublanguages = 20; // 0x040A .. 0x500A

bool OpenSettingsKey(TRegistry &reg, std::string_view subkey)
{
    return RegOpenSoftwareKey(reg, defaults::KeyPath) && reg.OpenKey(subkey, true);
}

std::uint32_t RegReadColor(TRegistry &reg, std::string_view name, std::uint32_t defaultValue)
{
    return static_cast<std::uint32_t>(RegReadInteger(reg, name, static_cast<std::int32_t>(defaultValue)));
}

// size96 scaled to dpi, rounded to nearest with ties to even (the default rounding mode). A dpi
// no screen has counts as 96.
std::int32_t ScaledSize(double dpi, int size96)
{
    const bool plausible = dpi >= 1.0 && dpi <= 10000.0;
    return static_cast<std::int32_t>(rounding::HalfEven((plausible ? dpi : 96.0) * size96 / 96.0));
}

// (screen - size) div 2, truncating toward zero; in 64 bits so no stored size can overflow.
std::int32_t CentredStart(int screen, std::int32_t size)
{
    return static_cast<std::int32_t>((static_cast<std::int64_t>(screen) - size) / 2);
}

template <typename Write>
bool WriteSettingsKey(TRegistryBackend &backend, std::string_view subkey, Write write)
{
    try {
        TRegistry reg(backend);
        if (!OpenSettingsKey(reg, subkey)) {
            return false;
        }
        write(reg);
        return reg.CloseKey();
    } catch (const std::exception &) {
        return false;
    }
}

} // namespace

std::int32_t LanguageDefaultForLcid(std::uint32_t lcid)
{
    for (const LanguageOfLcid &entry : LanguageTable) {
        if (entry.Lcid == lcid) {
            return entry.Language;
        }
    }
    const std::uint32_t sublanguage = lcid >> 10;
    if (lcid <= 0xFFFF && (lcid & 0x3FF) == SpanishPrimary && sublanguage >= 1 &&
        sublanguage <= SpanishSublanguages) {
        return 4;
    }
    return 1;
}

bool RegOpenSoftwareKey(TRegistry &reg, std::string_view subPath)
{
    try {
        reg.SetRootKey(TRegRoot::CurrentUser);
        return reg.OpenKey("Software", true) && reg.OpenKey(subPath, true);
    } catch (const std::exception &) {
        return false;
    }
}

std::int32_t RegReadInteger(TRegistry &reg, std::string_view name, std::int32_t defaultValue)
{
    try {
        if (reg.GetDataType(name) == TRegDataType::rdInteger) {
            return reg.ReadInteger(name);
        }
        reg.WriteInteger(name, defaultValue);
    } catch (const std::exception &) {
        // A store that cannot take the default: the program still starts as it would the first time.
    }
    return defaultValue;
}

bool RegReadBool(TRegistry &reg, std::string_view name, bool defaultValue)
{
    try {
        if (reg.GetDataType(name) == TRegDataType::rdInteger) {
            const std::int32_t stored = reg.ReadInteger(name);
            if (stored == 0 || stored == 1) {
                return stored != 0;
            }
        }
        reg.WriteBool(name, defaultValue);
    } catch (const std::exception &) {
        // As above.
    }
    return defaultValue;
}

std::string RegReadString(TRegistry &reg, std::string_view name, std::string_view defaultValue)
{
    try {
        if (reg.GetDataType(name) == TRegDataType::rdString) {
            return reg.ReadString(name);
        }
        reg.WriteString(name, defaultValue);
    } catch (const std::exception &) {
        // As above.
    }
    return std::string(defaultValue);
}

bool ColorsNeverChosen(const TRecRec &rec)
{
    return std::all_of(std::begin(ViewColors), std::end(ViewColors),
                       [&](const TViewColor &color) { return rec.*color.Field == color.Default; });
}

std::uint32_t ShownColor(const TRecRec &rec, const TViewColor &color, bool darkScheme)
{
    return darkScheme && ColorsNeverChosen(rec) ? color.Dark : rec.*color.Field;
}

void ReadSettings(TRecRec &rec, TRegistryBackend &backend, double dpi, int screenWidth, int screenHeight,
                  std::uint32_t lcid)
{
    try {
        backend.RepairDamage();
        TRegistry reg(backend);
        OpenSettingsKey(reg, "Algemeen");
        const char *const colorNames[] = {"KleurAchtergrond", "KleurAchtergrondTitel", "KleurTitel",
                                          "KleurDagenDezeMaand", "KleurDagenAndereMaand"};
        for (std::size_t i = 0; i < std::size(ViewColors); ++i) {
            rec.*ViewColors[i].Field = RegReadColor(reg, colorNames[i], ViewColors[i].Default);
        }
        rec.SysteemLade = RegReadBool(reg, "SysteemLade", false);
        rec.GeminimaliseerdOpstarten = RegReadBool(reg, "GeminimaliseerdOpstarten", false);
        rec.Weeknummers = RegReadBool(reg, "Weeknummers", false);
        rec.Vandaag = RegReadBool(reg, "Vandaag", false);
        rec.Lettertype = RegReadString(reg, "Lettertype", defaults::FontName);
        rec.Lettergrootte = RegReadInteger(reg, "Lettergrootte", defaults::FontSize);
        rec.StatusTonen = RegReadBool(reg, "StatusTonen", true);
        rec.PositieMaand = RegReadInteger(reg, "PositieMaand", 0);
        rec.KopieerDatumFormaat = RegReadString(reg, "KopieerDatumFormaat", defaults::DatePattern);
        rec.HintSysteemLadeFormaat = RegReadString(reg, "HintSysteemLadeFormaat", defaults::DatePattern);
        rec.AlphaBlend = RegReadInteger(reg, "AlphaBlend", defaults::HighestAlphaBlend);
        rec.Taal = RegReadInteger(reg, "Taal", LanguageDefaultForLcid(lcid));
        rec.AantalMaanden = RegReadInteger(reg, "AantalMaanden", 0);
        rec.PictogrammenOplichten = RegReadBool(reg, "PictogrammenOplichten", true);
        rec.TitelsKnoppen = RegReadBool(reg, "TitelsKnoppen", false);
        reg.CloseKey();

        OpenSettingsKey(reg, "Positie");
        rec.Breedte = RegReadInteger(reg, "Breedte", ScaledSize(dpi, ReferenceWidth));
        rec.Hoogte = RegReadInteger(reg, "Hoogte", ScaledSize(dpi, ReferenceHeight));
        rec.Boven = RegReadInteger(reg, "Boven", CentredStart(screenHeight, rec.Hoogte));
        rec.Links = RegReadInteger(reg, "Links", CentredStart(screenWidth, rec.Breedte));
        rec.OpVoorgrond = RegReadBool(reg, "OpVoorgrond", false);
    } catch (const std::exception &) {
        // Start-up goes on with the fields read so far.
    }
}

bool WritePositie(TRegistryBackend &backend, int boven, int links, int breedte, int hoogte, bool opVoorgrond)
{
    return WriteSettingsKey(backend, "Positie", [&](TRegistry &reg) {
        reg.WriteInteger("Boven", boven);
        reg.WriteInteger("Links", links);
        reg.WriteInteger("Breedte", breedte);
        reg.WriteInteger("Hoogte", hoogte);
        reg.WriteBool("OpVoorgrond", opVoorgrond);
    });
}

bool WriteAlgemeen(TRegistryBackend &backend, const TRecRec &rec, const TRecRec &before)
{
    return WriteSettingsKey(backend, "Algemeen", [&](TRegistry &reg) {
        const auto number = [&](std::string_view name, auto TRecRec::*field) {
            if (rec.*field != before.*field) {
                reg.WriteInteger(name, static_cast<std::int32_t>(rec.*field));
            }
        };
        const auto text = [&](std::string_view name, std::string TRecRec::*field) {
            if (rec.*field != before.*field) {
                reg.WriteString(name, rec.*field);
            }
        };
        number("AantalMaanden", &TRecRec::AantalMaanden);
        number("KleurAchtergrond", &TRecRec::KleurAchtergrond);
        number("KleurAchtergrondTitel", &TRecRec::KleurAchtergrondTitel);
        number("KleurTitel", &TRecRec::KleurTitel);
        number("KleurDagenDezeMaand", &TRecRec::KleurDagenDezeMaand);
        number("KleurDagenAndereMaand", &TRecRec::KleurDagenAndereMaand);
        number("Taal", &TRecRec::Taal);
        text("Lettertype", &TRecRec::Lettertype);
        number("Lettergrootte", &TRecRec::Lettergrootte);
        number("PositieMaand", &TRecRec::PositieMaand);
        number("SysteemLade", &TRecRec::SysteemLade);
        number("GeminimaliseerdOpstarten", &TRecRec::GeminimaliseerdOpstarten);
        number("Weeknummers", &TRecRec::Weeknummers);
        number("Vandaag", &TRecRec::Vandaag);
        number("PictogrammenOplichten", &TRecRec::PictogrammenOplichten);
        number("TitelsKnoppen", &TRecRec::TitelsKnoppen);
        number("StatusTonen", &TRecRec::StatusTonen);
        text("KopieerDatumFormaat", &TRecRec::KopieerDatumFormaat);
        text("HintSysteemLadeFormaat", &TRecRec::HintSysteemLadeFormaat);
        number("AlphaBlend", &TRecRec::AlphaBlend);
        reg.WriteString("Versie", Version);
    });
}
