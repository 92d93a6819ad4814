// The backups' walk over a record table: its rows read by record field
// number inside the walk's read snapshot (Table::Snapshot), and the CSV
// backup both programs write
// from it. The programs differ only in where the walk starts and in the
// postal-code search they use.
#pragma once

#include "components/core/cp932.h"
#include "components/core/record_fields.h"
#include "components/core/table.h"
#include "components/formats/width_set.h"

#include <QString>
#include <array>
#include <functional>
#include <string_view>
#include <vector>

namespace backup {

// One row's values by record field number, read without moving the table;
// fields the table lacks read empty.
class RecordRows {
public:
    explicit RecordRows(Table& t);

    int count() { return table_.RecordCount(); }
    void read(int position) { row_ = table_.rowValues(position); }
    std::string_view field(int no) const;
    std::array<std::string_view, kStandardFieldCount> standardFields() const;

private:
    Table& table_;
    std::vector<int> at_;
    std::vector<SjisString> row_;
};

// The postal code of an address; a prefecture the search finds missing is
// put before the address.
using PostalLookUp = std::function<SjisString(SjisString& address)>;

// Writes the CSV backup of the records as the book stands at one moment to
// `path`, from the first or, `fromCurrent`, from the record shown once a
// pending change is posted, to the end, as laid out by `set` in
// `layoutMode`; an address book skips a row whose
// reading equals the row before. Without `postalCode` a postal-code column
// stays empty. The table ends on its last record. Values holding "," are
// counted, and `ask` decides whether such a file is put in place; false
// when it was not. Throws FileError when the file cannot be written.
bool writeCsvBackupOfRows(Table& records, const WidthSet& set, int layoutMode, bool fromCurrent,
                          const PostalLookUp& postalCode, const QString& path,
                          const std::function<bool(const QString&)>& ask);

}  // namespace backup
