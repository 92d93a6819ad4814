#include "converter/converter_window.h"

TConvertForm::TConvertForm(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("ConvertForm"));
    setWindowTitle(QStringLiteral("データ変換"));
    resize(640, 480);
}
