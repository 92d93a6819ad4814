#include "components/db_controls.h"
#include "components/panel.h"
#include "components/record_fields.h"
#include "components/settings_file.h"
#include "platform/keyboard_locks.h"
#include "platform/message_box.h"
#include "platform/modal.h"
#include "platform/registry.h"
#include "record_book/main_window.h"
#include "record_book/small_dialogs.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

using Lines = std::vector<const char*>;

// A data directory with its own database, made the current directory while
// the test runs, and the main window created in it on demand.
class MainWindowTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QTemporaryDir config;
    QString previousDir;
    std::unique_ptr<RegistryFolderOverride> registry;
    std::unique_ptr<Database> db;
    std::unique_ptr<TCarDataForm> form;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(config.isValid());
        previousDir = QDir::currentPath();
        QDir::setCurrent(dir.path());
        registry = std::make_unique<RegistryFolderOverride>(config.path());
        QApplication::setQuitOnLastWindowClosed(false);
        db = std::make_unique<Database>(dir.filePath("CARDATA.sqlite3"));
    }

    void TearDown() override
    {
        form.reset();
        PassDlg = nullptr;
        VersionDlg = nullptr;
        db.reset();
        setCapsLock(false);
        QDir::setCurrent(previousDir);
    }

    void writeSettings(const char* name, const Lines& lines)
    {
        std::vector<SjisString> bytes;
        for (const char* l : lines)
            bytes.push_back(sj(l));
        LineListFile(bytes).write(dir.filePath(QString::fromLatin1(name)));
    }

    QByteArray fileBytes(const char* name)
    {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    // Records put straight into the table, past the window's hooks.
    void seed(const std::vector<std::vector<std::pair<const char*, const char*>>>& records)
    {
        Table t(*db, "INDATA");
        t.Open();
        for (const auto& fields : records) {
            t.Append();
            for (auto [field, value] : fields)
                t.FieldByName(field).SetAsString(sj(value));
            t.Post();
        }
    }

    // The record table as the older layout had it: the first 47 fields.
    void makeStandardRecordTable()
    {
        db->exec("DROP TABLE INDATA");
        std::string sql = "CREATE TABLE INDATA (";
        for (int no = 1; no <= kStandardFieldCount; ++no)
            sql += std::string(no > 1 ? ", " : "") + '"' + recordField(no).name + '"' +
                   (recordField(no).wholeNumber ? " INTEGER" : " BLOB NOT NULL DEFAULT x''");
        sql += ")";
        db->exec(sql);
    }

    TCarDataForm& create()
    {
        form = std::make_unique<TCarDataForm>(*db);
        VersionDlg = new TVersionDlg(form.get());
        PassDlg = new TPassDlg(form.get());
        return *form;
    }

    // Shows the window without the one-shot start-up prompts, which the
    // tests run themselves.
    void showQuietly()
    {
        form->show();
        form->findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    template <class T = QWidget> T* w(const char* name)
    {
        T* found = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_TRUE(found) << name;
        return found;
    }
    QAction* action(const char* name) { return w<QAction>(name); }
    QString caption(const char* panel) { return w<Panel>(panel)->caption(); }
    QString statusText() { return w<QStatusBar>("StatusBar1")->findChild<QLabel*>()->text(); }

    QStringList items(const char* box)
    {
        QStringList l;
        if (auto* combo = form->findChild<QComboBox*>(QString::fromLatin1(box)))
            for (int i = 0; i < combo->count(); ++i)
                l << combo->itemText(i);
        else if (auto* list = form->findChild<QListWidget*>(QString::fromLatin1(box)))
            for (int i = 0; i < list->count(); ++i)
                l << list->item(i)->text();
        return l;
    }

    std::string field(const char* name) { return sjis::toUtf8(form->Table1->FieldByName(name).AsString()); }
    void set(const char* name, const char* value) { form->Table1->FieldByName(name).SetAsString(sj(value)); }
    int tab() { return form->tabs()->currentIndex(); }
    void clickTab(const char* caption)
    {
        for (int i = 0; i < form->tabs()->count(); ++i)
            if (form->tabs()->tabText(i) == QString::fromUtf8(caption))
                form->tabs()->setCurrentIndex(i);
    }

    static QStringList utf8List(const Lines& lines)
    {
        QStringList l;
        for (const char* s : lines)
            l << QString::fromUtf8(s);
        return l;
    }

    // A password dialog answer: types the text and presses OK.
    static ScriptedDialogs::Answer typing(const char* text)
    {
        return [text](QDialog& d) {
            d.findChild<QLineEdit*>(QStringLiteral("MaskEdit1"))->setText(QString::fromUtf8(text));
            return int(QDialog::Accepted);
        };
    }
};
