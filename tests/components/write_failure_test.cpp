// A write that fails says why, naming the file, and leaves the older file
// as it was: settings files, backup files and the book.
#include "components/core/database.h"
#include "components/core/file_write.h"
#include "components/formats/backup_format.h"
#include "components/formats/settings_file.h"

#include <QTemporaryDir>
#include <cerrno>
#include <csignal>
#include <gmock/gmock.h>
#include <sys/resource.h>

namespace {

// Thrown by a write that names `file` first and says `reason`.
auto saysWhy(const QString& file, const char* reason)
{
    using namespace testing;
    const std::string start = (file + QStringLiteral(" に書き込めません。\r")).toStdString();
    return ThrowsMessage<std::runtime_error>(AllOf(StartsWith(start), HasSubstr(reason)));
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
        EXPECT_THAT([&] { LineListFile({"new"}).write(settings); }, saysWhy(settings, reason));
    }
    EXPECT_EQ(backup::readBackupFile(settings), "old\r\n");

    const QString csv = dir.filePath(QStringLiteral("BACKUP.CSV"));
    Database book(dir.filePath(QStringLiteral("CARDATA.sqlite3")));
    book.exec("CREATE TABLE t (v BLOB)");
    const auto insert = [&](rlim_t n) { book.exec("INSERT INTO t VALUES (zeroblob(" + std::to_string(n) + "))"); };
    const rlim_t limit = 1 << 16;
    const std::string big(limit + 1, 'x');
    const char* tooLarge = "ファイルが大きすぎます。";
    const auto writePastTheLimit = [&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit r{limit, limit};
        setrlimit(RLIMIT_FSIZE, &r);
        EXPECT_THAT([&] { LineListFile({big}).write(settings); }, saysWhy(settings, tooLarge));
        EXPECT_THAT([&] { backup::BackupFileWriter f(csv); f.buffer() = big; f.commit(); }, saysWhy(csv, tooLarge));
        EXPECT_THAT([&] { insert(limit); }, saysWhy(book.path(), tooLarge));
        std::exit(testing::Test::HasFailure());
    };
    EXPECT_EXIT(writePastTheLimit(), testing::ExitedWithCode(0), "");
    book.exec("PRAGMA max_page_count = 8");
    EXPECT_THAT([&] { insert(100000); }, saysWhy(book.path(), "ディスクに空きがありません。"));
}

}  // namespace
