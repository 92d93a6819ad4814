#include "components/core/file_write.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <unistd.h>

namespace {

struct WriteFailure {
    int error;
    std::size_t allowed;
};

std::optional<WriteFailure>& failing()
{
    static std::optional<WriteFailure> f;
    return f;
}

ssize_t writeSome(int fd, std::string_view data)
{
    if (!failing())
        return ::write(fd, data.data(), data.size());
    if (failing()->allowed == 0) {
        errno = failing()->error;
        return -1;
    }
    const ssize_t n = ::write(fd, data.data(), std::min(data.size(), failing()->allowed));
    if (n > 0)
        failing()->allowed -= std::size_t(n);
    return n;
}

}  // namespace

QString writeFailureMessage(const QString& path, int error, const QString& systemText)
{
    QString reason;
    switch (error) {
    case ENOSPC:
        reason = QStringLiteral("ディスクに空きがありません。空きを作ってから、もう一度実行して下さい。");
        break;
    case EDQUOT:
        reason = QStringLiteral("ディスクの使用量が上限（クォータ）に達しました。不要なファイルを消してから、"
                                "もう一度実行して下さい。");
        break;
    case EFBIG:
        reason = QStringLiteral("ファイルが大きすぎます。このシステムで作れるファイルの大きさの上限を超えました。");
        break;
    case EACCES:
    case EPERM:
        reason = QStringLiteral("書き込みの権限がありません。ファイルとフォルダの権限を確かめて下さい。");
        break;
    case EROFS:
        reason = QStringLiteral("ディスクが読み込み専用です。");
        break;
    default:
        reason = systemText.isEmpty() ? QString::fromLocal8Bit(std::strerror(error)) : systemText;
        break;
    }
    return QStringLiteral("%1 に書き込めません。\r%2").arg(path, reason);
}

int writeAll(int fd, std::string_view data)
{
    while (!data.empty()) {
        const ssize_t n = writeSome(fd, data);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return EIO;
        data.remove_prefix(std::size_t(n));
    }
    return 0;
}

FailingWrites::FailingWrites(int error, std::size_t allowed) { failing() = WriteFailure{error, allowed}; }

FailingWrites::~FailingWrites() { failing().reset(); }
