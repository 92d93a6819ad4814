#include "components/formats/query_settings.h"

#include "components/core/record_fields.h"

namespace {

FieldChoices readFieldChoices(const QString& dir, const QString& name)
{
    return readSettingsOrDefaults(dir, name, fieldChoicesFromLines);
}

}  // namespace

FieldChoices fieldChoicesFromLines(const LineListFile& file) { return {file.lines()}; }

LineListFile fieldChoicesLines(const FieldChoices& choices) { return LineListFile(choices.fields); }

FieldChoices readFindFields(const QString& dir) { return readFieldChoices(dir, QStringLiteral("Find.INI")); }

void writeFindFields(const QString& dir, const FieldChoices& choices)
{
    writeSettingsFile(dir, QStringLiteral("Find.INI"), fieldChoicesLines(choices));
}

FieldChoices readFilterFields(const QString& dir) { return readFieldChoices(dir, QStringLiteral("Filter.INI")); }

void writeFilterFields(const QString& dir, const FieldChoices& choices)
{
    writeSettingsFile(dir, QStringLiteral("Filter.INI"), fieldChoicesLines(choices));
}

FieldChoices readSortFields(const QString& dir) { return readFieldChoices(dir, QStringLiteral("Sort.INI")); }

void writeSortFields(const QString& dir, const FieldChoices& choices)
{
    writeSettingsFile(dir, QStringLiteral("Sort.INI"), fieldChoicesLines(choices));
}

std::optional<CopySettings> readCopySettings(const QString& dir)
{
    return readSettingsAs(dir, QStringLiteral("Copy.INI"), chooserListsFromLines);
}

void writeCopySettings(const QString& dir, const CopySettings& settings)
{
    writeSettingsFile(dir, QStringLiteral("Copy.INI"), chooserListsLines(settings));
}
