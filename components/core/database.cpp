#include "components/core/database.h"

#include <QDir>
#include <chrono>
#include <thread>

void throwSqliteError(sqlite3* db, int rc)
{
    int extended = db ? sqlite3_extended_errcode(db) : rc;
    switch (extended) {
    case SQLITE_CONSTRAINT_UNIQUE:
    case SQLITE_CONSTRAINT_PRIMARYKEY:
        throw DbError(QStringLiteral("キー違反です。"));
    case SQLITE_CONSTRAINT_NOTNULL:
        throw DbError(QStringLiteral("必須フィールドに値がありません。"));
    default:
        break;
    }
    if ((rc & 0xFF) == SQLITE_BUSY || (rc & 0xFF) == SQLITE_LOCKED)
        throw DbError(QStringLiteral("データベースは他のプログラムが使用中です。"));
    QString detail = QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
    throw DbError(QStringLiteral("データベースエラー: %1").arg(detail));
}

std::string quoteIdentifier(std::string_view name)
{
    std::string q = "\"";
    for (char c : name) {
        q += c;
        if (c == '"')
            q += '"';
    }
    return q + "\"";
}

Statement::Statement(sqlite3* db, std::string_view sql, bool persistent) : db_(db)
{
    int rc = sqlite3_prepare_v3(db, sql.data(), int(sql.size()), persistent ? SQLITE_PREPARE_PERSISTENT : 0, &stmt_,
                                nullptr);
    if (rc != SQLITE_OK)
        throwSqliteError(db, rc);
}

Statement& Statement::operator=(Statement&& o) noexcept
{
    if (this != &o) {
        sqlite3_finalize(stmt_);
        db_ = o.db_;
        stmt_ = o.stmt_;
        o.stmt_ = nullptr;
    }
    return *this;
}

Statement::~Statement()
{
    sqlite3_finalize(stmt_);
}

Statement& Statement::reset()
{
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
    return *this;
}

Statement& Statement::bindBlob(int i, std::string_view bytes)
{
    // A zero-length blob, never NULL: empty text is a value.
    static const char empty = 0;
    sqlite3_bind_blob(stmt_, i, bytes.empty() ? &empty : bytes.data(), int(bytes.size()), SQLITE_TRANSIENT);
    return *this;
}

Statement& Statement::bindText(int i, std::string_view utf8)
{
    sqlite3_bind_text(stmt_, i, utf8.data(), int(utf8.size()), SQLITE_TRANSIENT);
    return *this;
}

Statement& Statement::bindInt(int i, long long v)
{
    sqlite3_bind_int64(stmt_, i, v);
    return *this;
}

Statement& Statement::bindNull(int i)
{
    sqlite3_bind_null(stmt_, i);
    return *this;
}

bool Statement::step()
{
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    sqlite3_reset(stmt_);
    throwSqliteError(db_, rc);
}

std::string Statement::columnBytes(int i) const
{
    const void* p = sqlite3_column_blob(stmt_, i);
    int n = sqlite3_column_bytes(stmt_, i);
    return p ? std::string(static_cast<const char*>(p), std::size_t(n)) : std::string();
}

QString Database::cardataPath(const QString& dataDir)
{
    QByteArray env = qgetenv("CARDATA");
    if (!env.isEmpty())
        return QString::fromLocal8Bit(env);
    return QDir(dataDir).filePath(QStringLiteral("CARDATA.sqlite3"));
}

Database::Database(const QString& path) : path_(path)
{
    int rc = sqlite3_open_v2(path.toUtf8().constData(), &db_,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        QString detail = QString::fromUtf8(db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc));
        sqlite3_close(db_);
        db_ = nullptr;
        throw DbError(QStringLiteral("データベース %1 を開けません。\r%2").arg(path, detail));
    }
    sqlite3_busy_timeout(db_, 5000);
    try {
        // Switching a new file to WAL needs it alone, and SQLite does not
        // wait for that: when both programs create the file at once, retry.
        for (int attempt = 0;; ++attempt) {
            int rc = sqlite3_exec(db_, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
            if (rc == SQLITE_OK)
                break;
            if ((rc & 0xFF) != SQLITE_BUSY || attempt == 500)
                throwSqliteError(db_, rc);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        exec("PRAGMA synchronous=NORMAL");
        exec("PRAGMA cache_size=-65536");  // 64 MB: the record table's indexes stay in memory
    } catch (...) {
        sqlite3_close(db_);
        db_ = nullptr;
        throw;
    }
}

Database::~Database()
{
    sqlite3_close_v2(db_);
}

void Database::exec(std::string_view sql)
{
    std::string s(sql);
    char* error = nullptr;
    int rc = sqlite3_exec(db_, s.c_str(), nullptr, nullptr, &error);
    sqlite3_free(error);
    if (rc != SQLITE_OK)
        throwSqliteError(db_, rc);
}

Database::Transaction::Transaction(Database& db) : db_(db)
{
    if (!db_.inTransaction()) {
        db_.exec("BEGIN IMMEDIATE");
        owner_ = true;
    }
}

Database::Transaction::~Transaction()
{
    if (owner_ && !done_ && db_.inTransaction())
        sqlite3_exec(db_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Database::Transaction::commit()
{
    if (owner_ && !done_)
        db_.exec("COMMIT");
    done_ = true;
}
