#include "components/core/sql_condition.h"

#include "components/core/cp932.h"
#include "components/core/database.h"

#include <cctype>

void SqlCondition::add(const std::string& piece, std::vector<SqlParam> more)
{
    sql += sql.empty() ? piece : " AND " + piece;
    for (SqlParam& p : more)
        params.push_back(std::move(p));
}

int bindParams(Statement& s, const std::vector<SqlParam>& params, int first)
{
    for (const SqlParam& p : params) {
        switch (p.kind) {
        case SqlParam::Kind::Blob: s.bindBlob(first, p.bytes); break;
        case SqlParam::Kind::Text: s.bindText(first, p.bytes); break;
        case SqlParam::Kind::Int: s.bindInt(first, p.number); break;
        case SqlParam::Kind::Null: s.bindNull(first); break;
        }
        ++first;
    }
    return first;
}

std::optional<long long> parseWholeNumber(std::string_view text)
{
    std::string t = sjis::trim(text);
    if (t.empty())
        return std::nullopt;
    std::size_t i = (t[0] == '-' || t[0] == '+') ? 1 : 0;
    if (i == t.size() || t.size() - i > 18)
        return std::nullopt;
    long long v = 0;
    for (std::size_t k = i; k < t.size(); ++k) {
        if (!std::isdigit(uint8_t(t[k])))
            return std::nullopt;
        v = v * 10 + (t[k] - '0');
    }
    return t[0] == '-' ? -v : v;
}

namespace {

SqlParam blob(std::string_view b) { return {SqlParam::Kind::Blob, std::string(b), 0}; }
SqlParam text(std::string_view b) { return {SqlParam::Kind::Text, std::string(b), 0}; }
SqlParam number(long long v) { return {SqlParam::Kind::Int, {}, v}; }

[[noreturn]] void unsuitable(const FieldDef& field, std::string_view value)
{
    throw DbError(QStringLiteral("「%1」は%2の値として正しくありません。")
                      .arg(sjis::excerpt(value), QString::fromStdString(field.name)));
}

// The smallest byte string above every string that begins with `prefix`,
// or nothing when there is none.
std::optional<std::string> prefixUpperBound(std::string prefix)
{
    while (!prefix.empty() && uint8_t(prefix.back()) == 0xFF)
        prefix.pop_back();
    if (prefix.empty())
        return std::nullopt;
    prefix.back() = char(uint8_t(prefix.back()) + 1);
    return prefix;
}

SqlCondition compare(const FieldDef& field, const std::string& op, std::string_view value)
{
    std::string col = quoteIdentifier(field.name);
    if (field.type == FieldType::Text)
        return {col + " " + op + " ?", {blob(value)}};
    auto n = parseWholeNumber(value);
    if (!n)
        unsuitable(field, value);
    return {col + " " + op + " ?", {number(*n)}};
}

}  // namespace

SqlCondition fieldMatch(const FieldDef& field, std::string_view value, bool prefix)
{
    std::string col = quoteIdentifier(field.name);
    if (field.type == FieldType::WholeNumber) {
        if (prefix) {
            // The beginning of a number's decimal text: a minus sign and digits.
            std::string begin = sjis::trim(value);
            std::size_t first = !begin.empty() && begin[0] == '-' ? 1 : 0;
            for (std::size_t i = first; i < begin.size(); ++i)
                if (!std::isdigit(uint8_t(begin[i])))
                    unsuitable(field, value);
            return {"substr(coalesce(CAST(" + col + " AS TEXT), ''), 1, " + std::to_string(begin.size()) + ") = ?",
                    {text(begin)}};
        }
        if (sjis::trim(value).empty())
            return {col + " IS NULL", {}};
        return compare(field, "=", value);
    }
    if (!prefix)
        return {col + " = ?", {blob(value)}};
    if (value.empty())
        return {};
    // A range keeps the look-up on the field's index.
    auto upper = prefixUpperBound(std::string(value));
    if (!upper)
        return {col + " >= ?", {blob(value)}};
    return {"(" + col + " >= ? AND " + col + " < ?)", {blob(value), blob(*upper)}};
}

namespace {

class FilterParser {
public:
    FilterParser(std::string_view text, const FieldFinder& find) : s_(text), find_(find) {}

    SqlCondition parse()
    {
        SqlCondition c = orExpression();
        skipBlanks();
        if (pos_ != s_.size())
            malformed();
        return c;
    }

private:
    std::string_view s_;
    const FieldFinder& find_;
    std::size_t pos_ = 0;
    int depth_ = 0;
    int terms_ = 0;

    [[noreturn]] void malformed()
    {
        throw DbError(QStringLiteral("フィルタ式が正しくありません: %1").arg(sjis::decode(s_)));
    }

    void skipBlanks()
    {
        while (pos_ < s_.size() && uint8_t(s_[pos_]) <= 0x20)
            ++pos_;
    }

    bool keyword(std::string_view word)
    {
        skipBlanks();
        if (s_.size() - pos_ <= word.size())
            return false;
        for (std::size_t i = 0; i < word.size(); ++i)
            if (std::tolower(uint8_t(s_[pos_ + i])) != word[i])
                return false;
        char after = s_[pos_ + word.size()];
        if (after != '(' && uint8_t(after) > 0x20)
            return false;
        pos_ += word.size();
        return true;
    }

    void expect(char c)
    {
        skipBlanks();
        if (pos_ >= s_.size() || s_[pos_] != c)
            malformed();
        ++pos_;
    }

    // A chain "a op b op c" becomes one flat group, so the SQL nests only as
    // deep as the expression's parentheses.
    static void join(SqlCondition& left, SqlCondition right, const char* op, bool first)
    {
        left.sql = (first ? "(" + left.sql : left.sql.substr(0, left.sql.size() - 1)) + op + right.sql + ")";
        left.params.insert(left.params.end(), right.params.begin(), right.params.end());
    }

    SqlCondition orExpression()
    {
        SqlCondition left = andExpression();
        for (bool first = true; keyword("or"); first = false)
            join(left, andExpression(), " OR ", first);
        return left;
    }

    SqlCondition andExpression()
    {
        SqlCondition left = primary();
        for (bool first = true; keyword("and"); first = false)
            join(left, primary(), " AND ", first);
        return left;
    }

    // "(" condition ")" or "(" expression ")".
    SqlCondition primary()
    {
        expect('(');
        skipBlanks();
        SqlCondition c;
        if (pos_ < s_.size() && s_[pos_] == '(') {
            if (++depth_ > kMaxFilterDepth)
                throw DbError(QStringLiteral("フィルタ式の括弧が深すぎます。\r括弧の入れ子は %1 段までです。").arg(kMaxFilterDepth));
            c = orExpression();
            --depth_;
        } else {
            if (++terms_ > kMaxFilterTerms)
                throw DbError(QStringLiteral("フィルタ式の条件が多すぎます。\r条件は %1 個までです。").arg(kMaxFilterTerms));
            c = condition();
        }
        expect(')');
        return c;
    }

    SqlCondition condition()
    {
        // '=', '<', '>' and quotes lie below 0x40, so they never occur as the
        // second byte of a two-byte character and can be searched byte-wise.
        std::size_t start = pos_;
        while (pos_ < s_.size() && s_[pos_] != '=' && s_[pos_] != '<' && s_[pos_] != '>' && s_[pos_] != ')')
            ++pos_;
        if (pos_ >= s_.size() || s_[pos_] == ')')
            malformed();
        std::string name = sjis::toUtf8(sjis::trim(s_.substr(start, pos_ - start)));
        std::string op;
        if (s_[pos_] == '=')
            op = "=";
        else if (pos_ + 1 < s_.size() && s_[pos_ + 1] == '=')
            op = std::string(1, s_[pos_]) + "=";
        else
            malformed();
        pos_ += op.size();
        std::string value = literal();
        const FieldDef* field = find_(name);
        if (!field)
            throw DbError(QStringLiteral("フィールド '%1' が見つかりません。").arg(QString::fromStdString(name)));
        if (op == "=" && !value.empty() && value.back() == '*') {
            value.pop_back();
            SqlCondition c = fieldMatch(*field, value, true);
            if (c.sql.empty())
                c.sql = "1";
            return c;
        }
        if (op == "=")
            return fieldMatch(*field, value, false);
        return compare(*field, op, value);
    }

    std::string literal()
    {
        skipBlanks();
        if (pos_ >= s_.size() || s_[pos_] != '\'')
            malformed();
        ++pos_;
        std::string value;
        for (;;) {
            if (pos_ >= s_.size())
                malformed();
            // A quote never occurs as the second byte of a character.
            unsigned char b = s_[pos_++];
            if (b == '\'') {
                if (pos_ < s_.size() && s_[pos_] == '\'') {
                    value.push_back('\'');
                    ++pos_;
                    continue;
                }
                return value;
            }
            value.push_back(char(b));
        }
    }
};

}  // namespace

SqlCondition compileFilter(std::string_view expression, const FieldFinder& findField)
{
    if (sjis::trim(expression).empty())
        return {};
    return FilterParser(expression, findField).parse();
}
