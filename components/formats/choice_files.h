// The choice lists of the card's combo boxes and the renamable section
// titles, in the data directory.
//
// Choice-list files CarNo.INI, CarCategory.INI, CarDate.INI, CarType1.INI,
// CarUse.INI, CarOther.INI, CarType2.INI, CarName.INI, FuelType.INI,
// CarTerm.INI, CarIns.INI, CarMemo.INI, read whole (an empty line is an
// empty entry):
//
//   line | meaning                       | default
//   -----+-------------------------------+---------------------------------
//   n    | n-th entry, in display order  | the boxes' built-in entries
//
// Title files:
//
//   file          | line   | meaning                                   | default
//   --------------+--------+-------------------------------------------+------------------------
//   CarInsure.INI | 1      | title of the compulsory-insurance section | "自動車損害賠償責任保険"
//   CarMemo1.INI  | 1      | title of the memo                         | "メ　　　モ"
//   CarMemo2.INI  | 1 .. 8 | titles of the extension row, left to      | the design captions
//                 |        | right (a line past the end: empty title)  |
#pragma once

#include "components/core/cp932.h"
#include "components/formats/settings_file.h"

#include <QString>
#include <optional>
#include <vector>

struct ChoiceEntries {
    std::vector<SjisString> entries;
};

ChoiceEntries choiceEntriesFromLines(const LineListFile& file);
LineListFile choiceEntriesLines(const ChoiceEntries& choices);
std::optional<ChoiceEntries> readChoiceEntries(const QString& dataDir, const char* file);
void writeChoiceEntries(const QString& dataDir, const char* file, const ChoiceEntries& choices);

struct SectionTitles {
    std::vector<SjisString> titles;  // by line

    // The title of a line (from 0); past the last line an empty title.
    const SjisString& title(std::size_t line) const;
};

SectionTitles sectionTitlesFromLines(const LineListFile& file);
LineListFile sectionTitlesLines(const SectionTitles& titles);
std::optional<SectionTitles> readSectionTitles(const QString& dataDir, const char* file);
void writeSectionTitles(const QString& dataDir, const char* file, const SectionTitles& titles);
