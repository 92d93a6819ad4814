#include "platform/application.h"
#include "record_book/main_window.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sorvani For Win32"));
    setUpJapaneseApplication(app);
    TCarDataForm form;
    form.show();
    return app.exec();
}
