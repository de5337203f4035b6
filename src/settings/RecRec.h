#pragma once
// The settings record, held by the settings model (SettingsModel.h) and edited as a copy by the
// Options dialog. Fields are named after their stored values. Pure C++, no Qt.

#include <cstdint>
#include <string>

struct TRecRec {
    std::int32_t AantalMaanden = 0;
    std::uint32_t KleurAchtergrond = 0; // colours: 0x00BBGGRR, or 0xFF0000nn for a system colour
    std::uint32_t KleurAchtergrondTitel = 0;
    std::uint32_t KleurTitel = 0;
    std::uint32_t KleurDagenDezeMaand = 0;
    std::uint32_t KleurDagenAndereMaand = 0;
    bool SysteemLade = false;
    bool GeminimaliseerdOpstarten = false;
    bool Weeknummers = false;
    bool Vandaag = false;
    std::int32_t Taal = 0; // 0 Dutch, any other value English
    bool PictogrammenOplichten = false;
    bool TitelsKnoppen = false;
    std::int32_t Breedte = 0;
    std::int32_t Hoogte = 0;
    std::int32_t Links = 0;
    std::int32_t Boven = 0;
    std::string Lettertype;
    std::int32_t Lettergrootte = 0;
    bool StatusTonen = false;
    bool OpVoorgrond = false;
    std::int32_t PositieMaand = 0; // 0: today's month first, otherwise last
    std::string KopieerDatumFormaat;
    std::string HintSysteemLadeFormaat;
    std::int32_t AlphaBlend = 0;

    friend bool operator==(const TRecRec &, const TRecRec &) = default;
};
