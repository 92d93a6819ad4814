#include "components/data_directory.h"
#include "components/database.h"
#include "platform/application.h"
#include "platform/message_box.h"
#include "platform/single_instance.h"
#include "record_book/forms.h"
#include "record_book/main_window.h"

#include <QApplication>
#include <memory>

int main(int argc, char* argv[])
{
    SingleInstance mutex(QStringLiteral("EX_Dremlot"));
    if (!mutex.tryAcquire())
        return 0;  // another copy is running: end without a word
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sorvani For Win32"));
    setUpJapaneseApplication(app);

    std::unique_ptr<Database> db;
    try {
        db = std::make_unique<Database>(Database::cardataPath(currentDataDirectory()));
    } catch (const std::exception& e) {
        showMessage(QString::fromUtf8(e.what()), {}, MessageIcon::Error);
        return 1;
    }
    DremlotForms forms(*db);
    forms.carData().show();
    return app.exec();
}
