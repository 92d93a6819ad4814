#include "components/formats/choice_files.h"

ChoiceEntries choiceEntriesFromLines(const LineListFile& file) { return {file.lines()}; }

LineListFile choiceEntriesLines(const ChoiceEntries& choices) { return LineListFile(choices.entries); }

std::optional<ChoiceEntries> readChoiceEntries(const QString& dataDir, const char* file)
{
    return readSettingsAs(dataDir, QString::fromLatin1(file), choiceEntriesFromLines);
}

void writeChoiceEntries(const QString& dataDir, const char* file, const ChoiceEntries& choices)
{
    writeSettingsFile(dataDir, QString::fromLatin1(file), choiceEntriesLines(choices));
}

const SjisString& SectionTitles::title(std::size_t line) const
{
    static const SjisString empty;
    return line < titles.size() ? titles[line] : empty;
}

SectionTitles sectionTitlesFromLines(const LineListFile& file) { return {file.lines()}; }

LineListFile sectionTitlesLines(const SectionTitles& titles) { return LineListFile(titles.titles); }

std::optional<SectionTitles> readSectionTitles(const QString& dataDir, const char* file)
{
    return readSettingsAs(dataDir, QString::fromLatin1(file), sectionTitlesFromLines);
}

void writeSectionTitles(const QString& dataDir, const char* file, const SectionTitles& titles)
{
    writeSettingsFile(dataDir, QString::fromLatin1(file), sectionTitlesLines(titles));
}
