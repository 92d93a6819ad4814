#include "platform/single_instance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <optional>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

TEST(SingleInstance, SecondCopyIsRefusedUntilTheFirstLetsGo)
{
    QTemporaryDir dir;
    SingleInstance first(QStringLiteral("EX_Dremlot"), dir.path());
    SingleInstance second(QStringLiteral("EX_Dremlot"), dir.path());
    EXPECT_EQ(first.lockFilePath(), QDir(dir.path()).filePath(QStringLiteral("EX_Dremlot.lock")));

    ASSERT_TRUE(first.tryAcquire());
    EXPECT_TRUE(first.held());
    EXPECT_TRUE(first.tryAcquire());  // asking again keeps it
    EXPECT_FALSE(second.tryAcquire());
    EXPECT_FALSE(second.held());

    first.release();
    EXPECT_TRUE(second.tryAcquire());
    EXPECT_TRUE(QFileInfo::exists(first.lockFilePath()));

    // Another lock name is another program; its holder's end frees it.
    auto other = std::make_optional<SingleInstance>(QStringLiteral("EX_Brindel"), dir.path());
    EXPECT_TRUE(other->tryAcquire());
    SingleInstance next(QStringLiteral("EX_Brindel"), dir.path());
    EXPECT_FALSE(next.tryAcquire());
    other.reset();
    EXPECT_TRUE(next.tryAcquire());
}

TEST(SingleInstance, LockOfAnotherProcessIsSeenAndFreedWhenItDies)
{
    QTemporaryDir dir;
    SingleInstance mine(QStringLiteral("EX_Dremlot"), dir.path());
    const QByteArray path = QFile::encodeName(mine.lockFilePath());

    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Only system calls here: the child of a threaded process.
        ::close(ready[0]);
        const int fd = ::open(path.constData(), O_RDWR | O_CREAT, 0600);
        const char ok = (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0) ? '1' : '0';
        (void)::write(ready[1], &ok, 1);
        for (;;)
            ::pause();
    }
    ::close(ready[1]);
    char ok = 0;
    ASSERT_EQ(::read(ready[0], &ok, 1), 1);
    ::close(ready[0]);
    ASSERT_EQ(ok, '1');

    EXPECT_FALSE(mine.tryAcquire());

    // A crash: no chance to clean up; the kernel drops the lock.
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(mine.tryAcquire());
}

TEST(SingleInstance, FolderAndNames)
{
    // A folder where no lock file can be made lets the program run.
    SingleInstance nowhere(QStringLiteral("EX_Dremlot"), QStringLiteral("/nonexistent/folder"));
    EXPECT_TRUE(nowhere.tryAcquire());
    EXPECT_FALSE(nowhere.held());

    // The default folder is the user's runtime folder.
    QTemporaryDir runtime;
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    SingleInstance user(QStringLiteral("EX_Dremlot"));
    EXPECT_EQ(QFileInfo(user.lockFilePath()).dir().canonicalPath(), QDir(runtime.path()).canonicalPath());
    EXPECT_TRUE(user.tryAcquire());
    if (saved.isNull())
        qunsetenv("XDG_RUNTIME_DIR");
    else
        qputenv("XDG_RUNTIME_DIR", saved);
}

}  // namespace
