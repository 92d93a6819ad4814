// SQL conditions that the table builds from its filters and look-ups, with
// their parameters kept apart from the SQL text.
#pragma once

#include "components/core/schema.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

struct SqlParam {
    enum class Kind { Blob, Text, Int, Null } kind = Kind::Null;
    std::string bytes;
    long long number = 0;
};

struct SqlCondition {
    std::string sql;  // empty: no condition
    std::vector<SqlParam> params;

    void add(const std::string& piece, std::vector<SqlParam> more = {});
};

class Statement;
// Binds the parameters from position `first` on; returns the next position.
int bindParams(Statement& s, const std::vector<SqlParam>& params, int first = 1);

// Whole-number text as typed ("12", " -3 "); nothing for text that is not
// a whole number.
std::optional<long long> parseWholeNumber(std::string_view text);

// The condition on one field for a value: equal, or, with `prefix`,
// beginning with it. On a whole-number field a prefix matches the number's
// decimal text. Throws DbError when the value does not suit the field.
SqlCondition fieldMatch(const FieldDef& field, std::string_view value, bool prefix);

// Compiles a filter expression (CP932 bytes): conditions "(" field op
// 'text' ")" with op "=", ">=" or "<=", joined by "and" and "or" (and binds
// first) and grouped by parentheses; quotes inside a literal are doubled;
// a literal ending in "*" under "=" matches values that begin with the text
// before it. Text compares byte by byte; whole-number fields compare as
// numbers. Throws DbError for a malformed expression, an unknown field, a
// value that does not suit its field, or an expression past the bounds
// below (deeper nesting or more conditions would exhaust the parser's or
// SQLite's stack).
constexpr int kMaxFilterDepth = 16;
constexpr int kMaxFilterTerms = 64;
using FieldFinder = std::function<const FieldDef*(const std::string& utf8Name)>;
SqlCondition compileFilter(std::string_view expression, const FieldFinder& findField);
