// A write that fails says why, naming the file, and leaves the older file
// as it was: settings files, backup files and the book.
#include "components/core/database.h"
#include "components/core/file_write.h"
#include "components/formats/backup_format.h"
#include "components/formats/settings_file.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <sys/resource.h>

namespace {

template <class Write>
void expectSaysWhy(Write write, const QString& file, const char* reason)
{
    QString message;
    try {
        write();
    } catch (const std::runtime_error& e) {
        message = QString::fromUtf8(e.what());
    }
    EXPECT_TRUE(message.startsWith(file + QStringLiteral(" に書き込めません。\r")) &&
                message.contains(QString::fromUtf8(reason)))
        << message.toStdString();
}

// Each reason in the user's words, and the older file keeps its bytes.
// Then past a real file-size limit (the disk takes part of the bytes), in a
// child process with SIGXFSZ ignored as both programs ignore it, each
// writer says its file is too large; and a book the engine finds full.
TEST(WriteFailure, EachWriterSaysWhyItCannotWrite)
{
    const std::pair<int, const char*> reasons[] = {
        {ENOSPC, "ディスクに空きがありません。"}, {EDQUOT, "クォータ"}, {EFBIG, "ファイルが大きすぎます。"},
        {EACCES, "書き込みの権限がありません。"}, {EROFS, "読み込み専用"}, {EIO, "Input/output error"},
    };
    QTemporaryDir dir;
    const QString settings = dir.filePath(QStringLiteral("Print.INI"));
    LineListFile({"old"}).write(settings);
    for (const auto& [error, reason] : reasons) {
        const FailingWrites failing(error);
        expectSaysWhy([&] { LineListFile({"new"}).write(settings); }, settings, reason);
    }
    EXPECT_EQ(backup::readBackupFile(settings), "old\r\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Print.INI")});

    const QString backup = dir.filePath(QStringLiteral("BACKUP.CSV"));
    Database book(dir.filePath(QStringLiteral("CARDATA.sqlite3")));
    book.exec("CREATE TABLE t (v BLOB)");
    const auto insert = [&](rlim_t size) { book.exec("INSERT INTO t VALUES (zeroblob(" + std::to_string(size) + "))"); };
    const rlim_t limit = rlim_t(QFileInfo(book.path()).size()) + 8192;
    const std::string big(limit + 1, 'x');
    const auto writePastTheLimit = [&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit r{limit, limit};
        setrlimit(RLIMIT_FSIZE, &r);
        expectSaysWhy([&] { LineListFile({big}).write(settings); }, settings, "ファイルが大きすぎます。");
        backup::BackupFileWriter file(backup);
        file.buffer() = big;
        expectSaysWhy([&] { file.commit(); }, backup, "ファイルが大きすぎます。");
        expectSaysWhy([&] { insert(limit); }, book.path(), "ファイルが大きすぎます。");
        std::exit(testing::Test::HasFailure());
    };
    EXPECT_EXIT(writePastTheLimit(), testing::ExitedWithCode(0), "");
    book.exec("PRAGMA max_page_count = 8");
    expectSaysWhy([&] { insert(100000); }, book.path(), "ディスクに空きがありません。");
}

}  // namespace
