#include "dialogs/About.h"

TAboutBox::TAboutBox(QWidget *parent) : QDialog(parent)
{
    setObjectName("AboutBox");
    setWindowTitle("Info");
}
