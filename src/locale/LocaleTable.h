#pragma once
// The locale data of every locale the toolkit knows, as the date formatter needs it, written at
// build time by tools/localetable.cpp into a table the program reads without loading the toolkit.
// Texts lie in one pool and are found by offset, so the table needs no relocation at start.

#include "date/FormatSettings.h"

#include <cstddef>
#include <cstdint>

namespace localetable {

struct TRecord {
    std::uint32_t Texts[FormatSettingsTextCount]; // offsets into Texts, in ForEachText's order
    std::uint32_t Lcid;                           // the Windows locale identifier
};

// A locale name reduced to its codes: "nl", "nl_BE", "sr_Latn_RS"; "*" and "*_TT" stand for a
// language the toolkit does not know, "" for a name it cannot read and "C" for the C locale.
struct TKey {
    char Name[16];
    std::uint32_t Record;
};

extern const char Texts[];
extern const TRecord Records[];
extern const TKey Keys[]; // sorted by name
extern const std::size_t KeyCount;

} // namespace localetable
