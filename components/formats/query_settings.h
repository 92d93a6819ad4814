// Settings of finding, filtering, sorting and copying, in the directory the
// dialog was created in (the data directory).
//
// Find.INI, Filter.INI, Sort.INI: the field names offered by the find
// dialog, by both field boxes of the filter dialog and by the sort dialog.
// Made by the user; the programs only read them.
//
//   line | meaning                        | default
//   -----+--------------------------------+---------------------------------------------
//   n    | the n-th field name offered    | the 47 standard record fields, in field order
//
// Copy.INI, the fields a record copy takes:
//
//   line            | meaning                                   | default
//   ----------------+-------------------------------------------+-------------------------
//   1 .. a          | fields not copied, one per line           | the dialog's lists as
//   a + 1           | empty line                                | they stand
//   a + 2 .. b      | fields copied, in copy order              |
//   b + 1           | empty line (the end of the file counts)   |
#pragma once

#include "components/core/cp932.h"
#include "components/core/record_fields.h"
#include "components/formats/settings_file.h"

#include <QString>
#include <optional>
#include <vector>

struct FieldChoices {
    std::vector<SjisString> fields = standardFieldNames();

};

FieldChoices fieldChoicesFromLines(const LineListFile& file);
LineListFile fieldChoicesLines(const FieldChoices& choices);

FieldChoices readFindFields(const QString& dir);
void writeFindFields(const QString& dir, const FieldChoices& choices);
FieldChoices readFilterFields(const QString& dir);
void writeFilterFields(const QString& dir, const FieldChoices& choices);
FieldChoices readSortFields(const QString& dir);
void writeSortFields(const QString& dir, const FieldChoices& choices);

// left: the fields not copied; right: the fields copied, in copy order.
using CopySettings = ChooserLists;

std::optional<CopySettings> readCopySettings(const QString& dir);
void writeCopySettings(const QString& dir, const CopySettings& settings);
