// CSV with named columns: CP932 text made elsewhere, one record a line.
// Lines end with LF; CR bytes anywhere are dropped. Values are separated by
// "," with no quoting and are taken as they stand. The first line may name
// the record field of each column; otherwise the user names them.
//
// A file is checked whole before anything is imported: every column names
// a field of the table, there are at most 250 columns, no line has more
// values than there are columns, and the values of whole-number fields are
// whole numbers or blank. Lines holding bytes that are no CP932 text are
// counted, for the user to decide.
#pragma once

#include "components/core/cp932.h"
#include "components/core/schema.h"

#include <QString>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace named_csv {

inline constexpr std::size_t kMaxColumns = 250;

class NamedColumnCsv {
public:
    // Takes the file's bytes and drops their CR bytes in place.
    explicit NamedColumnCsv(std::string bytes);

    // The names of the first line, or nothing when it has no line feed (an
    // empty file included): such a file imports nothing.
    std::optional<std::vector<SjisString>> nameLine() const;

    // The lines, from 0, without CR bytes. A last line without a line feed
    // counts unless it is empty or only the end-of-file byte 0x1A. Empty
    // lines stand in their places; they hold no record.
    const std::vector<std::string_view>& lines() const { return lines_; }

private:
    std::string text_;
    std::vector<std::string_view> lines_;
    bool firstLineEnded_ = false;
};

// The values of a line, split at every ",".
void splitValues(std::string_view line, std::vector<std::string_view>& values);

// What stops an import: where, and what is wrong.
struct Problem {
    enum class Kind { TooManyColumns, UnknownName, TooManyValues, NotANumber };
    Kind kind;
    std::size_t line = 0;    // from 1; 0 for the column names
    std::size_t column = 0;  // from 1; for TooManyValues the number of columns
    SjisString text;         // the name or the value (its start, as much as a message quotes)
    std::size_t count = 0;   // columns or values found
};

QString describe(const Problem& problem);

// The records of a checked file: the lines from `firstLine` (0 or 1, after
// a name line) and the table field (index from 0) of each column.
struct Plan {
    std::size_t firstLine = 0;
    std::vector<int> columnFields;
};

// The lines (from 1) holding bytes that are no CP932 text: how many, and
// the first.
struct NonTextLines {
    std::size_t count = 0;
    std::size_t first = 0;
};

struct Check {
    std::optional<Plan> plan;
    std::optional<Problem> problem;  // set when plan is not
    NonTextLines nonText;            // of a file with a plan
};

// The question before a file with lines of such bytes is imported.
QString nonTextQuestion(const QString& file, const NonTextLines& lines);

// Checks the whole file against `columns` (field names, CP932) and the
// table's fields.
Check checkFile(const NamedColumnCsv& file, std::size_t firstLine, const std::vector<SjisString>& columns,
                const std::vector<FieldDef>& fields);

}  // namespace named_csv
