#include "components/core/data_directory.h"
#include "components/core/database.h"
#include "components/core/schema.h"
#include "converter/converter_window.h"
#include "platform/application.h"
#include "platform/error_guard.h"

#include <QApplication>
#include <memory>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("データ変換"));
    setUpJapaneseApplication(app);
    // The database Dremlot shares, created with its tables when missing.
    std::unique_ptr<Database> db;
    try {
        db = openSharedDatabase(Database::cardataPath(currentDataDirectory()));
    } catch (const std::exception& e) {
        showErrorBox(QString::fromUtf8(e.what()));
        return 1;
    }
    TConvertForm form;
    form.show();
    return app.exec();
}
