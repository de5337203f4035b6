#pragma once
// What the program's small modal tool windows share: the tool-window frame; a client size that is
// the reference size at 96 dpi (scaled to the screen's dpi), or more where the present texts and
// fonts need it; centring on the screen at every showing; date pickers in the user's short date
// format; the OK button.

#include "date/DateCore.h"
#include "date/FormatSettings.h"

#include <QDate>
#include <QDialog>
#include <cstdint>

class QDateEdit;
class TkxBitBtn;

class TToolDialog : public QDialog {
    Q_OBJECT
public:
    TToolDialog(const QString &name, QSize referenceSize, QWidget *parent);

public slots:
    // Refills the window from the data handed over before showing; runs at every showing.
    virtual void FormShow() = 0;

protected:
    void showEvent(QShowEvent *event) override;
    // Reference lengths are pixels at 96 dpi.
    int Scaled(int pixels) const;
    // A default OK button with the program's glyph, at least the reference width.
    TkxBitBtn *NewOkButton();

private:
    void FitAndCentre();

    QSize mReferenceSize;
};

QDate ToQDate(TDateTime date);
TDateTime FromQDate(QDate date); // EConvertError for an invalid date
// The integral part of a serial; NaN counts as 0 and serials beyond the supported range as its ends.
std::int64_t WholeDayNumber(TDateTime date);
// The date in the user's short date format.
QString ShortDate(TDateTime date);

// The user's short date format as a date editor's display format, always with four-digit years;
// a format without day, month and year numbers gives dd-MM-yyyy.
QString PickerDisplayFormat(const TFormatSettings &settings);
// A date editor for 1 January 1 .. 31 December 9999.
QDateEdit *NewDatePicker(const char *name, bool calendarPopup, QWidget *parent);
// Shows the picker's date in the program's short date format (ProgramFormatSettings()).
void UpdatePickerFormat(QDateEdit *picker);
