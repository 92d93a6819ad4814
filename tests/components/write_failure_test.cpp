// A write that fails says why, naming the file, and leaves the older file
// as it was: settings files, backup files and the book.
#include "components/core/database.h"
#include "components/core/file_write.h"
#include "components/formats/backup_format.h"
#include "components/formats/settings_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <sys/resource.h>

namespace {

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

template <class Write>
QString failureOf(Write write)
{
    try {
        write();
    } catch (const FileError& e) {
        return e.message();
    } catch (const DbError& e) {
        return e.message();
    }
    return {};
}

void insertBlob(Database& db, std::size_t size)
{
    Statement s = db.prepare("INSERT INTO t VALUES (?1)");
    s.bindBlob(1, std::string(size, 'y'));
    s.step();
}

void writeBackup(const QString& path, const std::string& bytes)
{
    backup::BackupFileWriter file(path);
    file.buffer() = bytes;
    file.commit();
}

// True when `message` names `file` first and gives `reason`; else prints it.
bool saysWhy(const QString& message, const QString& file, const char* reason)
{
    const bool ok = message.startsWith(file + QStringLiteral(" に書き込めません。\r")) &&
                    message.contains(QString::fromUtf8(reason));
    if (!ok)
        std::fprintf(stderr, "%s\n", message.toUtf8().constData());
    return ok;
}

// Each reason in the user's words, whether the disk took part of the bytes
// or none; the file of the name keeps its bytes and no temporary file stays.
// The engine's "database or disk is full" names the book and says so.
TEST(WriteFailure, SettingsAndBackupFilesAndTheBookSayWhyTheyCannotBeWritten)
{
    const struct {
        int error;
        const char* reason;
    } cases[] = {
        {ENOSPC, "ディスクに空きがありません。"},
        {EDQUOT, "ディスクの使用量が上限（クォータ）に達しました。"},
        {EFBIG, "ファイルが大きすぎます。"},
        {EACCES, "書き込みの権限がありません。"},
        {EIO, "Input/output error"},
    };
    QTemporaryDir dir;
    const QString settings = dir.filePath(QStringLiteral("Expense.txt"));
    const QString backup = dir.filePath(QStringLiteral("BACKUP.CSV"));
    const LineListFile lines({std::string(300, 'a'), std::string(300, 'b')});
    LineListFile({"old"}).write(settings);
    LineListFile({"old"}).write(backup);
    for (const auto& c : cases) {
        for (std::size_t allowed : {std::size_t(0), std::size_t(100)}) {
            SCOPED_TRACE(testing::Message() << c.reason << " after " << allowed);
            FailingWrites failing(c.error, allowed);
            EXPECT_TRUE(saysWhy(failureOf([&] { lines.write(settings); }), settings, c.reason));
            EXPECT_EQ(failureOf([&] { writeBackup(backup, lines.toBytes()); }), writeFailureMessage(backup, c.error));
        }
    }
    EXPECT_EQ(bytesOf(settings), "old\r\n");
    EXPECT_EQ(bytesOf(backup), "old\r\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);

    const QString book = dir.filePath(QStringLiteral("CARDATA.sqlite3"));
    Database db(book);
    db.exec("CREATE TABLE t (v BLOB)");
    db.exec("PRAGMA max_page_count = 8");
    EXPECT_EQ(failureOf([&] { insertBlob(db, 100000); }), writeFailureMessage(book, ENOSPC));
}

// Writes a settings file, a backup and a row of the book past `limit`
// bytes under that file-size limit, with SIGXFSZ ignored as both programs
// ignore it. True when each says its file is too large.
bool eachWritePastTheLimitSaysTooLarge(const QDir& dir, Database& db, rlim_t limit)
{
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit r{limit, limit};
    setrlimit(RLIMIT_FSIZE, &r);
    const LineListFile big({std::string(limit + 1, 'x')});
    const QString settings = dir.filePath(QStringLiteral("Print.INI"));
    const QString backup = dir.filePath(QStringLiteral("BACKUP.CSV"));
    const char* tooLarge = "ファイルが大きすぎます。";
    bool ok = saysWhy(failureOf([&] { big.write(settings); }), settings, tooLarge);
    ok &= saysWhy(failureOf([&] { writeBackup(backup, big.toBytes()); }), backup, tooLarge);
    ok &= saysWhy(failureOf([&] { insertBlob(db, limit); }), db.path(), tooLarge);
    return ok;
}

// Under a real file-size limit, in a child process.
TEST(WriteFailure, AFileSizeLimitIsReportedAsAFileTooLarge)
{
    QTemporaryDir dir;
    const QString book = dir.filePath(QStringLiteral("CARDATA.sqlite3"));
    Database db(book);
    db.exec("CREATE TABLE t (v BLOB)");
    const rlim_t limit = rlim_t(QFileInfo(book).size()) + 8192;
    EXPECT_EXIT(std::exit(eachWritePastTheLimitSaysTooLarge(QDir(dir.path()), db, limit) ? 0 : 1),
                testing::ExitedWithCode(0), "");
}

}  // namespace
