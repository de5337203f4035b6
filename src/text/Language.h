#pragma once
// The interface language, for everything that shows or prints the program's own texts.

enum TLanguage { lnDutch = 0, lnEnglish = 1 };

// The interface language of a Taal setting: 0 is Dutch, every other value English.
constexpr TLanguage LanguageOf(int taal)
{
    return taal == 0 ? lnDutch : lnEnglish;
}
