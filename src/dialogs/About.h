#pragma once
#include "date/DateCore.h"

#include <QDialog>

class TMonthCalendar;

// Placeholder until the dialog is built: a hidden dialog with its caption.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget *parent = nullptr);

};
