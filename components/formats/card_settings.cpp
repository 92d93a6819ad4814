#include "components/formats/card_settings.h"

namespace {

const char* const kWidthLabels[kWidthSettingCount] = {
    "自動車登録番号", "登録年月日", "初度登録年月", "自動車の種別", "用途", "自家用事業用の別",
    "型式", "原動機の型式", "自動車型式指定番号", "類別区分番号", "電話番号",
    "", "", "", "", "", "", "",
};

}  // namespace

const char* widthLabel(int setting) { return kWidthLabels[setting - 1]; }

WidthSettings widthSettingsFromLines(const LineListFile& file)
{
    WidthSettings s;
    for (std::size_t i = 0; i < s.widths.size(); ++i)
        if (file.lineCount() > 2 * i + 1)
            s.widths[i] = file.number(2 * i + 1, 0, kMaxWidth);
    return s;
}

LineListFile widthSettingsLines(const WidthSettings& settings)
{
    LineListFile file;
    for (int n = 1; n <= kWidthSettingCount && settings.widths[std::size_t(n - 1)]; ++n) {
        file.append(sj(widthLabel(n)));
        file.append(*settings.widths[std::size_t(n - 1)]);
    }
    return file;
}

std::optional<WidthSettings> readWidthSettings(const QString& dataDir)
{
    return readSettingsAs(dataDir, QStringLiteral("WIDTH.INI"), widthSettingsFromLines);
}

void writeWidthSettings(const QString& dataDir, const WidthSettings& settings)
{
    writeSettingsFile(dataDir, QStringLiteral("WIDTH.INI"), widthSettingsLines(settings));
}

HeightSettings heightSettingsFromLines(const LineListFile& file) { return {file.number(0)}; }

LineListFile heightSettingsLines(const HeightSettings& settings)
{
    LineListFile file;
    file.append(settings.lineCount);
    return file;
}

std::optional<HeightSettings> readHeightSettings(const QString& dataDir)
{
    return readSettingsAs(dataDir, QStringLiteral("HEIGHT.INI"), heightSettingsFromLines);
}

void writeHeightSettings(const QString& dataDir, const HeightSettings& settings)
{
    writeSettingsFile(dataDir, QStringLiteral("HEIGHT.INI"), heightSettingsLines(settings));
}

TitleColorSettings titleColorSettingsFromLines(const LineListFile& file)
{
    TitleColorSettings s;
    s.titleColor = file.line(0);
    if (file.lineCount() >= 2)
        s.indicatorColor = file.line(1);
    return s;
}

LineListFile titleColorSettingsLines(const TitleColorSettings& settings)
{
    return LineListFile({settings.titleColor, settings.indicatorColor});
}

TitleColorSettings readTitleColorSettings(const QString& dir)
{
    return readSettingsOrDefaults(dir, QStringLiteral("TitleColor.INI"), titleColorSettingsFromLines);
}

void writeTitleColorSettings(const QString& dir, const TitleColorSettings& settings)
{
    writeSettingsFile(dir, QStringLiteral("TitleColor.INI"), titleColorSettingsLines(settings));
}
