#include "record_book/model/record_query.h"

#include "components/core/record_fields.h"

#include <algorithm>

namespace {

const char* const kNoFieldEntries[] = {"重量", "車両重量又は総重量", "用途及び重量"};

// The condition of one row; the first row's begins without " and ".
SjisString condition(const FilterRow& row)
{
    if (row.to.empty())
        return "(" + row.field + " = " + quoted(row.from + "*") + ")";
    return "(" + row.field + " >= " + quoted(row.from) + ") and  ((" + row.field + " <= " + quoted(row.to) +
           ") or (" + row.field + " = " + quoted(row.to + "*") + "))";
}

}  // namespace

std::vector<SjisString> copyEntries()
{
    static const char* const entries[] = {
        "使用者ふりがな", "電話番号", "使用者", "使用者住所", "自動車登録番号", "登録年月日", "初度登録年月",
        "型式", "車台番号", "原動機の型式", "自動車型式指定番号", "類別区分番号", "有効期間の満了する日",
        "自賠責保険機関", "自賠責証明番号", "所有者", "所有者住所", "使用の本拠の位置", "自動車の種別", "用途",
        "自家用事業用の別", "車体の形状", "車名", "乗車定員", "定員", "最大積載量", "車両重量", "車両総重量",
        "総重量", "長さ", "幅", "高さ", "総排気量又は定格出力", "定格出力", "燃料の種類", "燃料", "前前軸重",
        "前後軸重", "後前軸重", "後後軸重", "備考", "自賠責機関", "証明番号", "自賠責期間自", "自賠責期間",
        "自賠責期間至",
    };
    std::vector<SjisString> out;
    for (const char* e : entries)
        out.push_back(sj(e));
    return out;
}

bool copiesNothing(std::string_view entry)
{
    return std::any_of(std::begin(kNoFieldEntries), std::end(kNoFieldEntries),
                       [entry](const char* name) { return sj(name) == entry; });
}

SjisString quoted(std::string_view text)
{
    SjisString out = "'";
    for (char c : text) {
        out += c;
        if (c == '\'')
            out += '\'';
    }
    return out + "'";
}

SjisString filterExpression(const FilterRow& first, const FilterRow& second)
{
    if (first.from.empty())
        return {};
    SjisString expression = condition(first);
    if (!second.from.empty())
        expression += " and " + condition(second);
    return expression;
}
