#include "converter/converter_backup.h"
#include "platform/clock.h"
#include "tests/converter/old_data_fixture.h"

using namespace backup;

namespace {

// What the dialogs answer and what the commands showed; every question is
// answered No.
struct Script {
    bool chooseSet = true;
    std::optional<QString> file;
    QStringList instructions, questions, errors;
    QString offeredFolder, offeredName;
};

class ConverterBackupTest : public OldDataFixture {
protected:
    std::unique_ptr<Table> table, sets;
    Script script;
    ConverterBackupSettings settings;

    void SetUp() override
    {
        OldDataFixture::SetUp();
        table = std::make_unique<Table>(*db, "INDATA");
        table->Open();
        sets = std::make_unique<Table>(*db, "INDTLEN");
        sets->Open();
        settings.dataDirectory = dir.path();
    }

    // A width set row made current: `widths` by field number, the others 0.
    void addSet(const char* name, const std::map<int, int>& widths, int postalMode = 0)
    {
        sets->Append();
        sets->FieldByName("データ用途").SetAsString(sj(name));
        for (int no = 1; no <= kStandardFieldCount; ++no)
            sets->FieldByName(recordField(no).name).SetAsInteger(widths.count(no) ? widths.at(no) : 0);
        sets->FieldByName("郵便番号").SetAsInteger(postalMode);
        sets->Post();
    }
    int storedWidth(int no) { return int(sets->FieldByName(recordField(no).name).AsInteger()); }

    void add(const RecordValues& r)
    {
        std::vector<std::optional<SjisString>> values(std::size_t(table->FieldCount()));
        for (const auto& [no, v] : r)
            values[std::size_t(no - 1)] = v;
        table->AppendRecord(values);
    }

    BackupSteps steps()
    {
        BackupSteps s;
        s.chooseWidthSet = [this](const QString& instruction) -> std::optional<WidthSet> {
            script.instructions.push_back(instruction);
            return script.chooseSet ? std::optional(widthSetOf(*sets)) : std::nullopt;
        };
        s.chooseBackupFile = [this](const QString& folder, const QString& name) {
            script.offeredFolder = folder;
            script.offeredName = name;
            return script.file;
        };
        s.chooseRestoreFile = [this](const QString&) { return script.file; };
        s.ask = [this](const QString& question) { script.questions.push_back(question); return false; };
        s.showError = [this](const QString& text) { script.errors.push_back(text); };
        s.inform = [](const QString&) {};
        return s;
    }

    void backUp(const char* name)
    {
        script.file = path(name);
        backUpConverterRecords(*table, *sets, settings, steps());
    }
    void restore(const char* name)
    {
        script.file = path(name);
        restoreConverterRecords(*table, settings, steps());
    }

    std::string bytes(const char* name) const
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : "(missing)";
    }
};

TEST_F(ConverterBackupTest, CsvRunsOverAllRecordsWithTheConvertersPostalScanAndDateName)
{
    settings.layoutMode = 2;
    settings.iniDirFolder = QStringLiteral("/backups/");
    writeFile("KEN_ALL.CSV", sj("13103,\"105  \",\"1050000\",\"ﾄｳｷｮｳﾄ\",\"ﾐﾅﾄｸ\",\"ｲｶ\",\"東京都\",\"港区\","
                                "\"以下に掲載がない場合\",0,0,0,0,0,0\r\n"
                                "13103,\"108  \",\"1080023\",\"ﾄｳｷｮｳﾄ\",\"ﾐﾅﾄｸ\",\"ｼﾊﾞｳﾗ\",\"東京都\",\"港区\","
                                "\"芝浦\",0,0,0,0,0,0\r\n"));
    addSet("通常", {{1, 10}, {4, 30}}, 2);
    add({{1, sj("あ")}, {4, sj("港区芝浦３")}, {56, sj("メモ")}});
    add({{1, sj("い")}, {4, sj("大阪市")}});
    table->Last();
    const FixedClock clock(QDate(2019, 5, 1));
    backUp("b.csv");
    EXPECT_EQ(script.instructions, QStringList{QStringLiteral("バックアップ方法を指定してください。")});
    EXPECT_EQ(script.offeredFolder, QStringLiteral("/backups/"));
    EXPECT_EQ(script.offeredName, QStringLiteral("令和1年05月01日.CSV"));
    EXPECT_EQ(bytes("b.CSV"), "2\r\n" + sj(",あ,東京都港区芝浦３,メモ,1080023\r\n,い,大阪市,,\r\n"));
    EXPECT_EQ(table->FieldByName("使用者住所").AsString(), sj("大阪市")) << "on the last record, unchanged";
}

TEST_F(ConverterBackupTest, AddressBookCsvSkipsNeighboursOfTheSameReading)
{
    addSet("住所録", {{1, 10}, {3, 10}});
    add({{1, sj("あ")}, {2, "1"}, {3, sj("一")}});
    add({{1, sj("あ")}, {2, "2"}, {3, sj("二")}});
    add({{1, sj("い")}, {3, ""}});
    const FixedClock clock(QDate(2019, 5, 1));
    backUp("x.CSV");
    EXPECT_EQ(script.offeredName, QStringLiteral("住所録.CSV"));
    EXPECT_EQ(bytes("x.CSV"), sj("あ,一\r\nい,\r\n"));
}

// Any extension but .CSV/.csv writes the TXT and its TIF; the widths grow
// to the longest value (one below 0 counts as 0) and are stored once.
TEST_F(ConverterBackupTest, TxtGrowsTheWidthsToTheLongestValueAndStoresThem)
{
    for (const char* name : {"t.Csv", "t", "t.txt"}) {
        SCOPED_TRACE(name);
        db->exec("DELETE FROM INDATA; DELETE FROM INDTLEN");
        table->Refresh();
        sets->Refresh();
        addSet("通常", {{1, 10}, {2, 3}, {4, -5}, {5, -3}});
        add({{1, "ABCDEFGHIJKL"}, {2, "12"}, {3, sj("山")}, {5, "Z"}});
        add({{1, "A"}, {2, ""}});
        backUp(name);
        EXPECT_EQ(bytes("t.TIF").substr(0, 16), "12\r\n3\r\n2\r\n0\r\n1\r\n");
        EXPECT_EQ(bytes("t.TXT"), "A" + std::string(17, ' ') + "ABCDEFGHIJKL12 " + sj("山") + "Z");
        sets->Refresh();
        EXPECT_EQ(storedWidth(1), 12);
        EXPECT_EQ(storedWidth(3), 2);
        EXPECT_EQ(storedWidth(4), -5);
        EXPECT_EQ(storedWidth(5), 1);
        QFile::remove(path("t.TIF"));
        QFile::remove(path("t.TXT"));
    }
}

TEST_F(ConverterBackupTest, AddressBookTxtCutsAtACharacterAndKeepsItsWidths)
{
    addSet("住所録", {{1, 5}});
    add({{1, sj("あいう")}});
    add({{1, "AB"}});
    backUp("a.TXT");
    EXPECT_EQ(bytes("a.TXT"), "AB   \r\f" + sj("あい") + " \r\f");
    EXPECT_EQ(storedWidth(1), 5);
}

// An empty table writes only the marker; a file that cannot be replaced leaves
// the older files and the widths as they were; a value with a comma is asked
// about, and No keeps no file.
TEST_F(ConverterBackupTest, MarkerOnlyFailedFilesAndCommaRefusals)
{
    settings.layoutMode = 1;
    addSet("通常", {{1, 4}});
    backUp("e.CSV");
    EXPECT_EQ(bytes("e.CSV"), "1\r\n");
    settings.layoutMode = 0;
    add({{1, "ABCDEF"}});
    writeFile("old.TXT", "older");
    ASSERT_TRUE(QDir(dir.path()).mkdir("old.TIF"));  // cannot be replaced by a file
    EXPECT_THROW(backUp("old.TXT"), FileError);
    EXPECT_EQ(bytes("old.TXT"), "older");
    EXPECT_EQ(storedWidth(1), 4);
    add({{1, "a,b"}});
    backUp("c.CSV");
    ASSERT_EQ(script.questions.size(), 1u);
    EXPECT_FALSE(QFile::exists(path("c.CSV")));
}

// The restore replaces every record; a marker file in mode 0 is counted by
// its marker and fields 1..47 are stored; a refused record undoes it all.
TEST_F(ConverterBackupTest, RestoreReplacesEveryRecordFromCsvOrTxt)
{
    add({{1, sj("まえ")}});
    std::string line(",A");
    for (int i = 2; i <= kExtendedFieldCount; ++i)
        line += "," + std::to_string(i);
    writeFile("r.CSV", "1\r\n" + line + ",1234567\r\n");
    restore("r.CSV");
    ASSERT_EQ(table->RecordCount(), 1);
    EXPECT_EQ(table->FieldByName("メモ").AsString(), "") << "mode 0 stores fields 1..47";
    EXPECT_EQ(table->FieldByName("電話番号").AsString(), "2");
    EXPECT_EQ(table->FieldByName(recordField(47).name).AsString(), "47");

    writeLines("w.TIF", {"3", "0", "2"});
    writeFile("w.TXT", " A 12B\x01 7 ");
    restore("w.TXT");
    EXPECT_EQ(records(), (std::vector<RecordValues>{{{1, "A"}, {3, "12"}}, {{1, "B"}, {3, "7"}}}));
    EXPECT_TRUE(script.errors.empty() && script.questions.empty());

    // A refused record rolls everything back and is named.
    const std::vector<RecordValues> before = records();
    writeLines("d.TIF", {"2"});
    writeFile("d.TXT", "AABBAA");
    restore("d.TXT");
    ASSERT_EQ(script.errors.size(), 1u);
    EXPECT_TRUE(script.errors[0].startsWith(QStringLiteral("3件目のレコード（AA）を登録できません。"))) << script.errors[0].toStdString();
    EXPECT_EQ(records(), before);
}

TEST_F(ConverterBackupTest, FilesTheRestoreRefusesChangeNothing)
{
    add({{1, sj("まえ")}});
    const std::vector<RecordValues> before = records();
    writeFile("n.CSV", "no comma");
    writeLines("z.TIF", {"0"});
    writeFile("z.TXT", "AB");
    writeFile("h.TXT", "AB");
    writeFile("f.CSV", ",a,b\r\n");
    writeFile("e.CSV", "1\r\n");
    script.chooseSet = false;
    for (const char* name : {"n.CSV", "z.TXT", "h.TXT", "f.CSV", "e.CSV"})
        restore(name);
    script.file = dir.filePath(QStringLiteral("住所録.CSV"));  // never opened
    restoreConverterRecords(*table, settings, steps());
    EXPECT_EQ(script.errors.size(), 3u) << script.errors.join("|").toStdString();
    EXPECT_EQ(script.errors[2], QStringLiteral("住所録はリストアできません！"));
    EXPECT_EQ(script.instructions, QStringList{QStringLiteral("リストア方法を指定してください。")});
    EXPECT_EQ(script.questions.size(), 2u) << "the findings and the empty file, answered No";
    EXPECT_EQ(records(), before);
}

}  // namespace
