// Backup of the record table to a CSV file and its restore from CSV or
// fixed-width TXT, on the record book. What the user is shown and asked
// comes in as BackupSteps, so the commands run without a window.
#pragma once

#include "components/formats/backup_format.h"
#include "components/formats/width_set.h"

#include <QString>
#include <functional>

class RecordBook;

using backup::BackupSteps;

// The backup: a width set is chosen, then the file (offered under the
// default name in the INIDIR.INI folder); the records the table shows, as
// the book stands once a pending edit is posted, in its order, from the
// first (or, for a name holding "追加", from the record shown) become lines
// of the file with the extension ".CSV". The table is
// left on its last record. The file is written to a temporary name and put
// in place at the end; values holding "," are asked about first.
void backUpRecords(RecordBook& book, const BackupSteps& steps);

// Writes the CSV backup of the records the table shows by `set` to `path`.
// Returns false when the user declined to keep a file with "," in values
// (nothing is put in place then).
bool writeCsvBackup(RecordBook& book, const WidthSet& set, const QString& path, bool fromCurrent,
                    const std::function<bool(const QString&)>& ask);

// The restore: a file is chosen; ".CSV" or ".csv" restores the CSV file of
// that base name, any other extension the ".TXT" file with the widths of
// its ".TIF" file or of a chosen width set. The whole file is checked
// first; then the records the table shows are replaced (for a name holding
// "分割", added to) in one transaction while the book is bulk restoring.
// When the table refuses every record, nothing changes and the user is
// told; when it refuses some, the user is asked whether to keep the rest.
void restoreRecords(RecordBook& book, const BackupSteps& steps);
