// Help: the help file is opened with the desktop's viewer for its type.
#pragma once

#include <QString>
#include <QUrl>
#include <functional>
#include <vector>

// Opens the help file at `path` (relative paths are taken from the current
// directory, the data directory). The caller resolves the file's name in
// the data directory first (resolveFile). A missing file, or one the
// desktop cannot open, is reported in a message box; the result tells
// whether the viewer was started.
bool openHelp(const QString& path);

// The Japanese message for a help file that is not there.
QString helpFileMissingText(const QString& path);
// ... and for one the desktop has no viewer for.
QString helpFileNotOpenedText(const QString& path);

// Replaces the desktop's viewer while it lives: records the URL of every
// file that would be opened, and answers with `opens` (false: as if the
// desktop had no viewer for it).
class ScriptedHelpViewer {
public:
    explicit ScriptedHelpViewer(bool opens = true);
    ~ScriptedHelpViewer();
    ScriptedHelpViewer(const ScriptedHelpViewer&) = delete;
    ScriptedHelpViewer& operator=(const ScriptedHelpViewer&) = delete;

    const std::vector<QUrl>& opened() const { return opened_; }

private:
    bool opens_;
    std::vector<QUrl> opened_;
    std::function<bool(const QUrl&)> previous_;
};
