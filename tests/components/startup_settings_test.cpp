#include "components/formats/settings_file.h"
#include "components/formats/startup_settings.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

namespace {

// One start-up settings file: the bytes its writers give for a value, and
// whether its reader gives that value back or, with no file, the default.
struct SettingsCase {
    const char* file;
    QByteArray bytes;
    std::function<void(QIODevice&)> writeToDevice;
    std::function<void(const QString&)> writeToDir;
    std::function<bool(const QString&)> readsWritten;
    std::function<bool(const QString&)> readsDefault;
};

const BackupName kBackupName{"BK", ".sav"};

const SettingsCase kCases[] = {
    {"DataBase.INI", "2\r\n", [](QIODevice& d) { writeRecordLayoutMode(d, 2); },
     [](const QString& d) { writeRecordLayoutMode(d, 2); }, [](const QString& d) { return readRecordLayoutMode(d) == 2; },
     [](const QString& d) { return readRecordLayoutMode(d) == 0; }},
    {"CarSearch.INI", "1\r\n", [](QIODevice& d) { writeDesignationOnlySearch(d, 1); },
     [](const QString& d) { writeDesignationOnlySearch(d, 1); },
     [](const QString& d) { return readDesignationOnlySearch(d) == 1; },
     [](const QString& d) { return readDesignationOnlySearch(d) == 0; }},
    {"CarSave.INI", "BK\r\n.sav\r\n", [](QIODevice& d) { writeBackupName(d, kBackupName); },
     [](const QString& d) { writeBackupName(d, kBackupName); },
     [](const QString& d) { return readBackupName(d) == kBackupName; },
     [](const QString& d) { return readBackupName(d) == BackupName(); }},
    {"Pass.INI", QByteArray::fromStdString(sj("秘密") + "\r\n"), [](QIODevice& d) { writeStartupPassword(d, sj("秘密")); },
     [](const QString& d) { writeStartupPassword(d, sj("秘密")); },
     [](const QString& d) { return readStartupPassword(d) == sj("秘密"); },
     [](const QString& d) { return readStartupPassword(d).empty(); }},
    {"INIDIR.INI", QByteArray::fromStdString("C:\\Backup\\" + sj("控え") + "\r\n"),
     [](QIODevice& d) { writeRestoreInitialFolder(d, QStringLiteral("C:/Backup/控え")); },
     [](const QString& d) { writeRestoreInitialFolder(d, QStringLiteral("C:/Backup/控え")); },
     [](const QString& d) { return readRestoreInitialFolder(d) == QStringLiteral("C:/Backup/控え"); },
     [](const QString& d) { return readRestoreInitialFolder(d).isEmpty(); }},
};

TEST(StartupSettings, EachFileWritesItsLinesAndReadsThemBackOrItsDefault)
{
    for (const SettingsCase& c : kCases) {
        SCOPED_TRACE(c.file);
        QBuffer memory;
        memory.open(QIODevice::WriteOnly);
        c.writeToDevice(memory);
        EXPECT_EQ(memory.data(), c.bytes);

        QTemporaryDir dir;
        EXPECT_TRUE(c.readsDefault(dir.path()));
        c.writeToDir(dir.path());
        QFile file(QDir(dir.path()).filePath(QString::fromLatin1(c.file)));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), c.bytes);
        EXPECT_TRUE(c.readsWritten(dir.path()));
    }
}

TEST(StartupSettings, ADeviceThatRefusesTheBytesIsReported)
{
    QBuffer closed;
    EXPECT_THROW(writeStartupPassword(closed, "x"), FileError);
}

}  // namespace
