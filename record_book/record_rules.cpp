#include "record_book/record_rules.h"

#include "components/table.h"

const char* const kSpecificationFields[kSpecificationFieldCount] = {
    "自動車型式指定番号", "類別区分番号", "型式", "車名", "車体の形状", "長さ", "幅", "高さ", "前前軸重",
    "前後軸重", "後前軸重", "後後軸重", "乗車定員", "定員", "最大積載量", "積載量", "車両重量",
    "車両総重量", "総重量", "原動機の型式", "総排気量又は定格出力", "定格出力", "燃料の種類", "燃料",
    "自動車の種別", "用途", "カテゴリ",
};

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
    const SjisString designation = record.FieldByName(kSpecificationFields[0]).AsString();
    const SjisString classification = record.FieldByName(kSpecificationFields[1]).AsString();
    if (designation.empty() || classification.empty())
        return;
    const int count = layoutMode == 1 ? kSpecificationFieldCount : kSpecificationFieldCount - 1;
    std::vector<std::optional<SjisString>> values;
    for (int i = 0; i < count; ++i)
        values.push_back(record.FieldByName(kSpecificationFields[i]).AsString());
    try {
        specification.AppendRecord(values);
        return;
    } catch (const DbError&) {
        // The type is known already: fall through to raising its values.
    }
    if (!specification.Locate("自動車型式指定番号;類別区分番号", {designation, classification}, {true}))
        return;
    specification.Edit();
    bool copied = false;
    for (int i = 2; i < count; ++i) {
        Field stored = specification.FieldByName(kSpecificationFields[i]);
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
