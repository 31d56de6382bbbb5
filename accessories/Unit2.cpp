#include "accessories/Unit2.h"

TForm2::TForm2(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Form2"));
    // The program ends with the main window, whatever this one is doing.
    setAttribute(Qt::WA_QuitOnClose, false);
}
