#include "components/core/data_directory.h"
#include "components/formats/settings_file.h"
#include "components/formats/startup_settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <climits>
#include <gtest/gtest.h>

namespace {

void writeRaw(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

QByteArray readRaw(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(ReadNumber, FollowsTheSettingsNumberRule)
{
    EXPECT_EQ(readNumber("12"), 12);
    EXPECT_EQ(readNumber("  42"), 42);
    EXPECT_EQ(readNumber("-7"), -7);
    EXPECT_EQ(readNumber("+7"), 7);
    EXPECT_EQ(readNumber("1 "), 1);
    EXPECT_EQ(readNumber("12abc"), 12);
    EXPECT_EQ(readNumber("-12abc"), 12);  // stopped early: the sign is dropped
    EXPECT_EQ(readNumber(""), 0);
    EXPECT_EQ(readNumber("abc"), 0);
    EXPECT_EQ(readNumber("-"), 0);
    EXPECT_EQ(readNumber(sj("１２")), 0);  // full-width digits are no digits
    EXPECT_EQ(readNumber("$1F"), 31);
    EXPECT_EQ(readNumber("0x1f"), 31);
    EXPECT_EQ(readNumber("X10"), 16);
    EXPECT_EQ(readNumber("x"), 0);
}

// A number past the range keeps its sign and ends at its own end of it.
TEST(ReadNumber, NeverOverflows)
{
    EXPECT_EQ(readNumber("2147483647"), 2147483647);
    EXPECT_EQ(readNumber("2147483648"), 2147483647);
    EXPECT_EQ(readNumber("-2147483648"), INT_MIN);
    EXPECT_EQ(readNumber("-2147483649"), INT_MIN);
    EXPECT_EQ(readNumber(std::string(5000, '9')), 2147483647);
    EXPECT_EQ(readNumber("-99999999999x"), 2147483647);  // stopped early: the sign is dropped
}

class SettingsFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const QString& name) { return dir.filePath(name); }
};

TEST_F(SettingsFileTest, MissingFileKeepsDefaults)
{
    EXPECT_FALSE(LineListFile::read(path("Find.INI")).has_value());
}

TEST_F(SettingsFileTest, ReadsCrLfAndLfAndPastTheEndAsEmpty)
{
    writeRaw(path("a.INI"), QByteArray("one\r\ntwo\nthree\r\n\r\nfive"));
    auto f = LineListFile::read(path("a.INI"));
    ASSERT_TRUE(f);
    EXPECT_EQ(f->lineCount(), 5u);
    EXPECT_EQ(f->line(0), "one");
    EXPECT_EQ(f->line(1), "two");
    EXPECT_EQ(f->line(2), "three");
    EXPECT_EQ(f->line(3), "");
    EXPECT_EQ(f->line(4), "five");
    EXPECT_EQ(f->line(5), "");
    EXPECT_EQ(f->number(9), 0);
}

TEST_F(SettingsFileTest, WritesWholeFileWithCrLfAndKeepsBytes)
{
    SjisString odd = "\x82\x20\xFF";  // not valid CP932, must survive
    LineListFile f({sj("使用者"), "12", odd, ""});
    f.write(path("b.INI"));
    EXPECT_EQ(readRaw(path("b.INI")), QByteArray::fromStdString(sj("使用者") + "\r\n12\r\n" + odd + "\r\n\r\n"));
    LineListFile shorter({"x"});
    shorter.write(path("b.INI"));
    EXPECT_EQ(readRaw(path("b.INI")), QByteArray("x\r\n"));
    auto back = LineListFile::read(path("b.INI"));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->lines(), std::vector<SjisString>{"x"});
}

TEST_F(SettingsFileTest, WriteToAFolderThatCannotTakeItFails)
{
    LineListFile f({"x"});
    EXPECT_THROW(f.write(path("missing-folder/c.INI")), FileError);
}

TEST_F(SettingsFileTest, TwoListsEndAtAnEmptyLine)
{
    LineListFile f({"a", "b", "", "c", "d"});
    std::size_t next = 0;
    EXPECT_EQ(f.listFrom(0, &next), (std::vector<SjisString>{"a", "b"}));
    EXPECT_EQ(next, 3u);
    EXPECT_EQ(f.listFrom(next, &next), (std::vector<SjisString>{"c", "d"}));
    EXPECT_EQ(f.listFrom(next), std::vector<SjisString>{});
}

TEST(LineListFile, AppendListWritesWhatListFromReads)
{
    LineListFile f;
    f.appendList({"a", "b"});
    f.appendList({});
    f.appendList({"c"});
    EXPECT_EQ(f.lines(), (std::vector<SjisString>{"a", "b", "", "", "c", ""}));
    std::size_t next = 0;
    EXPECT_EQ(f.listFrom(0, &next), (std::vector<SjisString>{"a", "b"}));
    EXPECT_EQ(f.listFrom(next, &next), std::vector<SjisString>{});
    EXPECT_EQ(f.listFrom(next), std::vector<SjisString>{"c"});
}

TEST(LineListFile, NumberPairsReadWhatAppendPairWrites)
{
    LineListFile f;
    f.appendPair(3, 13);
    f.appendPair(1, 0);
    EXPECT_EQ(f.lines(), (std::vector<SjisString>{"3", "13", "1", "0"}));
    EXPECT_EQ(f.numberPairs(), (std::vector<std::pair<int, int>>{{3, 13}, {1, 0}}));
    // A last line without a partner pairs with 0.
    EXPECT_EQ(LineListFile({"4", "x", "7"}).numberPairs(), (std::vector<std::pair<int, int>>{{4, 0}, {7, 0}}));
}

TEST(SplitLines, AcceptCrLfAndLfAndKeepALastLineWithoutEnd)
{
    const auto lines = splitLines("a\r\nb\nc");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "a");
    EXPECT_EQ(lines[1], "b");
    EXPECT_EQ(lines[2], "c");
    EXPECT_EQ(splitLines("a\r\n").size(), 1u);
    EXPECT_EQ(splitLines("a\rb\n\n"), (std::vector<std::string_view>{"a", "b", ""}));
}

TEST_F(SettingsFileTest, RecordLayoutModeFromDataBaseIni)
{
    QString d = dir.path();
    EXPECT_EQ(readRecordLayoutMode(d), 0);
    auto mode = [&](const QByteArray& content) {
        writeRaw(path("DataBase.INI"), content);
        return readRecordLayoutMode(d);
    };
    EXPECT_EQ(mode("0\r\n"), 0);
    EXPECT_EQ(mode("\r\n"), 0);
    EXPECT_EQ(mode("A\r\n"), 0);
    EXPECT_EQ(mode("1 \r\n"), 1);
    EXPECT_EQ(mode("2\r\n"), 2);
    EXPECT_EQ(mode("12\r\n"), 12);
}

TEST_F(SettingsFileTest, FilesAreFoundWhateverTheirCase)
{
    writeRaw(path("Pelmora.EXE"), "x");
    EXPECT_EQ(resolveFile(dir.path(), "Pelmora.exe"), path("Pelmora.EXE"));
    EXPECT_TRUE(fileExists(dir.path(), "PELMORA.EXE"));
    EXPECT_FALSE(fileExists(dir.path(), "Ostrivan.exe"));
    EXPECT_EQ(resolveFile(dir.path(), "New.INI"), path("New.INI"));
    // Writing to a name that exists in another case writes that file.
    writeRaw(path("DATABASE.ini"), "1\r\n");
    EXPECT_EQ(readRecordLayoutMode(dir.path()), 1);
}

TEST(PathFromSettings, DecodesAndTurnsBackslashes)
{
    EXPECT_EQ(pathFromSettings(sj("D:\\バックアップ\\")), QString::fromUtf8("D:/バックアップ/"));
}

}  // namespace

namespace {

// A file past the limit is refused whole, and the message names it; one at
// the limit reads.
TEST(SettingsFileSize, AFileOverTheLimitIsRefusedNamingIt)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("CarName.INI"));
    const struct {
        qint64 size;
        bool refused;
    } cases[] = {{0, false}, {kSettingsFileLimit, false}, {kSettingsFileLimit + 1, true}, {100 << 20, true}};
    for (const auto& c : cases) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_TRUE(f.resize(c.size));
        f.close();
        try {
            const auto file = LineListFile::read(path);
            EXPECT_FALSE(c.refused) << c.size;
            EXPECT_TRUE(file.has_value());
        } catch (const FileError& e) {
            EXPECT_TRUE(c.refused) << c.size;
            EXPECT_TRUE(e.message().contains(QStringLiteral("CarName.INI"))) << e.message().toStdString();
        }
    }
}

}  // namespace
