#include "dialogs/DatumInfo.h"

TForm_DatumInfo::TForm_DatumInfo(QWidget *parent) : QDialog(parent)
{
    setObjectName("Form_DatumInfo");
    setWindowTitle("Datum info");
}
