// The hand-off to the print program: Pelmora.INI describes the current view
// of the record table and the pattern to print or set up, then the program
// of the data directory starts in its folder "Pelmora", without waiting.
#pragma once

#include "components/core/cp932.h"
#include "components/formats/print_files.h"

#include <QString>

class RecordBook;
class Table;

// Writes the hand-off for the book's record table, the record number
// `currentRecord` as the window shows it, and `pattern`, then starts the
// print program. A refused hand-off (a line break or a character the file
// cannot hold in the index name, the filter or the record number) and a
// start that fails (no program, not executable, no "Pelmora" folder) are
// shown in a message; false then. Throws FileError when the file cannot be
// written.
bool handOffToPrintProgram(const RecordBook& book, const QString& currentRecord, int pattern, PrintMode mode);

// The values appended to PrtData for a pattern: empty, empty, 0, 10, 10.
void appendPatternRow(Table& prtData);

// Makes sure both layout tables hold a row for `pattern` (from 1): rows are
// appended up to it, PrtData's current row is posted, and PrtFreeData's row
// `pattern` becomes current.
void preparePattern(Table& prtData, Table& prtFreeData, int pattern);

// The most rows preparePattern may add to a table: a pattern number far
// past the rows is a typing mistake, and each row costs a write.
inline constexpr int kMaxPatternRowsAdded = 1000;
// The rows preparePattern would add to the table that lacks more.
int patternRowsMissing(Table& prtData, Table& prtFreeData, int pattern);
