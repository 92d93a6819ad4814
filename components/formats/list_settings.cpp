#include "components/formats/list_settings.h"

#include <algorithm>

std::optional<DisplaySettings> readDisplaySettings(const QString& dir)
{
    return readSettingsAs(dir, QStringLiteral("Dsplay.INI"), chooserListsFromLines);
}

void writeDisplaySettings(const QString& dir, const DisplaySettings& settings)
{
    writeSettingsFile(dir, QStringLiteral("Dsplay.INI"), chooserListsLines(settings));
}

ColumnWidths columnWidthsFromLines(const LineListFile& file)
{
    ColumnWidths widths{file.numberPairs(kMaxGridColumns)};
    for (auto& [field, width] : widths.columns) {
        field = std::clamp(field, 0, kMaxGridColumns);
        width = std::clamp(width, 0, kMaxColumnChars);
    }
    return widths;
}

LineListFile columnWidthsLines(const ColumnWidths& widths)
{
    LineListFile file;
    for (const auto& [field, width] : widths.columns)
        file.appendPair(field, width);
    return file;
}

ColumnWidths readListColumnWidths(const QString& dir)
{
    return readSettingsOrDefaults(dir, QStringLiteral("DsplayLen.INI"), columnWidthsFromLines);
}

void writeListColumnWidths(const QString& dir, const ColumnWidths& widths)
{
    writeSettingsFile(dir, QStringLiteral("DsplayLen.INI"), columnWidthsLines(widths));
}

ColumnWidths readSpecColumnWidths(const QString& dir)
{
    return readSettingsOrDefaults(dir, QStringLiteral("FormListLen.INI"), columnWidthsFromLines);
}

void writeSpecColumnWidths(const QString& dir, const ColumnWidths& widths)
{
    writeSettingsFile(dir, QStringLiteral("FormListLen.INI"), columnWidthsLines(widths));
}
