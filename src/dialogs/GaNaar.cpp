#include "dialogs/GaNaar.h"

TForm_GaNaar::TForm_GaNaar(TMonthCalendar *, QWidget *parent) : QDialog(parent)
{
    setObjectName("Form_GaNaar");
    setWindowTitle("Ga naar");
}
