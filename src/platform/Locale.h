#pragma once
// The user's regional settings as the program needs them: the formatter's locale data, written in
// the program's own pattern language, and the Windows locale identifier that picks the default
// interface language. The program passes QLocale::system(); tests pass named locales.

#include "date/FormatSettings.h"

#include <QLocale>
#include <QString>

#include <cstdint>
#include <string>

TFormatSettings FormatSettingsFromLocale(const QLocale &locale);

// A date or time format in Qt's syntax as a pattern of the program: M -> m, minutes m -> n, H -> h,
// AP/ap/A/a -> ampm, time zones dropped, literal text quoted. Unquoted occurrences of `separator`
// (when not null) become `tag`, "/" for the date separator or ":" for the time separator.
std::string PatternFromQtFormat(const QString &format, QChar separator = QChar(), char tag = '/');

// The Windows locale identifier of the locale's language and territory; 0x0409 (English, United
// States) for a locale that has none in the table.
std::uint32_t LcidFromLocale(const QLocale &locale);
