// The CSV reader with named columns and its whole-file check against the
// record table's 56 fields: the lines give back the file without its CR
// bytes, and a file the check passes fits its columns on every line.
#include "components/core/record_fields.h"
#include "components/formats/named_column_csv.h"
#include "fuzz/fuzz_check.h"

#include <algorithm>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const named_csv::NamedColumnCsv csv{std::string(bytes)};

    std::string withoutCr, joined;
    std::copy_if(bytes.begin(), bytes.end(), std::back_inserter(withoutCr), [](char c) { return c != '\r'; });
    for (std::string_view line : csv.lines()) {
        FUZZ_CHECK(line.find('\r') == std::string_view::npos);
        joined.append(line).push_back('\n');
    }
    FUZZ_CHECK(joined == withoutCr || joined == withoutCr + "\n" || joined + "\x1A" == withoutCr);
    FUZZ_CHECK(csv.nameLine().has_value() == (withoutCr.find('\n') != std::string::npos));

    static const std::vector<FieldDef> fields = [] {
        std::vector<FieldDef> out;
        for (const RecordField& f : kRecordFields)
            out.push_back({f.name, f.wholeNumber ? FieldType::WholeNumber : FieldType::Text});
        return out;
    }();
    const auto names = csv.nameLine();
    const std::vector<SjisString> columns = names ? *names : std::vector<SjisString>{sj("使用者"), sj("乗車定員")};
    const std::size_t firstLine = names ? 1 : 0;
    const named_csv::Check check = named_csv::checkFile(csv, firstLine, columns, fields);
    FUZZ_CHECK(check.plan.has_value() != check.problem.has_value());
    if (!check.plan)
        return 0;
    FUZZ_CHECK(check.plan->columnFields.size() == columns.size() && columns.size() <= named_csv::kMaxColumns);
    std::vector<std::string_view> values;
    for (std::size_t i = firstLine; i < csv.lines().size(); ++i) {
        named_csv::splitValues(csv.lines()[i], values);
        FUZZ_CHECK(csv.lines()[i].empty() || values.size() <= columns.size());
    }
    return 0;
}
