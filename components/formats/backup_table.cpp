#include "components/formats/backup_table.h"

#include "components/core/database.h"
#include "components/formats/backup_format.h"

#include <algorithm>
#include <optional>

namespace backup {

namespace {

constexpr int kAddressField = 4;

}  // namespace

RecordRows::RecordRows(Table& t) : table_(t), at_(kExtendedFieldCount + 1, -1)
{
    for (int no = 1; no <= kExtendedFieldCount; ++no)
        at_[std::size_t(no)] = t.FieldIndex(recordField(no).name);
}

std::string_view RecordRows::field(int no) const
{
    const int i = at_[std::size_t(no)];
    return i < 0 ? std::string_view() : std::string_view(row_[std::size_t(i)]);
}

std::array<std::string_view, kStandardFieldCount> RecordRows::standardFields() const
{
    std::array<std::string_view, kStandardFieldCount> values;
    for (int no = 1; no <= kStandardFieldCount; ++no)
        values[std::size_t(no - 1)] = field(no);
    return values;
}

bool writeCsvBackupOfRows(Table& records, const WidthSet& set, int layoutMode, bool fromCurrent,
                          const PostalLookUp& postalCode, const QString& path,
                          const std::function<bool(const QString&)>& ask)
{
    const std::vector<int> fields = csvLineFields(set, layoutMode);
    const bool addressBook = set.isAddressBook();
    const bool postalColumn = set.postalMode != 0;
    BackupFileWriter file(path);
    file.buffer() += csvMarkerLine(layoutMode);
    std::optional<Table::Snapshot> snapshot(std::in_place, records);
    const int first = fromCurrent ? std::max(records.currentPosition(), 0) : 0;
    RecordRows rows(records);
    const int count = rows.count();
    SjisString lastReading, address, code;
    CommaValues commas;
    std::vector<std::string_view> values(fields.size());
    for (int position = first; position < count; ++position) {
        rows.read(position);
        const std::string_view reading = rows.field(1);
        if (addressBook) {
            if (reading == lastReading)
                continue;
            lastReading = reading;
        }
        address = rows.field(kAddressField);
        code.clear();
        if (postalColumn && postalCode)
            code = postalCode(address);
        for (std::size_t i = 0; i < fields.size(); ++i)
            values[i] = fields[i] == kAddressField ? std::string_view(address) : rows.field(fields[i]);
        commas.note(values, reading);
        appendCsvLine(file.buffer(), values, addressBook,
                      postalColumn ? std::optional<std::string_view>(code) : std::nullopt);
        file.flushIfFull();
    }
    snapshot.reset();
    if (count > 0)
        records.Last();
    if (commas.count() > 0 && ask && !ask(commas.question()))
        return false;
    file.commit();
    return true;
}

}  // namespace backup
