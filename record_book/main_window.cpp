#include "record_book/main_window.h"

TCarDataForm::TCarDataForm(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("CarDataForm"));
    setWindowTitle(QStringLiteral("Sorvani For Win32"));
    resize(800, 600);
}
