#include "dialogs/Opties.h"

TForm_Opties::TForm_Opties(QWidget *parent) : QDialog(parent)
{
    setObjectName("Form_Opties");
    setWindowTitle("Opties");
}
