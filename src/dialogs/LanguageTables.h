#pragma once
// The interface texts in Dutch and English. Every row names a window, a control (by object
// name; empty for the window itself) and the property that carries the text, so one loop sets
// them all and a test can walk the same rows against what the windows show.

#include "settings/SettingsModel.h"
#include "text/Language.h"

#include <span>

class QObject;
class QString;
class QWidget;

enum class TTextTarget {
    Text,    // "text" of a label, button or action
    Hint,    // "toolTip"
    Caption, // "windowTitle" of a window
    Title,   // "title" of a group box or menu
    Tab,     // the tab text of a page in its tab widget
    Name,    // "accessibleName", what assistive technology calls a control without a caption of its own
};

struct TLanguageRow {
    const char *Window; // object name of the top-level window
    const char *Control;
    TTextTarget Target;
    const char *Texts[2]; // Dutch, English
};

// Object names of the program's windows.
namespace WindowNames {
inline constexpr const char *Main = "Form_Orvani";
inline constexpr const char *GaNaar = "Form_GaNaar";
inline constexpr const char *Opties = "Form_Opties";
inline constexpr const char *About = "AboutBox";
inline constexpr const char *DatumInfo = "Form_DatumInfo";
} // namespace WindowNames

// All rows, in the order in which they are applied.
std::span<const TLanguageRow> LanguageRows();

// Texts set outside the rows.
struct TLanguageTexts {
    const char *TrayHint;
    const char *RadioSystemTray[2];
    const char *RadioStartup[2];
    const char *RadioMonthPosition[2];
    const char *TodayLabel;         // before the date on the month view's today line
    const char *SettingsDamaged;    // at start after a damaged settings file; %1: where it was kept
    const char *DatePartMissing[3]; // a half-typed date field: its day, month or year is missing
    const char *WholeNumbersOnly;   // a number field refuses a decimal separator or a letter
    const char *SaveFailed;         // Options OK when the settings could not be stored
    const char *NewsTitle;          // the news window's title, before the publisher and home page
    const char *DateTags[14];       // Options' help on the date tags, one line each
};
const TLanguageTexts &LanguageTexts(TLanguage language);

// What assistive technology hears of the month view beyond its name and the dates.
struct TMonthViewAccessibleTexts {
    const char *Week;       // before a week number
    const char *Today;      // after today's date
    const char *OtherMonth; // describes a day of a neighbouring month
    const char *Previous;   // the arrows
    const char *Next;
};
const TMonthViewAccessibleTexts &MonthViewAccessibleTexts(TLanguage language);

// Puts a text where a row's target shows it on the control.
void SetRowText(QObject *control, TTextTarget target, const QString &text);

// Sets the rows of one window, found by its object name; a control it lacks is skipped.
void ApplyWindowRows(QWidget *window, TLanguage language);
