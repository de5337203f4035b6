#pragma once
#include "date/DateCore.h"

#include <QDialog>

class TMonthCalendar;

// Placeholder until the dialog is built: a hidden dialog with its caption.
class TForm_Opties : public QDialog {
    Q_OBJECT
public:
    explicit TForm_Opties(QWidget *parent = nullptr);

};
