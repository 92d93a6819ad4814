// Brindel's backup and restore of the record table, without a window:
// - the backup runs from the first record over all records; a chosen name
//   ending in ".CSV" or ".csv" writes the CSV backup (its postal codes from
//   the converter's own scan of KEN_ALL.CSV), any other the fixed-width TXT
//   with its TIF, whose widths first grow to the longest value of each
//   field (outside an address book) and are stored in the chosen width
//   set once the files are in place. Files are written to temporary names
//   and put in place only when all are complete.
// - the restore always replaces every record: the whole file is checked
//   first, then the table is emptied and the records appended in one
//   transaction; the first record the table refuses rolls everything back.
#pragma once

#include "components/core/table.h"
#include "components/formats/backup_format.h"
#include "components/formats/converter_post_scan.h"

#include <optional>

struct ConverterBackupSettings {
    int layoutMode = 0;
    QString dataDirectory;
    QString iniDirFolder;  // INIDIR.INI's folder line, or empty
};

// The file name offered in the folder line's folder: "住所録" or today's
// era date with the year of the era without a leading zero, then ".CSV".
QString converterBackupName(bool addressBook);

// The backup: a width set (the current row of `widthSets` once chosen),
// then the file. The records table is left on its last record.
void backUpConverterRecords(Table& records, Table& widthSets, const ConverterBackupSettings& settings,
                            const backup::BackupSteps& steps);

// The CSV backup of every record by `set` to `path`, postal codes from
// `kenAll` (none without it). False when the user declined to keep a file
// with "," in values: nothing is put in place then.
bool writeConverterCsvBackup(Table& records, const WidthSet& set, int layoutMode, const postal::ConverterKenAll* kenAll,
                             const QString& path, const std::function<bool(const QString&)>& ask);

// The fixed-width backup of every record, as the book stands at one
// moment, to the TXT and TIF files of `path`'s base name. A negative width
// counts as 0; outside an address book the widths grow to the longest
// value first, and once both files are in place the grown ones are stored
// in the current row of `widthSets`. A failure between the two files'
// renames names both.
void writeConverterTxtBackup(Table& records, Table& widthSets, const WidthSet& set, const backup::BackupPath& path);

// The restore from a CSV file, or from a TXT file with the widths of its
// TIF file or of a chosen width set. Returns the number of records the
// book holds after it, or nothing when it changed nothing (cancelled,
// stopped by a message, rolled back).
std::optional<int> restoreConverterRecords(Table& records, const ConverterBackupSettings& settings,
                                           const backup::BackupSteps& steps);
