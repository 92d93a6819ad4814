#include "components/core/data_directory.h"
#include "components/core/database.h"
#include "components/core/schema.h"
#include "platform/application.h"
#include "platform/error_guard.h"
#include "platform/single_instance.h"
#include "record_book/forms.h"
#include "record_book/main_window.h"

#include <QApplication>
#include <csignal>
#include <cstdio>
#include <memory>

int main(int argc, char* argv[])
{
    // A write past the file-size limit fails with its error, which is then
    // shown, instead of ending the program without a word.
    std::signal(SIGXFSZ, SIG_IGN);
    SingleInstance mutex(QStringLiteral("EX_Dremlot"));
    if (!mutex.tryAcquire()) {
        // Another copy is running: no window, one line for a terminal.
        std::fputs("Dremlot: 既に起動しています。このコピーは終了します。\n", stderr);
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sorvani For Win32"));
    setUpJapaneseApplication(app);
    // The application's help file keeps its name; the help menu opens our page.
    app.setProperty("HelpFile", QStringLiteral("C:\\Quenfold\\Sorvani\\DREMLOT.HLP"));

    std::unique_ptr<Database> db;
    std::unique_ptr<DremlotForms> forms;
    try {
        db = openSharedDatabase(Database::cardataPath(currentDataDirectory()));
        forms = std::make_unique<DremlotForms>(*db);
    } catch (const std::exception& e) {
        // A database or settings file that cannot be read ends the start with its message.
        showErrorBox(QString::fromUtf8(e.what()));
        return 1;
    }
    forms->carData().show();
    const int status = app.exec();
    forms.reset();  // before the database closes
    return status;
}
