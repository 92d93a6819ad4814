#include "components/core/database.h"

#include "components/core/file_write.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/vfs.h>
#include <thread>
#include <unistd.h>

namespace {

bool isRoomError(int error) { return error == ENOSPC || error == EDQUOT || error == EFBIG; }

// The errno of a write the engine could not make for want of room (a full
// disk, a quota, the file-size limit), or 0. A short write gives SQLITE_FULL
// without one: the disk is full.
int writeErrorOf(sqlite3* db, int rc, int systemError)
{
    const int error = isRoomError(sqlite3_system_errno(db)) ? sqlite3_system_errno(db)
                      : isRoomError(systemError)            ? systemError
                                                            : 0;
    if ((rc & 0xFF) == SQLITE_FULL)
        return error ? error : ENOSPC;
    return (rc & 0xFF) == SQLITE_IOERR ? error : 0;
}

}  // namespace

void checkValueLength(sqlite3* db, std::size_t bytes)
{
    const int limit = sqlite3_limit(db, SQLITE_LIMIT_LENGTH, -1);
    if (bytes > std::size_t(limit))
        throw DbError(QStringLiteral("値が長すぎます（%1 バイト、%2 バイトまで）。").arg(qulonglong(bytes)).arg(limit),
                      SQLITE_TOOBIG);
}

void throwSqliteError(sqlite3* db, int rc, int systemError)
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
        throw DbError(QStringLiteral("データベースは他のプログラムが使用中です。"), rc);
    // A write that found no room counts as a full disk, whichever code the
    // engine gave it.
    if (const int error = db ? writeErrorOf(db, rc, systemError) : 0)
        throw DbError(writeFailureMessage(QString::fromUtf8(sqlite3_db_filename(db, "main")), error), SQLITE_FULL);
    QString detail = QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
    throw DbError(QStringLiteral("データベースエラー: %1").arg(detail), rc);
}

namespace {

const QString kStartAgain = QStringLiteral("もう一度起動してください。");

DbError explained(const QString& problem, const QString& path, const QString& remedy)
{
    return DbError(problem + QLatin1Char('\r') + QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()) +
                   QLatin1Char('\r') + remedy);
}

bool writable(const QString& path)
{
    return faccessat(AT_FDCWD, QFile::encodeName(path).constData(), W_OK, AT_EACCESS) == 0;
}

DbError unwritable(const QString& file)
{
    return explained(QStringLiteral("データベースのファイルに書き込めません。"), file,
                     QStringLiteral("このファイルに書き込みの権限を与えてから、") + kStartAgain);
}

// The book, its WAL files and its folder, where SQLite makes the WAL files.
void checkWritable(const QString& path)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo(folder).isDir())
        throw explained(QStringLiteral("データベースのフォルダがありません。"), folder,
                        QStringLiteral("フォルダを作るか、環境変数 CARDATA を確かめてから、") + kStartAgain);
    for (const char* suffix : {"", "-wal", "-shm"})
        if (QFileInfo::exists(path + suffix) && !writable(path + suffix))
            throw unwritable(path + suffix);
    if (!writable(folder))
        throw explained(QStringLiteral("データベースのフォルダに書き込めません。"), folder,
                        QStringLiteral("データベースはこのフォルダに作業ファイル（-wal、-shm）を作ります。"
                                       "フォルダに書き込みの権限を与えてから、") +
                            kStartAgain);
}

std::optional<std::uint32_t>& fileSystemTypeOverride()
{
    static std::optional<std::uint32_t> magic;
    return magic;
}

// The statfs magic number of the file system of `path`; nothing when it
// cannot be asked.
std::optional<std::uint32_t> fileSystemType(const QString& path)
{
    if (fileSystemTypeOverride())
        return fileSystemTypeOverride();
    struct statfs info;
    if (statfs(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return std::uint32_t(info.f_type);
}

// The book and its WAL files on a local disk: the file itself when it
// exists (it may be a link to another disk), else its folder.
void checkLocalDisk(const QString& path)
{
    const QString probed = QFileInfo::exists(path) ? path : QFileInfo(path).absolutePath();
    const auto type = fileSystemType(probed);
    if (type && isNetworkFileSystem(*type))
        throw explained(QStringLiteral("データベースがネットワーク上のフォルダにあるため、開けません。"),
                        QFileInfo(path).absolutePath(),
                        QStringLiteral("データベースはこのコンピュータのディスクに置いてください。"
                                       "ネットワーク上のフォルダでは、二台のコンピュータから開くとデータベースが壊れることがあります"
                                       "（同じコンピュータの二つのプログラムからなら、安全に共有できます）。"));
}

}  // namespace

bool isNetworkFileSystem(std::uint32_t magic)
{
    switch (magic) {
    case 0x6969:      // NFS
    case 0x517B:      // SMB
    case 0xFE534D42:  // SMB2
    case 0xFF534D42:  // CIFS
    case 0x65735546:  // FUSE (sshfs and other user-space drivers)
    case 0x5346414F:  // AFS
    case 0x6B414653:  // kAFS
    case 0x00C36400:  // Ceph
    case 0x01021997:  // 9p
    case 0x73757245:  // Coda
    case 0x564C:      // NCP
    case 0x0BD00BD0:  // Lustre
    case 0x47504653:  // GPFS
    case 0x20030528:  // OrangeFS
        return true;
    default:
        return false;
    }
}

FileSystemTypeOverride::FileSystemTypeOverride(std::uint32_t magic) { fileSystemTypeOverride() = magic; }
FileSystemTypeOverride::~FileSystemTypeOverride() { fileSystemTypeOverride().reset(); }

DbError notABookError(const QString& path, const QString& reason)
{
    return explained(QStringLiteral("このファイルはこのプログラムのデータベースではありません（%1）。").arg(reason), path,
                     QStringLiteral("ファイルは変更していません。環境変数 CARDATA かデータフォルダの "
                                    "CARDATA.sqlite3 を確かめてから、") +
                         kStartAgain);
}

DbError bookError(const QString& path, const DbError& e)
{
    switch (e.code() & 0xFF) {
    case SQLITE_OK:
        return e;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return explained(QStringLiteral("データベースは他のプログラムが使用中です。"), path,
                         QStringLiteral("他のプログラムの処理が終わるのを待つか、そのプログラムを終了してから、") +
                             kStartAgain);
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return unwritable(path);
    case SQLITE_FULL:
        return e;  // named the book already
    case SQLITE_NOTADB:
        return notABookError(path, QStringLiteral("SQLite のデータベースではないか、壊れています"));
    case SQLITE_CORRUPT:
        return explained(QStringLiteral("データベースが壊れています。"), path,
                         QStringLiteral("このファイルを別のフォルダに移してから起動すると新しいデータベースが作られます。"
                                        "そこへバックアップから復元してください。"));
    default:
        return explained(QStringLiteral("データベースを開けません（%1）。").arg(QString::fromUtf8(sqlite3_errstr(e.code()))),
                         path, QStringLiteral("ファイルとフォルダを確かめてから、") + kStartAgain);
    }
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
    // The engine refuses a value past its length limit before copying it;
    // the refusal then names the length and the limit.
    const int rc = sqlite3_bind_blob64(stmt_, i, bytes.empty() ? &empty : bytes.data(), bytes.size(), SQLITE_TRANSIENT);
    if (rc == SQLITE_TOOBIG)
        checkValueLength(db_, bytes.size());
    if (rc != SQLITE_OK)
        throwSqliteError(db_, rc);
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
    errno = 0;
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    const int error = errno;
    sqlite3_reset(stmt_);
    throwSqliteError(db_, rc, error);
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

Database::Database(const QString& path, const std::function<void(Database&)>& check) : path_(path)
{
    if (!path.isEmpty() && path != QLatin1String(":memory:")) {
        checkWritable(path);
        checkLocalDisk(path);
    }
    int rc = sqlite3_open_v2(path.toUtf8().constData(), &db_,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    try {
        if (rc != SQLITE_OK)
            throwSqliteError(db_, rc);
        if (sqlite3_db_readonly(db_, "main") == 1)
            throw unwritable(path);
        sqlite3_busy_timeout(db_, int(kBusyTimeout.count()));
        if (check)
            check(*this);
        switchToWal();
        exec("PRAGMA synchronous=NORMAL");
        exec("PRAGMA cache_size=-65536");  // 64 MB: the record table's indexes stay in memory
    } catch (const DbError& e) {
        sqlite3_close(db_);
        db_ = nullptr;
        throw bookError(path, e);
    } catch (...) {
        sqlite3_close(db_);
        db_ = nullptr;
        throw;
    }
}

void Database::switchToWal()
{
    // The switch needs the file alone, and SQLite's busy handler does not
    // wait while another connection holds the write lock of a rollback
    // journal (nor when both programs create the file at once): retry, but
    // only as long as the busy timeout.
    const auto deadline = std::chrono::steady_clock::now() + kBusyTimeout;
    for (;;) {
        std::string mode;
        auto readMode = [](void* out, int, char** values, char**) {
            *static_cast<std::string*>(out) = values[0] ? values[0] : "";
            return 0;
        };
        int rc = sqlite3_exec(db_, "PRAGMA journal_mode=WAL", readMode, &mode, nullptr);
        if (rc == SQLITE_OK && (mode == "wal" || mode == "memory"))  // an in-memory database has no file
            return;
        if (rc == SQLITE_OK)
            throw DbError(QStringLiteral("WAL に切り替えられません。"), SQLITE_READONLY);
        if ((rc & 0xFF) != SQLITE_BUSY || std::chrono::steady_clock::now() >= deadline)
            throwSqliteError(db_, rc);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
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
    errno = 0;
    int rc = sqlite3_exec(db_, s.c_str(), nullptr, nullptr, &error);
    const int systemError = errno;
    sqlite3_free(error);
    if (rc != SQLITE_OK)
        throwSqliteError(db_, rc, systemError);
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

Database::ReadTransaction::ReadTransaction(Database& db) : db_(db)
{
    if (!db_.inTransaction()) {
        db_.exec("BEGIN DEFERRED");
        owner_ = true;
    }
}

Database::ReadTransaction::~ReadTransaction()
{
    if (owner_ && db_.inTransaction())
        sqlite3_exec(db_.handle(), "COMMIT", nullptr, nullptr, nullptr);
}

long long Database::dataVersion()
{
    Statement s = prepare("PRAGMA data_version");
    return s.step() ? s.columnInt(0) : -1;
}
