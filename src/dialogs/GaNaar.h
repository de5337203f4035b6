#pragma once
#include "date/DateCore.h"

#include <QDialog>

class TMonthCalendar;

// Placeholder until the dialog is built: a hidden dialog with its caption.
class TForm_GaNaar : public QDialog {
    Q_OBJECT
public:
    TForm_GaNaar(TMonthCalendar *monthView, QWidget *parent = nullptr);
    TDateTime CurrentDate = 0;
};
