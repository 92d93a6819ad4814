// Starting an outside program without waiting for it: the print program's
// start. Tests put a recorder in place of the real start.
#pragma once

#include <QString>
#include <functional>
#include <vector>

// Starts `program` with no arguments in `workingFolder` and returns at once.
// False when it could not be started (missing, not executable, no such
// folder).
bool startDetached(const QString& program, const QString& workingFolder);
// Whether startDetached can start it: an executable file and a folder.
bool canStart(const QString& program, const QString& workingFolder);

// Replaces the real start while it lives: records each start and answers
// `succeeds` without starting anything; canStart answers `succeeds` too.
class RecordedStarts {
public:
    struct Start {
        QString program;
        QString workingFolder;
    };

    explicit RecordedStarts(bool succeeds = true);
    ~RecordedStarts();
    RecordedStarts(const RecordedStarts&) = delete;
    RecordedStarts& operator=(const RecordedStarts&) = delete;

    const std::vector<Start>& starts() const { return starts_; }

private:
    std::vector<Start> starts_;
    std::function<bool(const QString&, const QString&)> previous_;
    bool previousSucceeds_;
};
