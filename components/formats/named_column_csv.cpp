#include "components/formats/named_column_csv.h"

#include "components/core/table.h"

#include <algorithm>

namespace named_csv {

NamedColumnCsv::NamedColumnCsv(std::string bytes) : text_(std::move(bytes))
{
    std::erase(text_, '\r');
    const std::string_view text(text_);
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string_view::npos; start = end + 1)
        lines_.push_back(text.substr(start, end - start));
    firstLineEnded_ = !lines_.empty();
    if (const std::string_view last = text.substr(start); !last.empty() && last != "\x1A")
        lines_.push_back(last);
}

std::optional<std::vector<SjisString>> NamedColumnCsv::nameLine() const
{
    if (!firstLineEnded_)
        return std::nullopt;
    std::vector<std::string_view> names;
    splitValues(lines_.front(), names);
    return std::vector<SjisString>(names.begin(), names.end());
}

void splitValues(std::string_view line, std::vector<std::string_view>& values)
{
    values.clear();
    std::size_t start = 0;
    for (std::size_t end; (end = line.find(',', start)) != std::string_view::npos; start = end + 1)
        values.push_back(line.substr(start, end - start));
    values.push_back(line.substr(start));
}

QString describe(const Problem& p)
{
    const QString text = sjis::excerpt(p.text);
    switch (p.kind) {
    case Problem::Kind::TooManyColumns:
        return QStringLiteral("列が %1 あります（%2 列まで）。").arg(p.count).arg(kMaxColumns);
    case Problem::Kind::UnknownName:
        return QStringLiteral("%1 列目の項目名「%2」はデータの項目にありません。").arg(p.column).arg(text);
    case Problem::Kind::TooManyValues:
        return QStringLiteral("%1 行目に値が %2 個あります（項目は %3 個）。").arg(p.line).arg(p.count).arg(p.column);
    case Problem::Kind::NotANumber:
        return QStringLiteral("%1 行目 %2 列目の値「%3」は整数ではありません。").arg(p.line).arg(p.column).arg(text);
    }
    return {};
}

Check checkFile(const NamedColumnCsv& file, std::size_t firstLine, const std::vector<SjisString>& columns,
                const std::vector<FieldDef>& fields)
{
    if (columns.size() > kMaxColumns)
        return {{}, Problem{Problem::Kind::TooManyColumns, 0, 0, {}, columns.size()}, {}};
    Plan plan{firstLine, {}};
    for (const SjisString& name : columns) {
        const std::string utf8 = sjis::toUtf8(name);
        const auto field = std::find_if(fields.begin(), fields.end(), [&](const FieldDef& f) { return f.name == utf8; });
        if (field == fields.end())
            return {{}, Problem{Problem::Kind::UnknownName, 0, plan.columnFields.size() + 1, name, 0}, {}};
        plan.columnFields.push_back(int(field - fields.begin()));
    }
    std::vector<std::string_view> values;
    for (std::size_t i = firstLine; i < file.lines().size(); ++i) {
        if (file.lines()[i].empty())
            continue;
        splitValues(file.lines()[i], values);
        if (values.size() > columns.size())
            return {{}, Problem{Problem::Kind::TooManyValues, i + 1, columns.size(), {}, values.size()}, {}};
        for (std::size_t k = 0; k < values.size(); ++k) {
            const FieldDef& field = fields[std::size_t(plan.columnFields[k])];
            if (field.type != FieldType::WholeNumber)
                continue;
            try {
                storedValue(field, SjisString(values[k]));
            } catch (const DbError&) {
                return {{}, Problem{Problem::Kind::NotANumber, i + 1, k + 1, SjisString(values[k].substr(0, 64)), 0}, {}};
            }
        }
    }
    NonTextLines nonText;
    for (std::size_t i = 0; i < file.lines().size(); ++i)
        if (sjis::findNonText(file.lines()[i]) != std::string_view::npos && nonText.count++ == 0)
            nonText.first = i + 1;
    return {std::move(plan), {}, nonText};
}

QString nonTextQuestion(const QString& file, const NonTextLines& lines)
{
    return QStringLiteral("%1 の %2 行目ほか、%3 行に文字として読めないバイトがあります"
                          "（Shift-JIS 以外のファイルの可能性があります）。\r"
                          "このまま読み込むと、その値は正しく表示されません。\r読み込みを続けますか？")
        .arg(file)
        .arg(lines.first)
        .arg(lines.count);
}

}  // namespace named_csv
