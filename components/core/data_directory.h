// The data directory: the folder a program is started in. Every settings
// file, KEN_ALL.CSV, the print hand-off file and the external programs are
// found there, by names that the system spells in more than one case.
#pragma once

#include "components/core/cp932.h"

#include <QString>

// The data directory: the current directory, read anew on every call. The
// main window keeps what this gives when it is created; a dialog that keeps
// its own copy reads it when the dialog is created (the same folder, since
// the programs never change their current directory).
QString currentDataDirectory();

// The path of `name` in `dir`: the exact name when it exists, else a file
// whose name differs only in case, else the exact name (for a new file).
QString resolveFile(const QString& dir, const QString& name);

// True when `name` exists in `dir` under any case.
bool fileExists(const QString& dir, const QString& name);

// A path read from a settings file: CP932, backslashes as separators.
QString pathFromSettings(std::string_view bytes);
