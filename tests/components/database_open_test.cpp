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

// A connection of "another program", without this program's open.
struct RawConnection {
    sqlite3* db = nullptr;
    explicit RawConnection(const QString& path) { sqlite3_open(path.toUtf8().constData(), &db); }
    ~RawConnection() { sqlite3_close(db); }
    void exec(const std::string& sql)
    {
        ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sql << sqlite3_errmsg(db);
    }
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

QByteArray randomBytes(int size, unsigned seed)
{
    std::mt19937 gen(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& b : bytes)
        b = char(gen());
    return bytes;
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

// Each case has a book of its own in one temporary folder.
class OpenBookTest : public ::testing::Test {
protected:
    QTemporaryDir dir;

    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    void TearDown() override { chmod(QFile::encodeName(dir.path()).constData(), 0700); }
    QString book(const char* name) { return dir.filePath(QString::fromUtf8(name) + ".sqlite3"); }
};

// One case per way another program can hold the book.
TEST_F(OpenBookTest, ABookHeldByAnotherProgramIsRefusedWithinSecondsWithTheMessage)
{
    const struct {
        const char* name;
        const char* journal;  // the book's journal mode
        const char* begin;    // how the other program holds it
        bool withAllTables;
    } cases[] = {
        {"RollbackJournalWriter", "DELETE", "BEGIN IMMEDIATE", true},
        {"RollbackJournalExclusive", "DELETE", "BEGIN EXCLUSIVE", true},
        {"WalWriterWhileTablesAreMissing", "WAL", "BEGIN IMMEDIATE", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = book(c.name);
        if (c.withAllTables)
            openSharedDatabase(path);
        RawConnection other(path);
        other.exec(std::string("PRAGMA journal_mode=") + c.journal);
        if (!c.withAllTables)
            other.exec(standardRecordTable());
        other.exec(c.begin);
        other.exec("INSERT INTO INDATA DEFAULT VALUES");

        const auto start = std::chrono::steady_clock::now();
        const QString message = refusal(path);
        EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 15.0);
        EXPECT_TRUE(message.startsWith(QStringLiteral("データベースは他のプログラムが使用中です。"))) << message.toStdString();
        EXPECT_TRUE(names(message, path)) << message.toStdString();
    }
}

TEST_F(OpenBookTest, AnUnwritableBookIsRefusedNamingWhatCannotBeWritten)
{
    const struct {
        const char* name;
        mode_t bookMode, folderMode;
        bool folderIsNamed;  // else the book
    } cases[] = {{"ReadOnlyBook", 0444, 0777, false}, {"ReadOnlyFolder", 0666, 0555, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = book(c.name);
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
}

TEST_F(OpenBookTest, AFileThatIsNoBookIsRefusedUnchangedNamingTheFile)
{
    const struct {
        const char* name;
        std::string sql;   // run by another program on a new file first, or nothing
        QByteArray bytes;  // the whole file, or laid over what the SQL made from byte 100
    } cases[] = {
        {"TextFile", "", "自動車,登録番号\r\nかとう,1\r\n"},
        {"RandomBytes", "", randomBytes(8192, 7)},
        {"DamagedSqliteFile", "", QByteArray("SQLite format 3", 16) + randomBytes(8176, 11)},
        {"MalformedBook", standardRecordTable(), randomBytes(400, 13)},
        {"ForeignRecordTable", "CREATE TABLE INDATA (id INTEGER PRIMARY KEY, name TEXT); INSERT INTO INDATA VALUES (1, 'x')",
         {}},
        {"OtherTablesOnly", "CREATE TABLE moz_places (id INTEGER, url TEXT)", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = book(c.name);
        QByteArray before = c.bytes;
        if (!c.sql.empty()) {
            RawConnection(path).exec(c.sql);
            before = bytesOf(path).replace(100, c.bytes.size(), c.bytes);
        }
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(before);
        f.close();

        const QString message = refusal(path);
        EXPECT_TRUE(names(message, path)) << message.toStdString();
        EXPECT_EQ(bytesOf(path), before);
        for (const char* journal : {"-wal", "-shm", "-journal"})
            EXPECT_FALSE(QFile::exists(path + journal)) << journal;
    }
}

// A book on a network folder is refused naming its folder; nothing is made.
TEST_F(OpenBookTest, ABookOnANetworkFolderIsRefusedNamingTheFolder)
{
    const FileSystemTypeOverride nfs(0x6969);
    const QString message = refusal(book("Shared"));
    EXPECT_TRUE(names(message, dir.path()) && message.contains(QStringLiteral("ネットワーク"))) << message.toStdString();
    EXPECT_FALSE(QFile::exists(book("Shared")));
}

TEST_F(OpenBookTest, RecordTableOfTheStandardFieldsIsABook)
{
    const QString path = book("Standard");
    RawConnection(path).exec(standardRecordTable());
    EXPECT_EQ(refusal(path), QString());
}

}  // namespace
