#pragma once
#include "date/DateCore.h"

#include <QDialog>

class TMonthCalendar;

// Placeholder until the dialog is built: a hidden dialog with its caption.
class TForm_DatumInfo : public QDialog {
    Q_OBJECT
public:
    explicit TForm_DatumInfo(QWidget *parent = nullptr);
    TDateTime CurrentDate = 0;
};
