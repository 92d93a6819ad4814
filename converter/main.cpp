#include "components/core/data_directory.h"
#include "components/core/database.h"
#include "components/core/schema.h"
#include "converter/brindel_form.h"
#include "platform/application.h"
#include "platform/error_guard.h"

#include <QApplication>
#include <csignal>
#include <memory>

// Brindel keeps no single-copy lock: it may run beside Dremlot, and the
// two share the book of the directory they are started in.
int main(int argc, char* argv[])
{
    // A write past the file-size limit fails with its error, which is then
    // shown, instead of ending the program without a word.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("データ変換"));
    setUpJapaneseApplication(app);
    std::unique_ptr<Database> db;
    std::unique_ptr<TBrindelForm> form;
    try {
        db = openSharedDatabase(Database::cardataPath(currentDataDirectory()));
        form = std::make_unique<TBrindelForm>(*db);
    } catch (const std::exception& e) {
        // A database or settings file that cannot be read ends the start with its message.
        showErrorBox(QString::fromUtf8(e.what()));
        return 1;
    }
    form->show();
    const int status = app.exec();
    form.reset();  // before the database closes
    return status;
}
