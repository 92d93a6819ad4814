// Opening the shared book: a book held by another program, a book or folder
// that cannot be written, and a file that is no book are refused within
// seconds, with a message that names the file, and are left as they were.
#include "components/core/database.h"
#include "components/core/record_fields.h"
#include "components/core/schema.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void rawExec(sqlite3* db, const std::string& sql)
{
    ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sql << sqlite3_errmsg(db);
}

// A connection of "another program", without this program's open.
struct RawConnection {
    sqlite3* db = nullptr;
    explicit RawConnection(const QString& path) { sqlite3_open(path.toUtf8().constData(), &db); }
    ~RawConnection() { sqlite3_close(db); }
};

// A record table of the 47 standard fields, made by another program.
std::string standardRecordTable()
{
    std::string sql = "CREATE TABLE INDATA (";
    for (int no = 1; no <= kStandardFieldCount; ++no)
        sql += std::string(no > 1 ? ", " : "") + quoteIdentifier(recordField(no).name);
    return sql + ")";
}

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// The message of the refused open; empty when it opened.
QString refusal(const QString& path)
{
    try {
        openSharedDatabase(path);
    } catch (const DbError& e) {
        return e.message();
    }
    return {};
}

// A message names a file or folder on a line of its own.
bool names(const QString& message, const QString& path)
{
    return message.split(QLatin1Char('\r')).contains(QDir::toNativeSeparators(path));
}

// Permissions do not stop root: while this lives, the process acts as an
// ordinary user.
class OrdinaryUser {
public:
    OrdinaryUser() : root_(geteuid() == 0) { ok_ = !root_ || seteuid(65534) == 0; }
    ~OrdinaryUser()
    {
        if (root_ && ok_)
            (void)seteuid(0);
    }
    bool ok() const { return ok_; }

private:
    bool root_, ok_;
};

class OpenBookTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath("CARDATA.sqlite3");
    }
    void TearDown() override { chmod(QFile::encodeName(dir.path()).constData(), 0700); }
};

struct HolderCase {
    const char* name;
    const char* journal;  // the book's journal mode
    const char* begin;    // how the other program holds it
    bool withAllTables;
};

class BookHeldByAnotherProgram : public OpenBookTest, public ::testing::WithParamInterface<HolderCase> {};

TEST_P(BookHeldByAnotherProgram, IsRefusedWithinSecondsWithTheMessage)
{
    const HolderCase& c = GetParam();
    if (c.withAllTables)
        openSharedDatabase(path);
    RawConnection other(path);
    rawExec(other.db, std::string("PRAGMA journal_mode=") + c.journal);
    if (!c.withAllTables)
        rawExec(other.db, standardRecordTable());
    rawExec(other.db, c.begin);
    rawExec(other.db, "INSERT INTO INDATA DEFAULT VALUES");

    const auto start = std::chrono::steady_clock::now();
    const QString message = refusal(path);
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    EXPECT_LT(seconds, 15.0);
    EXPECT_TRUE(message.startsWith(QStringLiteral("データベースは他のプログラムが使用中です。"))) << message.toStdString();
    EXPECT_TRUE(names(message, path)) << message.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Holders, BookHeldByAnotherProgram,
    ::testing::Values(HolderCase{"RollbackJournalWriter", "DELETE", "BEGIN IMMEDIATE", true},
                      HolderCase{"RollbackJournalExclusive", "DELETE", "BEGIN EXCLUSIVE", true},
                      HolderCase{"WalWriterWhileTablesAreMissing", "WAL", "BEGIN IMMEDIATE", false}),
    [](const auto& info) { return std::string(info.param.name); });

struct UnwritableCase {
    const char* name;
    mode_t bookMode, folderMode;
    bool folderIsNamed;  // else the book
};

class UnwritableBook : public OpenBookTest, public ::testing::WithParamInterface<UnwritableCase> {};

TEST_P(UnwritableBook, IsRefusedNamingWhatCannotBeWritten)
{
    const UnwritableCase& c = GetParam();
    openSharedDatabase(path);
    const QByteArray before = bytesOf(path);
    chmod(QFile::encodeName(path).constData(), c.bookMode);
    chmod(QFile::encodeName(dir.path()).constData(), c.folderMode);
    QString message;
    {
        OrdinaryUser user;
        if (!user.ok())
            GTEST_SKIP() << "cannot act as an ordinary user";
        message = refusal(path);
    }
    EXPECT_TRUE(names(message, c.folderIsNamed ? dir.path() : path)) << message.toStdString();
    EXPECT_FALSE(names(message, c.folderIsNamed ? path : dir.path())) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("書き込めません"))) << message.toStdString();
    EXPECT_EQ(bytesOf(path), before);
}

INSTANTIATE_TEST_SUITE_P(Cases, UnwritableBook,
                         ::testing::Values(UnwritableCase{"ReadOnlyBook", 0444, 0777, false},
                                           UnwritableCase{"ReadOnlyFolder", 0666, 0555, true}),
                         [](const auto& info) { return std::string(info.param.name); });

struct ForeignCase {
    const char* name;
    QByteArray (*make)(const QString& path);
};

class NotABook : public OpenBookTest, public ::testing::WithParamInterface<ForeignCase> {};

TEST_P(NotABook, IsRefusedUnchangedNamingTheFile)
{
    const QByteArray before = GetParam().make(path);
    ASSERT_FALSE(before.isEmpty());
    const QString message = refusal(path);
    EXPECT_TRUE(names(message, path)) << message.toStdString();
    EXPECT_EQ(bytesOf(path), before);
    for (const char* journal : {"-wal", "-shm", "-journal"})
        EXPECT_FALSE(QFile::exists(path + journal)) << journal;
}

QByteArray sqliteFile(const QString& path, const std::string& sql)
{
    {
        RawConnection raw(path);
        sqlite3_exec(raw.db, sql.c_str(), nullptr, nullptr, nullptr);
    }
    return bytesOf(path);
}

QByteArray randomBytes(int size, unsigned seed)
{
    std::mt19937 gen(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& b : bytes)
        b = char(gen());
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Files, NotABook,
    ::testing::Values(
        ForeignCase{"TextFile",
                    [](const QString& p) {
                        writeFile(p, "自動車,登録番号\r\nかとう,1\r\n");
                        return bytesOf(p);
                    }},
        ForeignCase{"RandomBytes",
                    [](const QString& p) {
                        writeFile(p, randomBytes(8192, 7));
                        return bytesOf(p);
                    }},
        ForeignCase{"DamagedSqliteFile",
                    [](const QString& p) {
                        writeFile(p, QByteArray("SQLite format 3", 16) + randomBytes(8176, 11));
                        return bytesOf(p);
                    }},
        ForeignCase{"MalformedBook",
                    [](const QString& p) {
                        QByteArray bytes = sqliteFile(p, standardRecordTable());
                        bytes.replace(100, 400, randomBytes(400, 13));
                        writeFile(p, bytes);
                        return bytes;
                    }},
        ForeignCase{"ForeignRecordTable",
                    [](const QString& p) {
                        return sqliteFile(p, "CREATE TABLE INDATA (id INTEGER PRIMARY KEY, name TEXT);"
                                             "INSERT INTO INDATA VALUES (1, 'x')");
                    }},
        ForeignCase{"OtherTablesOnly",
                    [](const QString& p) { return sqliteFile(p, "CREATE TABLE moz_places (id INTEGER, url TEXT)"); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(OpenBookTest, RecordTableOfTheStandardFieldsIsABook)
{
    sqliteFile(path, standardRecordTable());
    EXPECT_EQ(refusal(path), QString());
}

}  // namespace
