#include "components/formats/print_settings.h"

#include "components/core/record_fields.h"

#include <cstdlib>

namespace {

constexpr std::size_t kFontLines = 6;

}  // namespace

int FontBlock::pointSize() const
{
    if (size > 0)
        return size;
    const int points = (std::abs(height) * 72 + kScreenDpi / 2) / kScreenDpi;
    return points > 0 ? points : FontBlock{}.size;
}

int colorNumber(TColor color)
{
    return int(static_cast<std::int32_t>(color));
}

TColor colorOfNumber(int number)
{
    if (number < 0)
        return systemColorValue(number & 0xFF);
    return TColor(number) & 0xFFFFFFu;
}

FontBlock fontBlockFromLines(const LineListFile& file, std::size_t start, const FontBlock& defaults)
{
    FontBlock font = defaults;
    font.charset = file.number(start);
    font.color = colorOfNumber(file.number(start + 1));
    font.handle = file.number(start + 2);
    font.height = file.number(start + 3, -kMaxFontHeight, kMaxFontHeight);
    if (!file.line(start + 4).empty())
        font.name = file.line(start + 4);
    font.size = file.number(start + 5, 0, kMaxFontPoints);
    return font;
}

void appendFontBlock(LineListFile& file, const FontBlock& font)
{
    file.append(font.charset);
    file.append(colorNumber(font.color));
    file.append(font.handle);
    file.append(font.height);
    file.append(font.name);
    file.append(font.size);
}

std::vector<SjisString> designListColumns()
{
    std::vector<SjisString> columns = standardFieldNames();
    columns.push_back(sj("車両重量又は総重量"));
    columns.push_back(sj("用途及び重量"));
    return columns;
}

ListPrintSettings listPrintSettingsFromLines(const LineListFile& file)
{
    ListPrintSettings s;
    s.font = fontBlockFromLines(file);
    s.scope = file.number(kFontLines, 0, 1);
    s.method = file.number(kFontLines + 1, 0, 1);
    s.perJob = file.line(kFontLines + 2);
    s.separatorLength = file.line(kFontLines + 3);
    std::size_t next = 0;
    s.columns.left = file.listFrom(kFontLines + 4, &next);
    s.columns.right = file.listFrom(next);
    return s;
}

LineListFile listPrintSettingsLines(const ListPrintSettings& s)
{
    LineListFile file;
    appendFontBlock(file, s.font);
    file.append(s.scope);
    file.append(s.method);
    file.append(s.perJob);
    file.append(s.separatorLength);
    file.appendList(s.columns.left);
    file.appendList(s.columns.right);
    return file;
}

std::optional<ListPrintSettings> readListPrintSettings(const QString& dir)
{
    return readSettingsAs(dir, QStringLiteral("Print.INI"), listPrintSettingsFromLines);
}

void writeListPrintSettings(const QString& dir, const ListPrintSettings& settings)
{
    writeSettingsFile(dir, QStringLiteral("Print.INI"), listPrintSettingsLines(settings));
}

ListTitleSettings listTitleSettingsFromLines(const LineListFile& file)
{
    return {file.line(0), file.line(1), file.line(2), file.line(3), file.line(4)};
}

LineListFile listTitleSettingsLines(const ListTitleSettings& s)
{
    return LineListFile({s.title, s.titlePosition, s.titleSize, s.datePosition, s.dateSize});
}

std::optional<ListTitleSettings> readListTitleSettings(const QString& dir)
{
    return readSettingsAs(dir, QStringLiteral("PrintPat.INI"), listTitleSettingsFromLines);
}

void writeListTitleSettings(const QString& dir, const ListTitleSettings& settings)
{
    writeSettingsFile(dir, QStringLiteral("PrintPat.INI"), listTitleSettingsLines(settings));
}
