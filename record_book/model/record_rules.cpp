#include "record_book/model/record_rules.h"

#include "components/core/table.h"

const std::vector<FieldDef>& specificationFields()
{
    return schemaTable("code")->fields;
}

int KanaRowIndex(std::string_view reading)
{
    const unsigned b1 = reading.size() > 0 ? uint8_t(reading[0]) : 0;
    const unsigned b2 = reading.size() > 1 ? uint8_t(reading[1]) : 0;
    if (b1 < 0x82 || (b1 == 0x82 && b2 < 0xA9))
        return 0;
    if (b1 > 0x82)
        return 9;
    static const unsigned bounds[] = {0xB3, 0xBD, 0xC8, 0xCD, 0xDC, 0xE2, 0xE7, 0xED};  // start of rows 2..9
    int row = 1;
    for (unsigned start : bounds) {
        if (b2 < start)
            return row;
        ++row;
    }
    return 9;
}

void learnSpecification(Table& record, Table& specification, int layoutMode)
{
    if (layoutMode < 0 || layoutMode > 2)
        return;
    const std::vector<FieldDef>& fields = specificationFields();
    const SjisString designation = record.FieldByName(fields[0].name).AsString();
    const SjisString classification = record.FieldByName(fields[1].name).AsString();
    if (designation.empty() || classification.empty())
        return;
    // カテゴリ only under the extension layout, and only where both tables have it.
    const std::string& category = fields.back().name;
    const bool withCategory =
        layoutMode == 1 && record.FieldIndex(category) >= 0 && specification.FieldIndex(category) >= 0;
    const int count = int(fields.size()) - (withCategory ? 0 : 1);
    std::vector<std::optional<SjisString>> values;
    for (int i = 0; i < count; ++i)
        values.push_back(record.FieldByName(fields[std::size_t(i)].name).AsString());
    try {
        specification.AppendRecord(values);
        return;
    } catch (const DbError&) {
        // The type is known already: fall through to raising its values.
    }
    // Exactly the saved codes: a type whose codes merely begin with them is another vehicle.
    if (!specification.Locate("自動車型式指定番号;類別区分番号", {designation, classification}))
        return;
    specification.Edit();
    bool copied = false;
    for (int i = 2; i < count; ++i) {
        Field stored = specification.FieldByName(fields[std::size_t(i)].name);
        if (*values[std::size_t(i)] > stored.AsString()) {
            stored.SetAsString(*values[std::size_t(i)]);
            copied = true;
        }
    }
    if (copied)
        specification.Post();
    else
        specification.Cancel();
}
