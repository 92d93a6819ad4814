#include "components/core/record_fields.h"

const std::array<RecordField, kExtendedFieldCount> kRecordFields = {{
    {"使用者ふりがな", false},
    {"電話番号", false},
    {"使用者", false},
    {"使用者住所", false},
    {"自動車登録番号", false},
    {"登録年月日", false},
    {"初度登録年月", false},
    {"型式", false},
    {"車台番号", false},
    {"原動機の型式", false},
    {"自動車型式指定番号", false},
    {"類別区分番号", false},
    {"有効期間の満了する日", false},
    {"自賠責保険機関", false},
    {"自賠責証明番号", false},
    {"所有者", false},
    {"所有者住所", false},
    {"使用の本拠の位置", false},
    {"自動車の種別", false},
    {"用途", false},
    {"自家用事業用の別", false},
    {"車体の形状", false},
    {"車名", false},
    {"乗車定員", true},
    {"定員", true},
    {"最大積載量", true},
    {"積載量", true},
    {"車両重量", true},
    {"車両総重量", true},
    {"総重量", true},
    {"長さ", false},
    {"幅", false},
    {"高さ", false},
    {"総排気量又は定格出力", false},
    {"定格出力", false},
    {"燃料の種類", false},
    {"燃料", false},
    {"前前軸重", false},
    {"前後軸重", false},
    {"後前軸重", false},
    {"後後軸重", false},
    {"備考", false},
    {"自賠責機関", false},
    {"証明番号", false},
    {"自賠責期間自", false},
    {"自賠責期間", false},
    {"自賠責期間至", false},
    {"販売形態", false},
    {"カテゴリ", false},
    {"色", false},
    {"年式", false},
    {"エンジンＮＯ．", false},
    {"販売年月日", false},
    {"お買い上げ金額", false},
    {"盗難保険", false},
    {"メモ", false},
}};

int recordFieldNumber(std::string_view utf8Name)
{
    for (std::size_t i = 0; i < kRecordFields.size(); ++i)
        if (utf8Name == kRecordFields[i].name)
            return int(i + 1);
    return 0;
}

std::vector<SjisString> standardFieldNames()
{
    std::vector<SjisString> names;
    for (int no = 1; no <= kStandardFieldCount; ++no)
        names.push_back(sj(recordField(no).name));
    return names;
}

std::string recordPrimaryKey()
{
    std::string key;
    for (int i = 0; i < kPrimaryKeyFieldCount; ++i) {
        if (i)
            key += ';';
        key += kRecordFields[std::size_t(i)].name;
    }
    return key;
}

SjisString indexNameOf(std::string_view fieldName)
{
    static const SjisString width = sj("幅"), from = sj("自賠責期間自"), to = sj("自賠責期間至");
    if (fieldName == width)
        return sj("はば");
    if (fieldName == from)
        return sj("賠責期間自");
    if (fieldName == to)
        return sj("賠責期間至");
    return SjisString(fieldName.substr(0, fieldName.size() >= 2 ? fieldName.size() - 2 : 0));
}

std::string indexNameOfUtf8(std::string_view utf8Name)
{
    return sjis::toUtf8(indexNameOf(sjis::fromUtf8(utf8Name)));
}
