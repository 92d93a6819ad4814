#include "converter/converter_window.h"
#include "platform/application.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    setUpJapaneseApplication(app);
    TConvertForm form;
    form.show();
    return app.exec();
}
