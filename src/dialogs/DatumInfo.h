#pragma once
// The date information sheet: facts about the selected date (year, month, ISO week, day, serial
// number) and the number of days between it and a second date picked on the sheet.

#include "dialogs/LanguageTables.h"
#include "dialogs/ToolDialog.h"

class QCheckBox;
class QDateEdit;
class QGridLayout;
class QGroupBox;
class QLabel;
class QVBoxLayout;
class TkxAnnouncer;
class TkxBitBtn;

class TForm_DatumInfo : public TToolDialog {
    Q_OBJECT
public:
    explicit TForm_DatumInfo(const TSettingsModel &settings, QWidget *parent = nullptr);

    // The texts of the language that no language row carries: "Days since" and day 0.
    void ApplyLanguageTexts(TLanguage language);

    // The month view's selected date, handed over just before the sheet is shown.
    TDateTime CurrentDate = 0;

    QLabel *PanelDate;
    QGroupBox *GroupBoxYear;
    QLabel *LabelJaar;
    QLabel *ntLabelYear;
    QCheckBox *CheckBoxLeapYear;
    QLabel *LabelDaysInYear;
    QLabel *ntLabelDaysInYear;
    QGroupBox *GroupBoxMonth;
    QLabel *LabelMonth;
    QLabel *ntLabelMonthNo;
    QLabel *ntLabelMonthname;
    QLabel *LabelDaysInMonth;
    QLabel *ntLabelDaysInMonth;
    QGroupBox *GroupBoxWeek;
    QLabel *LabelISOWeekNo;
    QLabel *ntLabelWeekNo;
    QGroupBox *GroupBoxDay;
    QLabel *LabelDay;
    QLabel *ntLabelDay;
    QLabel *LabelDayInWeek;
    QLabel *ntLabelDayNo;
    QLabel *ntLabelDayName;
    QLabel *LabelDayNoInYear;
    QLabel *ntLabelDayNoYear;
    QLabel *LabelDayInMonth;
    QGroupBox *GroupBoxDateAsFloat;
    QLabel *LabelDaysSinceNull;
    QLabel *LabelDaysSince;
    QGroupBox *GroupBoxDaysBetween;
    QDateEdit *DateTimePickerUntil;
    QLabel *LabelCount;
    TkxAnnouncer *CountAnnouncer; // speaks the count to screen readers as the second date changes
    TkxBitBtn *BitBtn_OK;

public slots:
    void FormShow() override;
    void BitBtn_OKClick();
    // The leap-year box only shows: a click puts it back.
    void CheckBoxLeapYearClick();
    // Counts the days between the picked date and the shown one.
    void DateTimePickerUntilChange();

private:
    void CreateControls();
    QGridLayout *NewGroup(QVBoxLayout *column, QGroupBox *&group, const char *name, const char *title);
    QLabel *NewCaption(QWidget *parent, const char *name, const char *text);
    QLabel *NewValue(QWidget *parent, const char *name);
    void AlignColumns();

    const TSettingsModel &FSettings; // the month view's title colours
    QList<QGridLayout *> FGrids; // the groups whose captions and values share two columns
};
