#include "platform/single_instance.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

QString lockFileName(QString name)
{
    // The name becomes one file name: no folder separators in it.
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    name.replace(QLatin1Char('\\'), QLatin1Char('_'));
    if (name.isEmpty())
        name = QStringLiteral("_");
    return name + QStringLiteral(".lock");
}

}  // namespace

QString SingleInstance::defaultFolder()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty() || !QDir(dir).exists()) {
        // One folder per user, so that users on one machine do not share a lock.
        dir = QStringLiteral("/tmp/runtime-%1").arg(::getuid());
        QDir().mkpath(dir);
    }
    return dir;
}

SingleInstance::SingleInstance(const QString& name, const QString& folder)
    : path_(QDir(folder.isEmpty() ? defaultFolder() : folder).filePath(lockFileName(name)))
{
}

SingleInstance::~SingleInstance()
{
    release();
}

bool SingleInstance::tryAcquire()
{
    if (fd_ >= 0)
        return true;
    const QByteArray file = QFile::encodeName(path_);
    int fd = ::open(file.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return true;  // no lock can be taken here; let the program run
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const int err = errno;
        ::close(fd);
        // Only a lock held elsewhere means another copy; a file system
        // without flock support must not keep the program from starting.
        return err != EWOULDBLOCK;
    }
    fd_ = fd;
    return true;
}

void SingleInstance::release()
{
    if (fd_ < 0)
        return;
    // Closing the only descriptor of the open file releases the lock. The
    // file stays: removing it could let a third copy lock a new file while
    // a second one still waits on the old one.
    ::close(fd_);
    fd_ = -1;
}
