#pragma once
// The user's locale as the environment names it (LC_ALL, LC_TIME, LC_NUMERIC, LC_MESSAGES, LANG,
// LANGUAGE), read the way the toolkit reads it, with the toolkit's locale data from a table made
// at build time. The window and the command line both take their locale data from here, so they
// give the same text for the same pattern. Pure C++, no Qt.

#include "date/FormatSettings.h"

#include <cstdint>
#include <string>
#include <string_view>

// The formatter's data for a locale named as in LC_TIME (names, formats, designators) and one
// named as in LC_NUMERIC (decimal separator); a name the table does not know gets what the
// toolkit gives it.
TFormatSettings FormatSettingsForLocale(std::string_view timeLocale, std::string_view numericLocale);
// The same for the locale of the environment.
TFormatSettings SystemFormatSettings();

// The Windows locale identifier of the locale named, and of the environment's interface locale.
std::uint32_t LcidForLocale(std::string_view locale);
std::uint32_t SystemLocaleLcid();
