// One running copy of a program per user: the first copy takes an exclusive
// flock on a lock file named after the program's lock name, in the user's
// runtime folder, and holds it for its whole life. A second copy finds the
// lock taken and ends, saying so on standard error only. The kernel
// releases the lock when the holder ends in any way, crash included, so a
// stale lock file never keeps the program from starting.
#pragma once

#include <QString>

class SingleInstance {
public:
    // `name` is the lock's name ("EX_Dremlot"); the file is `<name>.lock`
    // in `folder`, or in defaultFolder() when `folder` is empty. Nothing is
    // opened until tryAcquire().
    explicit SingleInstance(const QString& name, const QString& folder = {});
    ~SingleInstance();  // releases the lock
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // Takes the lock without waiting. False only when another holder has it
    // (another copy is running). When the lock file cannot be opened at all
    // (an unwritable folder) the program is let run, as there is no way to
    // tell whether another copy is running: true, with held() false.
    // Calling it again while the lock is held gives true.
    bool tryAcquire();
    bool held() const { return fd_ >= 0; }
    void release();

    QString lockFilePath() const { return path_; }

    // The user's runtime folder (XDG_RUNTIME_DIR), else /tmp.
    static QString defaultFolder();

private:
    QString path_;
    int fd_ = -1;
};
