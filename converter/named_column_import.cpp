#include "converter/named_column_import.h"

#include "components/formats/settings_file.h"
#include "converter/old_data_import.h"

#include <QFile>

NamedCsvOutcome importNamedCsv(Table& records, const named_csv::NamedColumnCsv& file, const named_csv::Plan& plan,
                               bool keepRecords)
{
    records.CheckBrowseMode();
    records.SetFiltered(false);
    records.SetIndexFieldNames("");
    NamedCsvOutcome outcome;
    {
        Table::Bulk bulk(records, keepRecords ? Table::Bulk::Mode::Append : Table::Bulk::Mode::ReplaceAll);
        std::vector<std::optional<SjisString>> values(std::size_t(records.FieldCount()));
        std::vector<std::string_view> line;
        for (std::size_t i = plan.firstLine; i < file.lines().size(); ++i) {
            if (file.lines()[i].empty())
                continue;
            named_csv::splitValues(file.lines()[i], line);
            std::fill(values.begin(), values.end(), std::nullopt);
            for (std::size_t k = 0; k < line.size(); ++k)
                values[std::size_t(plan.columnFields[k])] = SjisString(line[k]);
            try {
                records.AppendRecord(values);
                ++outcome.written;
            } catch (const DbError& e) {
                if (!isRecordRefusal(e))
                    throw;
                ++outcome.refused;
            }
        }
        bulk.commit();
    }
    records.First();
    return outcome;
}
