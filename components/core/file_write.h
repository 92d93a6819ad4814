// Writing a file's bytes, and what a failed write means for the user.
#pragma once

#include <QString>
#include <cstddef>
#include <string_view>

// "<path> に書き込めません。" and, on the next line, why: a full disk, a
// disk quota used up, a file past the size limit, a missing permission or
// a read-only disk in the user's words; any other reason (an errno value)
// as `systemText` says it, or as the system does when that is empty.
QString writeFailureMessage(const QString& path, int error, const QString& systemText = {});

// Writes all of `data` to the file descriptor. A short write (the disk took
// only part) is followed by another, so that a failure comes with its
// reason. 0 when all was written, else the errno value.
int writeAll(int fd, std::string_view data);

// Makes writeAll fail with `error` once `allowed` bytes in all have been
// written, while it lives. For tests.
class FailingWrites {
public:
    FailingWrites(int error, std::size_t allowed = 0);
    ~FailingWrites();
    FailingWrites(const FailingWrites&) = delete;
    FailingWrites& operator=(const FailingWrites&) = delete;
};
