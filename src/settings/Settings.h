#pragma once
// The program's settings in the per-user store, under HKEY_CURRENT_USER\Software\KX\Orvani in
// the subkeys Algemeen (general) and Positie (window placement). A value that is missing or stored
// with the wrong kind is replaced by its default, which is written back at once; where the store
// cannot take writes the default is still what is read. Pure C++, no Qt.

#include "settings/RecRec.h"
#include "settings/Registry.h"

#include <cstdint>
#include <string>
#include <string_view>

// The five colours of the month view, each with its stored default and the colour shown in its
// place on a dark desktop. While all five hold their defaults the user never chose colours (the
// store needs no other mark, so its files stay as they were): the month view follows the
// desktop's light or dark scheme. Once the user chose, the five are shown exactly as stored, as
// one scheme: a chosen light background never meets the light text of the dark scheme.
struct TViewColor {
    std::uint32_t TRecRec::*Field;
    std::uint32_t Default;
    std::uint32_t Dark;
};
inline constexpr TViewColor ViewColors[] = {
    {&TRecRec::KleurAchtergrond, 0x00F5F2F1, 0x0027211E},      // near-black
    {&TRecRec::KleurAchtergrondTitel, 0x00800000, 0x00F8B48A}, // light blue: titles, weekdays, selection
    {&TRecRec::KleurTitel, 0x00FFFFFF, 0x0027211E},            // dark text on the light blue
    {&TRecRec::KleurDagenDezeMaand, 0x00000000, 0x00EDEAE8},   // near-white
    {&TRecRec::KleurDagenAndereMaand, 0x00800080, 0x00F98AC5}, // light purple
};
bool ColorsNeverChosen(const TRecRec &rec);
std::uint32_t ShownColor(const TRecRec &rec, const TViewColor &color, bool darkScheme);

// The default of Taal for a Windows locale identifier: 0 Dutch, 2 French, 3 German, 4 Spanish,
// 1 English for any other.
std::int32_t LanguageDefaultForLcid(std::uint32_t lcid);

// Goes to the root, then opens (creating) Software and below it subPath. Never throws; false when
// the key could not be opened.
bool RegOpenSoftwareKey(TRegistry &reg, std::string_view subPath);

// Read a value of the open key, or write the default and return it. Never throw.
std::int32_t RegReadInteger(TRegistry &reg, std::string_view name, std::int32_t defaultValue);
bool RegReadBool(TRegistry &reg, std::string_view name, bool defaultValue); // only 0 and 1 are read
std::string RegReadString(TRegistry &reg, std::string_view name, std::string_view defaultValue);

// Fills every field of rec at start, after a damaged store has been repaired. dpi is the screen's
// logical pixels per inch, the screen size that of the whole primary screen, lcid the user's
// locale identifier. Never throws: after a failure the fields read so far are kept.
void ReadSettings(TRecRec &rec, TRegistryBackend &backend, double dpi, int screenWidth, int screenHeight,
                  std::uint32_t lcid);

// The placement at close. False when it could not be stored; never throws.
bool WritePositie(TRegistryBackend &backend, int boven, int links, int breedte, int hoogte, bool opVoorgrond);

// The general settings at Options OK: those that differ between rec and before (what the store
// held when this program last read or wrote them), in the order of the Options dialog, then
// Versie = "2.2". Values another running copy stored meanwhile stay unless changed here. False
// when they could not be stored; never throws.
bool WriteAlgemeen(TRegistryBackend &backend, const TRecRec &rec, const TRecRec &before);
