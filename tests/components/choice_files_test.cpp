#include "components/formats/choice_files.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(ChoiceFiles, RoundTripThroughBytesWithEmptyEntries)
{
    const ChoiceEntries choices{{sj("群"), "", sj("群馬")}};
    const SjisString bytes = choiceEntriesLines(choices).toBytes();
    EXPECT_EQ(bytes, sj("群\r\n\r\n群馬\r\n"));
    EXPECT_EQ(choiceEntriesFromLines(LineListFile::fromBytes(bytes)).entries, choices.entries);

    const SectionTitles titles{{sj("色"), ""}};
    EXPECT_EQ(sectionTitlesLines(titles).toBytes(), sj("色\r\n\r\n"));
    EXPECT_EQ(sectionTitlesFromLines(LineListFile::fromBytes(sj("色\r\n\r\n"))).titles, titles.titles);
}

TEST(ChoiceFiles, EmptyAndShortFilesAndMissingFiles)
{
    EXPECT_TRUE(choiceEntriesFromLines(LineListFile::fromBytes("")).entries.empty());
    const SectionTitles three = sectionTitlesFromLines(LineListFile::fromBytes("a\r\nb\r\nc"));
    EXPECT_EQ(three.title(2), "c");
    EXPECT_EQ(three.title(7), "");

    QTemporaryDir dir;
    EXPECT_FALSE(readChoiceEntries(dir.path(), "CarNo.INI"));
    EXPECT_FALSE(readSectionTitles(dir.path(), "CarMemo2.INI"));
    writeChoiceEntries(dir.path(), "CarNo.INI", {});
    EXPECT_TRUE(readChoiceEntries(dir.path(), "CarNo.INI")->entries.empty());
}

}  // namespace
