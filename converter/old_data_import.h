// The old-data import's work on the record table: a base file replaces
// every record, a merge file writes its values into the records that carry
// its key value. Each file is one transaction.
#pragma once

#include "components/core/table.h"
#include "components/formats/legacy_import.h"

struct OldDataOutcome {
    int records = 0;   // whole records of the file
    int written = 0;   // records appended (base) or updated (merge)
    int refused = 0;   // records the table refused (base)
    SjisString lastReading;  // slot 1 of the last record
};

// The record fields a layout mode fills: 56 under modes 1 and 2, else 47.
int oldDataFieldCount(int layoutMode);

// The message that refuses a base file holding no whole record (nothing
// for one that holds one), and the note on bytes after its last whole
// record (nothing without them); both name `file`.
std::optional<QString> emptyBaseFileMessage(const QString& file, const OldDataInput& input);
std::optional<QString> leftoverBytesNote(const QString& file, const OldDataInput& input);

// Empties the table and appends one record per file record, all in one
// transaction; a file without a whole record changes nothing. A record the
// table refuses (a duplicate key, a value a number field cannot take, one
// too long) is skipped and counted; any other failure rolls everything
// back and is thrown.
OldDataOutcome importOldDataBase(Table& records, int layoutMode, const OldDataInput& input);

// For each file record, every record whose key field equals the record's
// key value (V ending in "*": begins with V without it and holds V) gets
// the record's non-empty values, last to first in key order. The matches
// are found through a map of the key field built once per file. When the
// table refuses an update, the whole file is rolled back and DbError names
// the file record.
OldDataOutcome mergeOldData(Table& records, int layoutMode, const OldDataInput& input);
