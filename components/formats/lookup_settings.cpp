#include "components/formats/lookup_settings.h"

PostDataColumns postDataColumnsFromLines(const LineListFile& file)
{
    PostDataColumns result;
    for (std::size_t i = 0; i < result.columns.size(); ++i)
        result.columns[i] = file.number(i, 0, kMaxPostDataColumn);
    return result;
}

LineListFile postDataColumnsLines(const PostDataColumns& columns)
{
    LineListFile file;
    for (int c : columns.columns)
        file.append(c);
    return file;
}

PostDataColumns readPostDataColumns(const QString& dataDir)
{
    return readSettingsOrDefaults(dataDir, QStringLiteral("PostData.INI"), postDataColumnsFromLines);
}

void writePostDataColumns(const QString& dataDir, const PostDataColumns& columns)
{
    writeSettingsFile(dataDir, QStringLiteral("PostData.INI"), postDataColumnsLines(columns));
}

CodeFileList codeFileListFromLines(const LineListFile& file) { return {file.lines()}; }

LineListFile codeFileListLines(const CodeFileList& list) { return LineListFile(list.paths); }

CodeFileList readCodeFileList(const QString& dataDir)
{
    return readSettingsOrDefaults(dataDir, QStringLiteral("CodeFile.INI"), codeFileListFromLines);
}

void writeCodeFileList(const QString& dataDir, const CodeFileList& list)
{
    writeSettingsFile(dataDir, QStringLiteral("CodeFile.INI"), codeFileListLines(list));
}

BodyShapeCodes bodyShapeCodesFromLines(const LineListFile& file)
{
    BodyShapeCodes result;
    for (std::size_t i = 0; i < file.lineCount() && i < kMaxBodyShapeCodes; ++i) {
        const std::string_view line = file.line(i);
        const std::size_t comma = line.find(',');
        if (comma == std::string_view::npos)
            result.codes.push_back({SjisString(line), {}});
        else
            result.codes.push_back({SjisString(line.substr(0, comma)), SjisString(line.substr(comma + 1))});
    }
    return result;
}

LineListFile bodyShapeCodesLines(const BodyShapeCodes& codes)
{
    LineListFile file;
    for (const BodyShapeCode& c : codes.codes)
        file.append(c.name.empty() ? c.code : c.code + "," + c.name);
    return file;
}

BodyShapeCodes readBodyShapeCodes(const QString& dataDir)
{
    return readSettingsOrDefaults(dataDir, QStringLiteral("CodeType.INI"), bodyShapeCodesFromLines);
}

void writeBodyShapeCodes(const QString& dataDir, const BodyShapeCodes& codes)
{
    writeSettingsFile(dataDir, QStringLiteral("CodeType.INI"), bodyShapeCodesLines(codes));
}
