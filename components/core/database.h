// The shared database under the alias CARDATA: one SQLite file that both
// programs open. Text is stored as CP932 bytes in BLOB columns, so plain
// indexes order it in Shift-JIS byte order.
#pragma once

#include <QString>
#include <chrono>
#include <cstdint>
#include <functional>
#include <sqlite3.h>
#include <stdexcept>
#include <string>
#include <string_view>

// A failure of the database layer, with a short engine-like message and,
// when the engine raised it, the engine's result code.
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString& message, int code = SQLITE_OK)
        : std::runtime_error(message.toStdString()), message_(message), code_(code)
    {
    }
    QString message() const { return message_; }
    int code() const { return code_; }

private:
    QString message_;
    int code_;
};

// A refusal of one record (a key that exists, a value its field cannot
// take, a value too long to store), as opposed to a failure of the
// database itself.
inline bool isRecordRefusal(const DbError& e)
{
    return e.code() == SQLITE_OK || (e.code() & 0xFF) == SQLITE_CONSTRAINT || e.code() == SQLITE_TOOBIG;
}

// A prepared statement; reset and rebound for every use.
class Statement {
public:
    Statement() = default;
    // `persistent`: a statement kept for the life of its owner.
    Statement(sqlite3* db, std::string_view sql, bool persistent = false);
    Statement(Statement&& o) noexcept : db_(o.db_), stmt_(o.stmt_) { o.stmt_ = nullptr; }
    Statement& operator=(Statement&& o) noexcept;
    ~Statement();

    Statement& reset();
    // Throws DbError (SQLITE_TOOBIG) for a value longer than the engine stores.
    Statement& bindBlob(int i, std::string_view bytes);
    Statement& bindText(int i, std::string_view utf8);
    Statement& bindInt(int i, long long v);
    Statement& bindNull(int i);
    // Steps once; true while a row is available. Throws DbError.
    bool step();

    int columnType(int i) const { return sqlite3_column_type(stmt_, i); }
    long long columnInt(int i) const { return sqlite3_column_int64(stmt_, i); }
    std::string columnBytes(int i) const;
    bool valid() const { return stmt_ != nullptr; }

private:
    sqlite3* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
};

class Database {
public:
    // The CARDATA path: the environment variable CARDATA when set, else
    // CARDATA.sqlite3 in the data directory.
    static QString cardataPath(const QString& dataDir);

    // How long any statement waits for the other program's lock.
    static constexpr std::chrono::milliseconds kBusyTimeout{5000};

    // Opens (creating the file if needed) with WAL and a busy timeout. A file
    // that is no SQLite database, or that cannot be written (nor its folder,
    // where the WAL files live), or that lies on a network file system, is
    // refused before anything is written, and so is one that `check` throws
    // for; `check` runs on the opened file
    // before the switch to WAL. The tables are left as they are:
    // openSharedDatabase (schema.h) adds the missing ones.
    explicit Database(const QString& path, const std::function<void(Database&)>& check = {});
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    sqlite3* handle() const { return db_; }
    QString path() const { return path_; }
    void exec(std::string_view sql);
    Statement prepare(std::string_view sql, bool persistent = false) { return Statement(db_, sql, persistent); }
    bool inTransaction() const { return sqlite3_get_autocommit(db_) == 0; }
    // A number that changes whenever another connection commits a change.
    long long dataVersion();

    // All or nothing: rolls back unless commit() was called.
    class Transaction {
    public:
        explicit Transaction(Database& db);
        ~Transaction();
        void commit();

    private:
        Database& db_;
        bool done_ = false;
        bool owner_ = false;  // nested scopes join the outer transaction
    };

    // One read snapshot: every read until the scope ends sees the database
    // as it stood at the first read after the scope began, while the other
    // program's writers go on. Joins a transaction that is already open.
    // A write inside the scope fails when the other program has written
    // since the snapshot was taken.
    class ReadTransaction {
    public:
        explicit ReadTransaction(Database& db);
        ~ReadTransaction();
        ReadTransaction(const ReadTransaction&) = delete;
        ReadTransaction& operator=(const ReadTransaction&) = delete;

    private:
        Database& db_;
        bool owner_ = false;
    };

private:
    void switchToWal();

    sqlite3* db_ = nullptr;
    QString path_;
};

// True for a file system of this statfs magic number that another computer
// serves (NFS, SMB/CIFS, AFS, Ceph, 9p, ...) or a user-space driver may
// (FUSE: sshfs). WAL's shared-memory index works only for programs on one
// computer, so the book is refused there.
bool isNetworkFileSystem(std::uint32_t magic);

// Makes every file system read as `magic` while it lives. For tests.
class FileSystemTypeOverride {
public:
    explicit FileSystemTypeOverride(std::uint32_t magic);
    ~FileSystemTypeOverride();
    FileSystemTypeOverride(const FileSystemTypeOverride&) = delete;
    FileSystemTypeOverride& operator=(const FileSystemTypeOverride&) = delete;
};

// Errors of opening the book at `path`, for the user: what is wrong, the
// file on a line of its own, and what to do. bookError explains an engine's
// error (one with a code) and returns any other unchanged.
DbError bookError(const QString& path, const DbError& e);
DbError notABookError(const QString& path, const QString& reason);

// Raises the DbError (SQLITE_TOOBIG) that refuses a value of `bytes` bytes
// when it is longer than the engine stores.
void checkValueLength(sqlite3* db, std::size_t bytes);

// Raises the DbError for an SQLite result code. `systemError` is errno as
// the failed call left it: the engine's own record of a write that found no
// room is often lost in the rollback that follows.
[[noreturn]] void throwSqliteError(sqlite3* db, int rc, int systemError = 0);

// "name" quoted as an SQL identifier.
std::string quoteIdentifier(std::string_view name);
