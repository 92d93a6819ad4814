// The CSV import with named columns on the record table: one record per
// non-empty line of a checked file, all in one transaction.
#pragma once

#include "components/core/table.h"
#include "components/formats/named_column_csv.h"

#include <QString>
#include <string>

struct NamedCsvOutcome {
    int written = 0;  // records appended
    int refused = 0;  // lines the table refused (a key that exists)
};

// Appends the file's records by its plan; unless `keepRecords` the table is
// emptied first, in the same transaction. A line the table refuses is
// skipped and counted; any other failure rolls everything back and is
// thrown. The table ends unfiltered in the order of its primary key, on
// its first record.
NamedCsvOutcome importNamedCsv(Table& records, const named_csv::NamedColumnCsv& file, const named_csv::Plan& plan,
                               bool keepRecords);
