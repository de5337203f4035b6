#pragma once
// The Go-to dialog: moves the month view to today, to an offset in years, months and days from
// the selected date, to a picked date, to Easter Sunday of a year, or to a date serial typed as a
// number. The chosen mode and the offsets stay from one showing to the next.

#include "dialogs/ToolDialog.h"

class QDateEdit;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QToolButton;
class TMonthCalendar;
class TkxBitBtn;

class TForm_GaNaar : public TToolDialog {
    Q_OBJECT
public:
    TForm_GaNaar(TMonthCalendar *monthView, QWidget *parent = nullptr);

    // The month view's selected date, handed over just before the dialog is shown.
    TDateTime CurrentDate = 0;

    QGroupBox *GroupBox1;
    QRadioButton *RadioButton_Vandaag;
    QRadioButton *RadioButton_Jaren;
    QSpinBox *SpinEdit_Jaren;
    QLabel *Label_Maanden;
    QSpinBox *SpinEdit_Maanden;
    QLabel *Label_Dagen;
    QSpinBox *SpinEdit_Dagen;
    QRadioButton *RadioButton_Datum;
    QDateEdit *DateTimePicker1;
    QRadioButton *RadioButtonEasterSunday;
    QSpinBox *SpinEditEaster;
    QRadioButton *RadioButtonDateAsFloat;
    QLineEdit *EditDateSince;
    QToolButton *SpeedButtonConvert;
    QLabel *LabelDateSince;
    QLabel *LabelOutOfRange; // shown when a jump would leave the calendar's range
    TkxBitBtn *BitBtn_OK;

public slots:
    void FormShow() override;
    // Carries out the chosen jump and closes the dialog.
    void BitBtn_OKClick();
    // Shows which date the number field stands for.
    void SpeedButtonConvertClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void CreateControls();
    void FitNumberRow();
    void ShowOutOfRange();
    void SpinEdit_JarenEnter();
    void DateTimePicker1Enter();
    void SpinEditEasterEnter();
    void EditDateSinceEnter();
    bool SpinEdit_MaandenKeyDown(QKeyEvent *event);
    TDateTime ChosenDate() const;
    TDateTime NumberModeDate() const;
    double DateSinceValue() const;

    TMonthCalendar *FMonthView;
};
