// The files shared with the print program: the pattern names and the menu
// items they caption, the new pattern's number, the five hand-off lines and
// the own company's seven.
#include "components/formats/print_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

PrintNameList names(std::string_view bytes) { return printNamesFromLines(LineListFile::fromBytes(bytes)); }

std::vector<std::string> numbersOf(const PrintNameList& list)
{
    std::vector<std::string> numbers;
    for (const PrintName& pair : list.pairs)
        numbers.push_back(pair.number);
    return numbers;
}

void writeRaw(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

TEST(PrintNames, PairsOfTheFileAndTheMenuItemsTheyCaption)
{
    const PrintNameList three = names(sj("見積書\r\n2\r\n請求書\r\n 3x\r\n新規追加\r\n4\r\n"));
    ASSERT_EQ(three.pairs.size(), 3u);
    EXPECT_EQ(three.itemName(2), sj("見積書"));
    EXPECT_EQ(three.itemName(3), sj("請求書"));
    EXPECT_EQ(three.itemName(4), std::nullopt) << "the last pair never gets an item";
    EXPECT_EQ(three.itemName(1), std::nullopt);
    EXPECT_EQ(three.patternOfItem(3), 3) << "leading blanks skipped, leading digits count";
    EXPECT_EQ(three.patternOfItem(4), 4);
    EXPECT_EQ(three.patternOfItem(5), 0);

    const PrintNameList gaps = names(sj("\r\n5\r\n新規追加\r\n6\r\n車検\r\nabc\r\n新規追加\r\n9\r\n"));
    EXPECT_EQ(gaps.itemName(2), std::nullopt);
    EXPECT_EQ(gaps.itemName(3), std::nullopt);
    EXPECT_EQ(gaps.itemName(4), sj("車検")) << "item n keeps to pair n - 1 after gaps";
    EXPECT_EQ(gaps.patternOfItem(4), 0);
}

TEST(PrintNames, OddFilesEmptyEndingsAndLongFiles)
{
    using N = std::vector<std::string>;
    EXPECT_EQ(numbersOf(names("a\r\n2\r\n\r\n\r\n\r\n")), N{"2"}) << "empty lines at the end add no pair";
    EXPECT_EQ(numbersOf(names("a\r\n2\r\nb")), (N{"2", ""}));
    EXPECT_EQ(numbersOf(names("a\n2\rb\r\n3\n")), (N{"2", "3"}));
    EXPECT_TRUE(names("\r\n\r\n").pairs.empty());

    SjisString many;
    for (int i = 1; i <= 80; ++i)
        many += "p" + std::to_string(i) + "\r\n" + std::to_string(i + 1) + "\r\n";
    const PrintNameList long_ = names(many);
    EXPECT_EQ(long_.pairs.size(), 80u);
    EXPECT_EQ(long_.patternOfItem(23), 23);
    EXPECT_EQ(printNamesLines(long_).toBytes(), many) << "no pair lost past any table's size";

    QTemporaryDir dir;
    EXPECT_EQ(readPrintNames(dir.path()), std::nullopt);
    for (const char* empty : {"", "\r\n\r\n"}) {  // an empty file counts as a missing one
        writeRaw(dir.filePath("PrintName.INI"), empty);
        EXPECT_EQ(readPrintNames(dir.path()), std::nullopt) << empty;
    }
}

// The new pattern's number never falls on pattern 1 or on a named pattern.
TEST(PrintNames, TheNewPatternKeepsAFreeNumberOrTakesTheNextAboveAll)
{
    const struct {
        const char* file;
        const char* number;
    } cases[] = {
        {"a\r\n2\r\nb\r\n3\r\nz\r\n4\r\n", "4"},   // free: kept
        {"a\r\n2\r\nb\r\n7\r\nz\r\n5\r\n", "5"},   // free though below the highest
        {"a\r\n2\r\nb\r\n3\r\nz\r\n3\r\n", "4"},   // taken
        {"a\r\n5\r\nb\r\n2\r\nz\r\n2\r\n", "6"},   // taken, next above the highest
        {"a\r\n2\r\nz\r\n1\r\n", "3"},             // the certificate's
        {"a\r\n2\r\nz\r\n\r\n", "3"},              // none
        {"a\r\n0\r\nz\r\n0\r\n", "2"},             // no named number above 1
        {"z\r\n9\r\n", "9"},                       // only the new pattern
        {"", "2"},                                 // no file read
    };
    for (const auto& c : cases) {
        PrintNameList list = names(c.file);
        list.settleNewPattern();
        ASSERT_FALSE(list.pairs.empty());
        EXPECT_EQ(list.pairs.back().name, sj("新規追加")) << c.file;
        EXPECT_EQ(list.pairs.back().number, c.number) << c.file;
    }
}

TEST(PrintHandOff, FiveLinesOrARefusalThatWritesNothing)
{
    const PrintHandOff sorted{sj("使用者ふりが"), sj("使用者 = 'あ*'"), "12", 3, PrintMode::Print};
    EXPECT_EQ(handOffLines(sorted).toBytes(), sj("使用者ふりが\r\n使用者 = 'あ*'\r\n12\r\n3\r\n印刷\r\n"));
    EXPECT_EQ(handOffLines({"", "", "1", 0, PrintMode::Settings}).toBytes(), sj("\r\n\r\n1\r\n0\r\n設定\r\n"));

    QTemporaryDir dir;
    for (const SjisString& bad : {SjisString("a\rb"), SjisString("a\nb"), SjisString("\x82"), SjisString("a\xff")}) {
        for (int line = 0; line < 3; ++line) {
            PrintHandOff h{"i", "f", "1", 2, PrintMode::Print};
            (line == 0 ? h.indexName : line == 1 ? h.filter : h.currentRecord) = bad;
            EXPECT_THROW(writeHandOff(dir.path(), h), PrintFileRefusal) << line;
        }
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("Pelmora.INI")));
    writeHandOff(dir.path(), sorted);
    QFile f(dir.filePath("Pelmora.INI"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll().toStdString(), handOffLines(sorted).toBytes());
}

TEST(OwnCompany, SevenLinesReadShortOrLongAndWrittenWhole)
{
    const OwnCompany three = ownCompanyFromLines(LineListFile::fromBytes(sj("東京都\r\n山田自動車\r\n山田自動車㈱\r\n")));
    EXPECT_EQ(three.lines[2], sj("山田自動車㈱"));
    EXPECT_EQ(three.lines[3], "");
    EXPECT_EQ(ownCompanyLines(three).toBytes(), sj("東京都\r\n山田自動車\r\n山田自動車㈱\r\n\r\n\r\n\r\n\r\n"));
    EXPECT_EQ(ownCompanyFromLines(LineListFile::fromBytes("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n")).lines[6], "7");

    OwnCompany broken = three;
    broken.lines[4] = "a\r\nb";
    QTemporaryDir dir;
    EXPECT_THROW(writeOwnCompany(dir.path(), broken), PrintFileRefusal);
    EXPECT_FALSE(readOwnCompany(dir.path()));
    writeOwnCompany(dir.path(), three);
    EXPECT_EQ(readOwnCompany(dir.path()), three);
}

TEST(PrintProgram, FoundInAnyCaseAsAFileWithItsFolder)
{
    QTemporaryDir dir;
    EXPECT_TRUE(findPrintProgram(dir.path()).isEmpty());
    QDir(dir.path()).mkdir("pelmora.exe");
    EXPECT_TRUE(findPrintProgram(dir.path()).isEmpty()) << "a folder is no program";
    QDir(dir.path()).rmdir("pelmora.exe");
    writeRaw(dir.filePath("PELMORA.exe"), "x");
    EXPECT_EQ(findPrintProgram(dir.path()), dir.filePath("PELMORA.exe"));
    EXPECT_TRUE(findPrintFolder(dir.path()).isEmpty());
    QDir(dir.path()).mkdir("PELMORA");
    EXPECT_EQ(findPrintFolder(dir.path()), dir.filePath("PELMORA"));
}

}  // namespace
