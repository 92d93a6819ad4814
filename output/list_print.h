// The list print: the records of the record table as lines of fixed-width
// columns, in jobs of N records, each job opened by the date and title
// lines, the header and a separator line, every record followed by a
// separator line.
//
// A column is a record field or one of the two computed weight columns;
// its width, in CP932 bytes, is the integer field of the same name in the
// current row of the width sets (INDTLEN). A cell is padded with blanks and
// cut at its width, never inside a two-byte character: such a character
// gives way to a blank, so the cell keeps its width and the next column its
// place.
#pragma once

#include "components/core/cp932.h"
#include "components/formats/print_settings.h"

#include <QColor>
#include <QDate>
#include <QFont>
#include <QString>
#include <string_view>
#include <vector>

class Table;
class TextPrinter;

inline constexpr int kMaxListColumns = 51;
inline constexpr int kMaxLeadingBlanks = 248;
inline constexpr int kMaxCellBytes = 1000;

// The text padded with blanks and cut to `width` bytes.
SjisString padCut(std::string_view text, int width);
// The text with width − length blanks in front; a text as long as the
// width or longer stays whole.
SjisString rightAligned(std::string_view text, int width);
// "－" `length` times (empty for 0 or less).
SjisString separatorLine(int length);
// `position` blanks (0 to 248) and the date as "令和07年12月09日".
SjisString dateLine(int position, QDate date);
// `position` blanks (0 to 248) and the title.
SjisString titleLine(int position, std::string_view title);

enum class ColumnKind { Field, WeightOrGross, UseAndWeight };

struct PrintColumn {
    SjisString name;
    int width = 0;
    ColumnKind kind = ColumnKind::Field;
    int field = -1;  // index of the record field (kind Field)
};

class ListLayout {
public:
    // The columns `names` (the first kMaxListColumns of them), their widths
    // from the current row of `widthSet`. Throws DbError naming the first
    // column that the width set or the record table lacks.
    ListLayout(const std::vector<SjisString>& names, const Table& widthSet, const Table& records);

    const std::vector<PrintColumn>& columns() const { return columns_; }
    // More columns were named than are printed.
    bool truncated() const { return truncated_; }

    // The index of the first column that ends past `cells` bytes of the
    // line, or -1 when the whole header fits.
    int firstColumnPast(int cells) const;

    SjisString header() const;
    // The line of a record: its values by field index.
    SjisString recordLine(const std::vector<SjisString>& values) const;

private:
    SjisString cell(const PrintColumn& column, const std::vector<SjisString>& values) const;

    std::vector<PrintColumn> columns_;
    bool truncated_ = false;
    int kindField_ = -1, useField_ = -1, weightField_ = -1, grossField_ = -1;
};

// What the list print takes from its settings.
struct ListPrintOptions {
    bool allRecords = true;  // else the current record
    int perJob = 5;          // 0 or less: one job
    int separatorLength = 40;
    SjisString title;
    int titlePosition = 0, titleSize = 0;  // size 0: no title line
    int datePosition = 0, dateSize = 0;    // size 0: no date line
    QDate date;
    FontBlock font;

    static ListPrintOptions of(const ListPrintSettings& settings, const ListTitleSettings& titles, QDate date);
};

// Where the lines of a list go: the printer, or a test's record.
class ListOutput {
public:
    virtual ~ListOutput() = default;
    virtual void beginJob() = 0;
    // The point size of the lines that follow; 0 is the list font's own.
    virtual void setFontSize(int points) = 0;
    virtual void line(const SjisString& text) = 0;
    virtual void endJob() = 0;
};

// Prints the list: the current record, or every record of the view in its
// order as the book stands at one moment, after which the last one is
// current. The records are read in
// place, without moving through them one by one.
void printList(ListOutput& out, Table& records, const ListLayout& layout, const ListPrintOptions& options);

// The list on a printer: each job in the options' font.
class PrinterListOutput : public ListOutput {
public:
    PrinterListOutput(TextPrinter& printer, const FontBlock& font);
    void beginJob() override;
    void setFontSize(int points) override;
    void line(const SjisString& text) override;
    void endJob() override;

private:
    TextPrinter& printer_;
    QFont font_;
    QColor color_;
};
