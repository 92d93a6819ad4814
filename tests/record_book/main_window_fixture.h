// The main window's tests share one fixture: a data directory with its own
// database, made the current directory while the test runs, a registry of
// its own, and the main window with its dialogs created in it on demand.
#pragma once

#include "components/core/cp932.h"
#include "components/core/database.h"
#include "components/core/schema.h"
#include "components/widgets/find_control.h"
#include "components/widgets/panel.h"
#include "components/formats/settings_file.h"
#include "components/core/table.h"
#include "platform/keyboard_locks.h"
#include "platform/modal.h"
#include "platform/registry.h"
#include "record_book/date_dialog.h"
#include "record_book/forms.h"
#include "record_book/main_window.h"
#include "tests/record_book/seed_records.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

class MainWindowFixture : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QTemporaryDir config;
    QString previousDir;
    std::unique_ptr<RegistryFolderOverride> registry;
    std::unique_ptr<Database> db;
    std::unique_ptr<DremlotForms> forms;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(config.isValid());
        previousDir = QDir::currentPath();
        QDir::setCurrent(dir.path());
        registry = std::make_unique<RegistryFolderOverride>(config.path());
        QApplication::setQuitOnLastWindowClosed(false);
        db = openSharedDatabase(dir.filePath("CARDATA.sqlite3"));
    }

    void TearDown() override
    {
        close();
        db.reset();
        setCapsLock(false);
        QDir::setCurrent(previousDir);
    }

    // The main window and its dialogs in their start-up order. A window
    // still open is closed first, so that its end does not reset the
    // dialog pointers of the new one.
    TCarDataForm& create()
    {
        close();
        forms = std::make_unique<DremlotForms>(*db);
        return forms->carData();
    }

    void close() { forms.reset(); }

    void restart()
    {
        close();
        create();
    }

    // The main window, or null while it is not created.
    TCarDataForm* form() const { return forms ? &forms->carData() : nullptr; }

    // Shows the window without the one-shot start-up prompts, which the
    // tests run themselves.
    void showQuietly()
    {
        form()->show();
        w<QTimer>("Timer1")->stop();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form()));
    }

    // Records put straight into a table, past the window's hooks.
    void seed(const char* table, const std::vector<Fields>& records) { seedTable(*db, table, records); }
    void seed(const std::vector<Fields>& records) { seed("INDATA", records); }

    // A settings file of the data directory, its lines given in UTF-8.
    void writeSettings(const char* name, const std::vector<std::string>& utf8Lines)
    {
        std::vector<SjisString> lines;
        for (const std::string& l : utf8Lines)
            lines.push_back(sj(l));
        LineListFile(lines).write(dir.filePath(QString::fromLatin1(name)));
    }

    // Lines as a settings file holds them, each ended by CR LF.
    static QByteArray crlf(const std::vector<SjisString>& lines)
    {
        QByteArray b;
        for (const SjisString& l : lines)
            b += QByteArray::fromStdString(l) + "\r\n";
        return b;
    }

    QByteArray fileBytes(const char* name)
    {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    template <class T = QWidget> T* w(const char* name) { return findControl<T>(form(), name); }
    QAction* action(const char* name) { return w<QAction>(name); }
    QString caption(const char* panel) { return w<Panel>(panel)->caption(); }
    std::string field(const char* name) { return sjis::toUtf8(form()->Table1->FieldByName(name).AsString()); }

    // The items of a combo box or a list box.
    QStringList items(const char* box)
    {
        QStringList l;
        if (auto* combo = form()->findChild<QComboBox*>(QString::fromLatin1(box)))
            for (int i = 0; i < combo->count(); ++i)
                l << combo->itemText(i);
        else if (auto* list = form()->findChild<QListWidget*>(QString::fromLatin1(box)))
            for (int i = 0; i < list->count(); ++i)
                l << list->item(i)->text();
        return l;
    }

    // A date dialog answer: the user picks `date`.
    static ScriptedDialogs::Answer picking(QDate date)
    {
        return [date](QDialog& d) {
            auto& dialog = static_cast<TDateSDlg&>(d);
            dialog.setCalendarDate(date.year(), date.month(), date.day());
            dialog.Calendar1Click();
            dialog.Calendar1Click();
            return int(QDialog::Rejected);
        };
    }
};
