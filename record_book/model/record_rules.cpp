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
    SpecificationLearning(specification, layoutMode).learn(record);
}

std::vector<SjisString> SpecificationLearning::storedValues(int count) const
{
    std::vector<SjisString> values;
    for (int i = 0; i < count; ++i)
        values.push_back(specification_.FieldByName(specificationFields()[std::size_t(i)].name).AsString());
    return values;
}

void SpecificationLearning::learn(Table& record)
{
    if (layoutMode_ < 0 || layoutMode_ > 2)
        return;
    const std::vector<FieldDef>& fields = specificationFields();
    const SjisString designation = record.FieldByName(fields[0].name).AsString();
    const SjisString classification = record.FieldByName(fields[1].name).AsString();
    if (designation.empty() || classification.empty())
        return;
    // カテゴリ only under the extension layout, and only where both tables have it.
    const std::string& category = fields.back().name;
    const bool withCategory =
        layoutMode_ == 1 && record.FieldIndex(category) >= 0 && specification_.FieldIndex(category) >= 0;
    const int count = int(fields.size()) - (withCategory ? 0 : 1);
    std::vector<std::optional<SjisString>> values;
    for (int i = 0; i < count; ++i)
        values.push_back(record.FieldByName(fields[std::size_t(i)].name).AsString());
    const std::pair<SjisString, SjisString> codes{designation, classification};
    auto known = known_.find(codes);
    bool current = false;  // the specification table stands on the type
    if (known == known_.end() || int(known->second.size()) != count) {
        try {
            specification_.AppendRecord(values);
            known_[codes] = storedValues(count);
            return;
        } catch (const DbError&) {
            // The type is known already: fall through to raising its values.
        }
        // Exactly the saved codes: a type whose codes merely begin with them is another vehicle.
        if (!specification_.Locate("自動車型式指定番号;類別区分番号", {designation, classification}))
            return;
        known = known_.insert_or_assign(codes, storedValues(count)).first;
        current = true;
    }
    std::vector<int> grown;
    for (int i = 2; i < count; ++i)
        if (*values[std::size_t(i)] > known->second[std::size_t(i)])
            grown.push_back(i);
    if (grown.empty())
        return;
    if (!current && !specification_.Locate("自動車型式指定番号;類別区分番号", {designation, classification})) {
        known_.erase(known);
        return;
    }
    specification_.Edit();
    for (int i : grown)
        specification_.FieldByName(fields[std::size_t(i)].name).SetAsString(*values[std::size_t(i)]);
    specification_.Post();
    known->second = storedValues(count);
}
