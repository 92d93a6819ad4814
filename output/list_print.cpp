#include "output/list_print.h"

#include "components/core/database.h"
#include "components/core/era_date.h"
#include "components/core/table.h"
#include "output/print_font.h"
#include "platform/text_printer.h"

#include <algorithm>
#include <optional>

namespace {

const SjisString& weightOrGross()
{
    static const SjisString name = sj("車両重量又は総重量");
    return name;
}

const SjisString& useAndWeight()
{
    static const SjisString name = sj("用途及び重量");
    return name;
}

// The index of a field the table must have; the engine's message otherwise.
int requiredField(const Table& table, std::string_view cp932Name)
{
    const std::string utf8 = sjis::toUtf8(cp932Name);
    const int index = table.FieldIndex(utf8);
    if (index < 0)
        throw DbError(QStringLiteral("フィールド '%1' が見つかりません。").arg(QString::fromStdString(utf8)));
    return index;
}

SjisString blanks(int count)
{
    return SjisString(std::size_t(std::clamp(count, 0, kMaxLeadingBlanks)), ' ');
}

}  // namespace

SjisString padCut(std::string_view text, int width)
{
    const std::size_t w = std::size_t(std::max(width, 0));
    SjisString cell = sjis::cutBytes(text, w);
    cell.resize(w, ' ');
    return cell;
}

SjisString rightAligned(std::string_view text, int width)
{
    const std::size_t w = std::size_t(std::max(width, 0));
    SjisString cell(text.size() < w ? w - text.size() : 0, ' ');
    return cell.append(text);
}

SjisString separatorLine(int length)
{
    static const SjisString dash = sj("－");
    SjisString line;
    for (int i = 0; i < length; ++i)
        line += dash;
    return line;
}

SjisString dateLine(int position, QDate date)
{
    return blanks(position) + formatEraDate(date, kEraDatePattern);
}

SjisString titleLine(int position, std::string_view title)
{
    return blanks(position).append(title);
}

ListLayout::ListLayout(const std::vector<SjisString>& names, const Table& widthSet, const Table& records)
{
    truncated_ = int(names.size()) > kMaxListColumns;
    const std::size_t count = std::min(names.size(), std::size_t(kMaxListColumns));
    for (std::size_t i = 0; i < count; ++i) {
        PrintColumn c{names[i]};
        c.width = std::clamp(readNumber(widthSet.value(requiredField(widthSet, c.name))), 0, kMaxCellBytes);
        if (c.name == weightOrGross())
            c.kind = ColumnKind::WeightOrGross;
        else if (c.name == useAndWeight())
            c.kind = ColumnKind::UseAndWeight;
        else
            c.field = requiredField(records, c.name);
        columns_.push_back(std::move(c));
    }
    for (const PrintColumn& c : columns_)
        if (c.kind != ColumnKind::Field && kindField_ < 0) {
            kindField_ = requiredField(records, sj("自動車の種別"));
            useField_ = requiredField(records, sj("用途"));
            weightField_ = requiredField(records, sj("車両重量"));
            grossField_ = requiredField(records, sj("車両総重量"));
        }
}

int ListLayout::firstColumnPast(int cells) const
{
    int end = 0;
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if ((end += columns_[i].width) > cells)
            return int(i);
    return -1;
}

SjisString ListLayout::header() const
{
    SjisString line;
    for (const PrintColumn& c : columns_)
        line += padCut(c.name, c.width);
    return line;
}

SjisString ListLayout::cell(const PrintColumn& c, const std::vector<SjisString>& values) const
{
    auto value = [&values](int field) -> std::string_view {
        return std::size_t(field) < values.size() ? std::string_view(values[std::size_t(field)]) : std::string_view();
    };
    if (c.kind == ColumnKind::Field)
        return padCut(value(c.field), c.width);
    static const SjisString kei = sj("軽自動車"), passenger = sj("乗用"), wideBlank = sj("　");
    const bool isKei = value(kindField_) == kei;
    const bool isPassenger = value(useField_) == passenger;
    if (c.kind == ColumnKind::WeightOrGross) {
        if (isKei)
            return SjisString(std::size_t(c.width), ' ');
        if (isPassenger)
            return padCut(rightAligned(value(weightField_), 6), c.width);
        return rightAligned(SjisString(value(grossField_)) + wideBlank, c.width);
    }
    if (isKei)
        return padCut("  " + kei, c.width);
    return rightAligned(SjisString(value(isPassenger ? weightField_ : grossField_)) + "  ", c.width);
}

SjisString ListLayout::recordLine(const std::vector<SjisString>& values) const
{
    SjisString line;
    for (const PrintColumn& c : columns_)
        line += cell(c, values);
    return line;
}

ListPrintOptions ListPrintOptions::of(const ListPrintSettings& settings, const ListTitleSettings& titles, QDate date)
{
    ListPrintOptions o;
    o.allRecords = settings.scope != 0;
    o.perJob = readNumber(settings.perJob);
    o.separatorLength = std::min(readNumber(settings.separatorLength), kMaxCellBytes);
    o.title = titles.title;
    o.titlePosition = readNumber(titles.titlePosition);
    o.titleSize = readNumber(titles.titleSize);
    o.datePosition = readNumber(titles.datePosition);
    o.dateSize = readNumber(titles.dateSize);
    o.date = date;
    o.font = settings.font;
    return o;
}

void printList(ListOutput& out, Table& records, const ListLayout& layout, const ListPrintOptions& o)
{
    const SjisString separator = separatorLine(o.separatorLength);
    auto beginJob = [&] {
        out.beginJob();
        if (o.dateSize > 0) {
            out.setFontSize(o.dateSize);
            out.line(dateLine(o.datePosition, o.date));
        }
        if (!o.title.empty() && o.titleSize > 0) {
            out.setFontSize(o.titleSize);
            out.line(titleLine(o.titlePosition, o.title));
        }
        out.setFontSize(0);
        out.line(layout.header());
        out.line(separator);
    };
    auto printRecord = [&](const std::vector<SjisString>& values) {
        out.line(layout.recordLine(values));
        out.line(separator);
    };

    std::optional<Table::Snapshot> snapshot;
    if (o.allRecords)
        snapshot.emplace(records);
    beginJob();
    const int count = o.allRecords ? records.RecordCount() : 0;
    if (!o.allRecords || count == 0) {
        std::vector<SjisString> current;
        for (int i = 0; i < records.FieldCount(); ++i)
            current.push_back(records.value(i));
        printRecord(current);
    }
    for (int position = 0, inJob = 0; position < count; ++position) {
        printRecord(records.rowValues(position));
        if (++inJob == o.perJob && position + 1 < count) {
            out.endJob();
            beginJob();
            inJob = 0;
        }
    }
    out.endJob();
    snapshot.reset();
    if (count > 0)
        records.Last();
}

PrinterListOutput::PrinterListOutput(TextPrinter& printer, const FontBlock& font)
    : printer_(printer), font_(printFont(font)), color_(printColor(font))
{
}

void PrinterListOutput::beginJob()
{
    printer_.beginJob(font_, color_);
}

void PrinterListOutput::setFontSize(int points)
{
    printer_.setFontSize(points > 0 ? points : font_.pointSize());
}

void PrinterListOutput::line(const SjisString& text)
{
    printText(printer_, text);
}

void PrinterListOutput::endJob()
{
    printer_.endJob();
}
