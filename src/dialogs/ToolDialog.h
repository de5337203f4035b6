#pragma once
// What the program's small modal tool windows share: the tool-window frame; a client size that is
// the reference size at 96 dpi (scaled to the screen's dpi), or more where the present texts and
// fonts need it, never more than the screen holds; the frame centred on the screen at every
// showing; date pickers in the user's short date format; the OK button.

#include "date/DateCore.h"
#include "date/FormatSettings.h"
#include "dialogs/DatumInfoFacts.h"

#include <QDate>
#include <QDialog>
#include <QMargins>
#include <QMoveEvent>
#include <QScrollArea>
#include <cstdint>

class QDateEdit;
class TkxBitBtn;

class TToolDialog : public QDialog {
    Q_OBJECT
public:
    TToolDialog(const QString &name, QSize referenceSize, QWidget *parent);

    // Showing runs FormShow and sizes and places the window before it reaches the screen.
    void setVisible(bool visible) override;

    // The interface language, handed over with the window's texts (Dutch until then).
    void SetLanguage(TLanguage language) { FLanguage = language; }
    TLanguage Language() const { return FLanguage; }

public slots:
    // Refills the window from the data handed over before showing; runs at every showing.
    virtual void FormShow() = 0;

protected:
    void moveEvent(QMoveEvent *event) override;
    // Reference lengths are pixels at 96 dpi.
    int Scaled(int pixels) const;
    // A default OK button with the program's glyph, at least the reference width.
    TkxBitBtn *NewOkButton();
    // Sizes the window to its content and the screen again and centres its frame.
    void FitAndCentre();

private:
    void Centre();
    QRect AvailableArea() const;
    QMargins KnownFrameMargins() const;

    QSize FReferenceSize;
    qreal FScale;
    TLanguage FLanguage = lnDutch;
    // The frame around the window as last seen; none before the window manager has framed it.
    QMargins FFrameMargins;
    QPoint FCentredAt; // where the frame was put
    int FPlacingLeft = 0; // corrections left while the shown window is not yet where it was put
};

// Holds content that may be larger than the screen: it asks for the content's whole size and
// scrolls only where the window could not be given that much.
class TFitScrollArea : public QScrollArea {
    Q_OBJECT
public:
    explicit TFitScrollArea(QWidget *content, QWidget *parent = nullptr);
    QSize sizeHint() const override;
};

QDate ToQDate(TDateTime date);
TDateTime FromQDate(QDate date); // EConvertError for an invalid date
// The date in the user's short date format.
QString ShortDate(TDateTime date);

// The user's short date format as a date editor's display format, always with four-digit years;
// a format without day, month and year numbers gives dd-MM-yyyy.
QString PickerDisplayFormat(const TFormatSettings &settings);
// A date editor for 1 January 1 .. 31 December 9999.
QDateEdit *NewDatePicker(const char *name, bool calendarPopup, QWidget *parent);
// Takes the date typed into a picker, its parts with or without leading zeros. Where a part is
// missing it says which at the field and returns false, the text left as typed.
bool TakeTypedDate(QDateEdit *picker);
// Shows the picker's date in the program's short date format (ProgramFormatSettings()).
void UpdatePickerFormat(QDateEdit *picker);
