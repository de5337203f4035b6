#include "dialogs/LanguageTables.h"

#include "text/DateInfoTexts.h"

#include <iterator>

namespace {

using enum TTextTarget;
using namespace WindowNames;

// A row of the date information sheet whose texts the command line prints too.
constexpr TLanguageRow Info(const char *control, TTextTarget target, const char *TDateInfoTexts::*text)
{
    return {DatumInfo, control, target, {DateInfoTexts[lnDutch].*text, DateInfoTexts[lnEnglish].*text}};
}

constexpr TLanguageRow Rows[] = {
    // Main window: toolbar hints and captions.
    {Main, "ToolButton_GaNaar", Hint, {"Ga naar opgegeven datum", "Go to given date"}},
    {Main, "ToolButton_GaNaar", Text, {"&Ga naar", "&Go to"}},
    {Main, "ToolButton_StayOnTop", Hint, {"Venster op voorgrond", "Window stay on top"}},
    {Main, "ToolButton_StayOnTop", Text, {"Voorgrond", "On top"}},
    {Main,
     "ToolButton_Voorkeuren",
     Hint,
     {"Opties (taal, opstarten, weergave, ...)", "Options (language, startup, view, ...)"}},
    {Main, "ToolButton_Voorkeuren", Text, {"&Opties", "&Options"}},
    {Main, "ToolButton_Info", Hint, {"Info Orvani", "Info Orvani"}},
    {Main, "ToolButton_Info", Text, {"&Info", "&Info"}},
    {Main, "ToolButton_Afsluiten", Hint, {"Afsluiten", "Exit"}},
    {Main, "ToolButton_Afsluiten", Text, {"Afsluiten", "Exit"}},
    {Main, "ToolButton_DateInfo", Hint, {"Info huidige datum", "Current date information"}},
    {Main, "ToolButton_DateInfo", Text, {"&Datum", "&Date"}},
    // Tray and month view menus.
    {Main, "Menu_ST_Open", Text, {"Openen", "Open"}},
    {Main, "Menu_ST_Info", Text, {"Info", "Info"}},
    {Main, "Menu_ST_Exit", Text, {"Afsluiten", "Exit"}},
    {Main, "Ganaarvandaag1", Text, {"Ga naar vandaag", "Go to today"}},
    {Main, "Ganaar1", Text, {"&Ga naar", "&Go to"}},
    {Main, "Opties2", Text, {"&Opties", "&Options"}},
    {Main, "DateInfo1", Text, {"Info huidige &datum", "Info current &date"}},
    {Main, "OpslaanalsJPG1", Text, {"Opslaan als JPG", "Save as JPG"}},
    {Main, "Kopieren1", Title, {"Kopiëren", "Copy"}},
    {Main, "MonthCalendar1", Name, {"Maandkalender", "Month calendar"}},
    // Go to.
    {GaNaar, "", Caption, {"Ga naar", "Go to"}},
    {GaNaar, "RadioButton_Vandaag", Text, {"Vandaag", "Today"}},
    {GaNaar, "RadioButton_Jaren", Text, {"Jaren", "Years"}},
    {GaNaar, "Label_Maanden", Text, {"Maanden", "Months"}},
    {GaNaar, "Label_Dagen", Text, {"Dagen", "Days"}},
    {GaNaar, "RadioButton_Datum", Text, {"Datum", "Date"}},
    {GaNaar, "RadioButtonEasterSunday", Text, {"Paaszondag", "Easter sunday"}},
    {GaNaar, "RadioButtonDateAsFloat", Text, {"Datum als getal", "Date as float"}},
    {GaNaar, "SpinEdit_Jaren", Name, {"Jaren", "Years"}},
    {GaNaar, "DateTimePicker1", Name, {"Datum", "Date"}},
    {GaNaar, "SpinEditEaster", Name, {"Jaar van paaszondag", "Year of Easter sunday"}},
    {GaNaar, "EditDateSince", Name, {"Datum als getal", "Date as float"}},
    {GaNaar, "SpeedButtonConvert", Name, {"Omzetten naar datum", "Convert to date"}},
    {GaNaar,
     "LabelOutOfRange",
     Text,
     {"Deze datum ligt buiten het bereik van de kalender.", "This date lies outside the calendar's range."}},
    // Options.
    {Opties, "", Caption, {"Opties", "Options"}},
    {Opties, "TabSheet_Algemeen", Tab, {"Algemeen", "General"}},
    {Opties, "RadioGroup_Taal", Title, {"Taal", "Language"}},
    {Opties, "RadioGroup_SystemTray", Title, {"Minimaliseren", "Minimize"}},
    {Opties, "RadioGroup_Startup", Title, {"Opstarten", "Startup"}},
    {Opties, "TabSheet_Weergave", Tab, {"Weergave", "View"}},
    {Opties, "GroupBox_Weergave", Title, {"Weergave", "View"}},
    {Opties, "CheckBox_Weeknummers", Text, {"Weeknummers tonen", "Show weeknumbers"}},
    {Opties, "CheckBox_Vandaag", Text, {"Vandaag omcirkelen", "Show circle today"}},
    {Opties, "CheckBox_ShowStatus", Text, {"Statusbalk tonen", "Show statusbar"}},
    {Opties, "GroupBox_Kleuren", Title, {"Kleuren", "Colors"}},
    {Opties, "Label_KleurAchtergrond", Text, {"Achtergrond", "Background"}},
    {Opties, "Label_KleurAchterTitel", Text, {"Achtergrond titel", "Background title"}},
    {Opties, "Label_KleurTitel", Text, {"Titel", "Title"}},
    {Opties, "Label_KleurDagen", Text, {"Dagen deze maand", "Days of this month"}},
    {Opties, "Label_KleurDagenAndere", Text, {"Dagen andere maanden", "Days of other months"}},
    {Opties, "GroupBoxFont", Title, {"Lettertype", "Font"}},
    {Opties, "GroupBoxWerkbalk", Title, {"Werkbalk", "Toolbar"}},
    {Opties, "CheckBoxCaptions", Text, {"Titels op knoppen", "Titles on buttons"}},
    {Opties,
     "RadioGroup_MonthPosition",
     Title,
     {"Positie huidige maand (bij opstarten)", "Position current month (on startup)"}},
    {Opties, "TabSheetDateFormat", Tab, {"Datum notatie", "Date format"}},
    {Opties, "GroupBoxDateFormat", Title, {"Datum notatie", "Date format"}},
    {Opties, "LabelCopyDate", Text, {"Datum kopiëren", "Copy date"}},
    {Opties, "LabelHintSystemTray", Text, {"Hint systeemlade", "Hint systemtray"}},
    {Opties, "GroupBoxInfoTags", Title, {"Info beschikbare datum tags", "Info available date tags"}},
    {Opties, "SpeedButtonExampleCopy", Hint, {"Voorbeeld", "Example"}},
    {Opties, "SpeedButtonExampleHint", Hint, {"Voorbeeld", "Example"}},
    {Opties, "PageControl1", Name, {"Pagina's", "Pages"}},
    {Opties, "kxFontComboBox1", Name, {"Lettertype", "Font"}},
    {Opties, "ComboBoxFontSize", Name, {"Lettergrootte", "Font size"}},
    {Opties, "ComboBoxFontSizeEdit", Name, {"Lettergrootte", "Font size"}},
    {Opties, "LabelFontSize", Text, {"Lettergrootte", "Font size"}},
    {Opties, "TrackBarAlphaBlend", Name, {"Alphablend", "Alphablend"}},
    {Opties, "SpeedButtonExampleCopy", Name, {"Voorbeeld datum kopiëren", "Example copy date"}},
    {Opties, "SpeedButtonExampleHint", Name, {"Voorbeeld hint systeemlade", "Example hint systemtray"}},
    {Opties, "MemoDateTagsNed", Name, {"Info beschikbare datum tags", "Info available date tags"}},
    {Opties, "MemoDateTagsEng", Name, {"Info beschikbare datum tags", "Info available date tags"}},
    // About.
    {About, "Label_Title", Text, {"Orvani", "Orvani"}},
    {About, "Label_Versie", Text, {"Versie 2.21 / Juni 2003", "Version 2.21 / June 2003"}},
    {About,
     "ntLabel_Plaats",
     Text,
     {"Postbus 1221, 9999 ZZ Voorbeeldstad, Nederland",
      "P.O. Box 1221, 9999 ZZ Voorbeeldstad, the Netherlands"}},
    {About, "BitBtn_Feedway", Text, {"Laatste nieuws", "Latest news"}},
    {About, "BitBtn_Extra", Text, {"Meer info", "More info"}},
    // Date info.
    Info("", Caption, &TDateInfoTexts::Caption),
    {DatumInfo, "GroupBoxYear", Title, {"Jaar", "Year"}},
    Info("LabelJaar", Text, &TDateInfoTexts::Year),
    Info("CheckBoxLeapYear", Text, &TDateInfoTexts::LeapYear),
    Info("LabelDaysInYear", Text, &TDateInfoTexts::DaysInYear),
    {DatumInfo, "GroupBoxMonth", Title, {"Maand", "Month"}},
    Info("LabelMonth", Text, &TDateInfoTexts::Month),
    Info("LabelDaysInMonth", Text, &TDateInfoTexts::DaysInMonth),
    {DatumInfo, "GroupBoxWeek", Title, {"Week", "Week"}},
    Info("LabelISOWeekNo", Text, &TDateInfoTexts::IsoWeek),
    {DatumInfo, "GroupBoxDay", Title, {"Dag", "Day"}},
    Info("LabelDay", Text, &TDateInfoTexts::Day),
    Info("LabelDayInWeek", Text, &TDateInfoTexts::DayInWeek),
    Info("LabelDayNoInYear", Text, &TDateInfoTexts::DayNumberInYear),
    Info("GroupBoxDaysBetween", Title, &TDateInfoTexts::DaysBetween),
    {DatumInfo, "GroupBoxDateAsFloat", Title, {"Datum als getal", "Date as float"}},
    {DatumInfo, "DateTimePickerUntil", Name, {"Tweede datum", "Second date"}},
    // Last: the main window's caption (the application title follows it).
    {Main, "", Caption, {"Orvani", "Orvani"}},
};

constexpr TLanguageTexts Texts[2] = {
    {"Orvani",
     {"In taakbalk (standaard)", "In systeemlade"},
     {"Normaal (zichtbaar)", "Geminimaliseerd"},
     {"Eerste", "Laatste"},
     "Vandaag:",
     "Het instellingenbestand was beschadigd. Instellingen die niet te lezen waren, staan weer op hun "
     "standaardwaarde. Het beschadigde bestand is bewaard als:\n%1",
     {"Vul de dag in.", "Vul de maand in.", "Vul het jaar in."},
     "Alleen hele getallen.",
     "De instellingen konden niet worden opgeslagen.",
     "Laatste nieuws ",
     {
         "w : weeknummer",
         "ww : weeknummer (altijd 2 cijfers)",
         "d : dagnummer",
         "dd : dagnummer (altijd 2 cijfers)",
         "ddd : afkorting dag",
         "dddd : dag",
         "m : maandnummer",
         "mm : maandnummer (altijd 2 cijfers)",
         "mmm : afkorting maand",
         "mmmm : maand",
         "yy : jaar (altijd 2 cijfers)",
         "yyyy : jaar (altijd 4 cijfers)",
         "ddddd : Windows instelling korte datumnotatie",
         "dddddd : Windows instelling lange datumnotatie",
     }},
    {"Orvani",
     {"In taskbar (default)", "In system tray"},
     {"Normal (Visible)", "Minimized"},
     {"First", "Last"},
     "Today:",
     "The settings file was damaged. Settings that could not be read are back at their defaults. The "
     "damaged file was kept as:\n%1",
     {"Fill in the day.", "Fill in the month.", "Fill in the year."},
     "Whole numbers only.",
     "The settings could not be saved.",
     "Latest news ",
     {
         "w : weeknumber",
         "ww : weeknumber (always 2 digits)",
         "d : daynumber",
         "dd : daynumber (always 2 digits)",
         "ddd : abbreviation day",
         "dddd : day",
         "m : monthnumber",
         "mm : monthnumber (always 2 digits)",
         "mmm : abbreviation month",
         "mmmm : month",
         "yy : year (always 2 digits)",
         "yyyy : year (always 4 digits)",
         "ddddd : Windows setting short date format",
         "dddddd : Windows setting long date format",
     }},
};

} // namespace

std::span<const TLanguageRow> LanguageRows()
{
    return Rows;
}

const TLanguageTexts &LanguageTexts(TLanguage language)
{
    return Texts[language];
}

const TMonthViewAccessibleTexts &MonthViewAccessibleTexts(TLanguage language)
{
    static constexpr TMonthViewAccessibleTexts texts[2] = {
        {"week", "vandaag", "andere maand", "Vorige maanden", "Volgende maanden"},
        {"week", "today", "other month", "Previous months", "Next months"},
    };
    return texts[language];
}
