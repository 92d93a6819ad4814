#include "platform/process_start.h"

#include <QFileInfo>
#include <QProcess>

namespace {

std::function<bool(const QString&, const QString&)>& handler()
{
    static std::function<bool(const QString&, const QString&)> h;
    return h;
}

bool& recordedSucceeds()
{
    static bool succeeds = true;
    return succeeds;
}

}  // namespace

bool canStart(const QString& program, const QString& workingFolder)
{
    if (handler())
        return recordedSucceeds();
    const QFileInfo file(program);
    return file.isFile() && file.isExecutable() && QFileInfo(workingFolder).isDir();
}

bool startDetached(const QString& program, const QString& workingFolder)
{
    if (handler())
        return handler()(program, workingFolder);
    return QProcess::startDetached(program, {}, workingFolder);
}

RecordedStarts::RecordedStarts(bool succeeds) : previous_(handler()), previousSucceeds_(recordedSucceeds())
{
    recordedSucceeds() = succeeds;
    handler() = [this, succeeds](const QString& program, const QString& workingFolder) {
        starts_.push_back({program, workingFolder});
        return succeeds;
    };
}

RecordedStarts::~RecordedStarts()
{
    handler() = previous_;
    recordedSucceeds() = previousSucceeds_;
}
