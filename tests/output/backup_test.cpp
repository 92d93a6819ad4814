#include "output/backup.h"

#include "components/formats/settings_file.h"
#include "platform/clock.h"
#include "record_book/model/record_book.h"
#include "tests/components/random_values.h"
#include "tests/components/table_fixture.h"

#include <QDir>
#include <algorithm>
#include <QFile>
#include <deque>
#include <sys/resource.h>
#include <csignal>

using namespace backup;

namespace {

using Record = std::vector<SjisString>;

// What the dialogs answer and what the commands showed.
struct Script {
    std::optional<WidthSet> set;
    std::optional<QString> file;
    std::deque<bool> answers;
    QStringList instructions, questions, errors, notes;
    QString offeredFolder, offeredName;
};

WidthSet fullSet()
{
    WidthSet set{sj("通常")};
    set.widths.fill(10);
    return set;
}

std::vector<Record> randomRecords(unsigned seed, int count, int firstSerial = 0)
{
    RandomValues random(seed);
    std::vector<Record> records;
    for (int i = 0; i < count; ++i)
        records.push_back(random.record(firstSerial + i));
    return records;
}

// The values a backup in `mode` carries: fields 1..47, and 48..56 in mode
// 1 or メモ in mode 2; sorted on request.
std::vector<Record> carried(const std::vector<Record>& records, int mode, bool sort = false)
{
    std::vector<Record> out;
    for (const Record& r : records) {
        out.emplace_back(r.begin(), r.begin() + kStandardFieldCount);
        if (mode == 1)
            out.back().insert(out.back().end(), r.begin() + kStandardFieldCount, r.end());
        else if (mode == 2)
            out.back().push_back(r.back());
    }
    if (sort)
        std::sort(out.begin(), out.end());
    return out;
}

// A CSV backup of the records as the backup writes it with a full set.
SjisString csvFile(const std::vector<Record>& records, int mode)
{
    SjisString file(csvMarkerLine(mode));
    for (const Record& values : carried(records, mode))
        appendCsvLine(file, {values.begin(), values.end()}, false, std::nullopt);
    return file;
}

// The record book over a database of its own, in a layout mode.
class BackupTest : public TableTest {
protected:
    std::unique_ptr<RecordBook> book;
    Script script;

    void load(int layoutMode = 0)
    {
        writeSettingsFile(dir.path(), QStringLiteral("DataBase.INI"), LineListFile({std::to_string(layoutMode)}));
        book = std::make_unique<RecordBook>(*db);
        book->load(dir.path());
    }
    // Records put straight into the table, past the hooks.
    void seed(const std::vector<Record>& records)
    {
        Table t(*db, "INDATA");
        t.Open();
        for (const Record& r : records)
            t.AppendRecord({r.begin(), r.end()});
        if (book)
            book->records().Refresh();
    }
    static std::vector<Record> rowsOf(Table& t)
    {
        std::vector<Record> out;
        for (int i = 0; i < t.RecordCount(); ++i)
            out.push_back(t.rowValues(i));
        return out;
    }
    std::vector<Record> rows() { return rowsOf(book->records()); }
    BackupSteps steps()
    {
        BackupSteps s;
        s.chooseWidthSet = [this](const QString& instruction) {
            script.instructions.push_back(instruction);
            return script.set;
        };
        s.chooseBackupFile = [this](const QString& folder, const QString& name) {
            script.offeredFolder = folder;
            script.offeredName = name;
            return script.file;
        };
        s.chooseRestoreFile = [this](const QString&) { return script.file; };
        s.ask = [this](const QString& question) {
            script.questions.push_back(question);
            EXPECT_FALSE(script.answers.empty()) << "unexpected question: " << question.toStdString();
            const bool yes = !script.answers.empty() && script.answers.front();
            if (!script.answers.empty())
                script.answers.pop_front();
            return yes;
        };
        s.showError = [this](const QString& text) { script.errors.push_back(text); };
        s.inform = [this](const QString& text) { script.notes.push_back(text); };
        return s;
    }
    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    void backUp(const WidthSet& set, const char* name)
    {
        script.set = set;
        script.file = path(name);
        backUpRecords(*book, steps());
    }
    void restore(const char* name)
    {
        script.file = path(name);
        restoreRecords(*book, steps());
    }
    SjisString bytes(const char* name) const
    {
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
        const QByteArray b = f.readAll();
        return SjisString(b.constData(), std::size_t(b.size()));
    }
    void write(const char* name, std::string_view data) const
    {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data.data(), qint64(data.size()));
    }
};

}  // namespace

// Records with anything but "," in them come back from their backup, with
// their insurance history as it was, whatever records the table held; a
// file of sorted records restored and backed up again is itself byte for
// byte. In mode 0, which keeps fields 1..47, a file with a marker line
// has its values counted by the marker.
TEST_F(BackupTest, ARestoreOfABackupGivesTheRecordsBackAndItsBackupTheFile)
{
    for (int mode : {0, 1, 2}) {
        SCOPED_TRACE(testing::Message() << "mode " << mode);
        db->exec("DELETE FROM INDATA");
        load(mode);
        seed(randomRecords(unsigned(mode), 40));
        const std::vector<Record> before = rows();
        backUp(fullSet(), "控え.CSV");
        seed(randomRecords(unsigned(mode + 10), 5, 100));
        restore("控え.CSV");
        EXPECT_EQ(carried(rows(), mode), carried(before, mode));
        EXPECT_EQ(book->records().RecNo(), 1);
        EXPECT_FALSE(book->BulkRestoring);
        EXPECT_TRUE(script.questions.empty() && script.errors.empty() && script.notes.empty());

        std::vector<Record> records = carried(randomRecords(unsigned(mode + 20), 40), 1);
        std::sort(records.begin(), records.end(), [](const Record& a, const Record& b) {
            return std::lexicographical_compare(a.begin(), a.begin() + kPrimaryKeyFieldCount, b.begin(),
                                                b.begin() + kPrimaryKeyFieldCount);
        });
        write("元.CSV", csvFile(records, mode));
        restore("元.CSV");
        backUp(fullSet(), "写し.csv");
        EXPECT_EQ(bytes("写し.CSV"), csvFile(records, mode));
    }
    const std::vector<Record> records = randomRecords(6, 6);
    for (int marker : {1, 2}) {
        SCOPED_TRACE(testing::Message() << "marker " << marker << " in mode 0");
        load(0);
        write("m.CSV", csvFile(records, marker));
        restore("m.CSV");
        EXPECT_EQ(carried(rows(), 0, true), carried(records, 0, true));
        EXPECT_EQ(get(book->records(), "メモ"), "");
    }
}

TEST_F(BackupTest, ASplitRestoreAddsTheFileAndLeavesOutWhatTheTableRefuses)
{
    load();
    const std::vector<Record> table = randomRecords(1, 20), added = randomRecords(2, 10, 100);
    seed(table);
    std::vector<Record> file = added;
    for (int i = 0; i < 5; ++i) {
        file.push_back(table[std::size_t(i) * 3]);
        file.back()[41] = "other remarks";  // the key decides
    }
    file.push_back(added[4]);
    file.push_back(randomRecords(3, 1, 200)[0]);
    file.back()[23] = "abc";  // not a number
    write("顧客_分割.CSV", csvFile(file, 0));
    script.answers = {true};
    restore("顧客_分割.CSV");
    std::vector<Record> expected = table;
    expected.insert(expected.end(), added.begin(), added.end());
    EXPECT_EQ(carried(rows(), 0, true), carried(expected, 0, true));
    ASSERT_EQ(script.questions.size(), 1u);
    EXPECT_TRUE(script.questions[0].startsWith(QStringLiteral("17件のうち7件のレコードは登録できません。\r11件目：キー違反です。")));
}

// A file the restore would misread, or records the table refuses, stop it
// or ask first; until the user agrees nothing changes. An empty table
// writes no record line.
TEST_F(BackupTest, AMalformedFileStopsOrAsksBeforeAnythingChanges)
{
    const SjisString good = csvFile(randomRecords(4, 3, 50), 0);
    std::vector<Record> refused = randomRecords(8, 2, 300);
    refused[1][23] = "abc";  // not a number
    const SjisString oneRefused = csvFile(refused, 0);
    refused[0][23] = "abc";
    struct Case {
        const char *name, *file;
        SjisString data;
        std::deque<bool> answers;
        bool replaced;
        std::size_t errors;
    };
    const std::vector<Case> cases = {
        {"no comma", "a.CSV", "just some text\r\n", {}, false, 1},
        {"an address book", "住所録.CSV", good, {}, false, 1},
        {"findings, No", "b.CSV", good + ",a,b,\r\n", {false}, false, 0},
        {"findings, Yes", "b.CSV", good + ",a,b,\r\n", {true}, true, 0},
        {"empty, No", "c.CSV", "", {false}, false, 0},
        {"empty, Yes", "c.CSV", "1\r\n", {true}, true, 0},
        {"split, empty", "e_分割.CSV", "", {}, false, 0},
        {"split, marker only", "e_分割.CSV", "1\r\n", {}, false, 0},
        {"all refused", "f.CSV", csvFile(refused, 0), {}, false, 1},
        {"one of two refused, No", "f.CSV", oneRefused, {false}, false, 0},
        {"negative widths", "d.TXT", "abcd", {}, false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        db->exec("DELETE FROM INDATA");
        load();
        seed(randomRecords(5, 4));
        const std::vector<Record> before = rows();
        script = {};
        script.answers = c.answers;
        write(c.file, c.data);
        write("d.TIF", "0\r\n0\r\n-4\r\n");  // a width file no backup writes
        restore(c.file);
        EXPECT_EQ(rows() == before, !c.replaced);
        EXPECT_EQ(script.errors.size(), c.errors);
        EXPECT_TRUE(script.answers.empty());
    }
    EXPECT_EQ(script.errors, QStringList{restoreStopMessage({BackupFinding::Kind::NegativeWidth, 0, 0, 0, 3})});

    for (int mode : {0, 1}) {
        db->exec("DELETE FROM INDATA");
        load(mode);
        script = {};
        backUp(fullSet(), "empty.CSV");
        EXPECT_EQ(bytes("empty.CSV"), mode ? "1\r\n" : "");
        script.answers = {true};
        restore("empty.CSV");
        EXPECT_EQ(script.questions, QStringList{emptyBackupQuestion()});
    }
}

// Any other extension restores the TXT file of the base name, with the
// widths of its TIF file (any case) or, without one, of a chosen set.
TEST_F(BackupTest, AFixedWidthFileRestoresWithItsWidthFileOrAChosenSet)
{
    load(1);
    Widths widths{};
    widths[0] = 12;
    widths[2] = 6;
    widths[13] = 8;
    std::array<std::string_view, kStandardFieldCount> values{};
    SjisString file;
    const SjisString readings[] = {sj("あべ"), sj("いとう")}, insurer = sj("あおば");
    values[2] = "  x";
    values[13] = insurer;
    for (const SjisString& reading : readings) {
        values[0] = reading;
        appendTxtRecord(file, values, widths, false);
    }
    write("旧.txt", file + "ab");
    write("旧.Tif", tifFile(widths).toBytes());
    script.answers = {true};  // the left-over bytes
    restore("旧.dat");
    ASSERT_EQ(book->records().RecordCount(), 2);
    EXPECT_EQ(get(book->records(), "使用者ふりがな"), "あべ");
    EXPECT_EQ(get(book->records(), "使用者"), "x");
    EXPECT_EQ(get(book->records(), "自賠責保険機関"), "あおば");
    EXPECT_EQ(get(book->records(), "メモ"), "");

    QFile::remove(path("旧.Tif"));
    db->exec("DELETE FROM INDATA");
    book->records().Refresh();
    script = {};
    script.set = WidthSet{};
    script.set->widths = widths;
    script.answers = {true};
    restore("旧.TXT");
    EXPECT_EQ(script.instructions, QStringList{QStringLiteral("リストア方法を指定してください。")});
    EXPECT_EQ(book->records().RecordCount(), 2);
    const std::vector<Record> before = rows();
    script = {};
    restore("旧.TXT");  // the chooser cancelled
    EXPECT_EQ(rows(), before);
}

TEST_F(BackupTest, ARestoreUnderAFilterReplacesTheShownRecordsOnly)
{
    load();
    std::vector<Record> records = randomRecords(7, 6);
    for (std::size_t i = 0; i < records.size(); ++i)
        records[i][0] = sj(i % 2 ? "か" : "あ") + std::to_string(i);
    seed(records);
    write("f.CSV", csvFile(randomRecords(8, 2, 100), 0));
    book->records().SetFilter(sj("(使用者ふりがな = 'あ*')"));
    book->records().SetFiltered(true);
    restore("f.CSV");
    book->records().SetFiltered(false);
    const std::vector<Record> all = rows();
    EXPECT_EQ(all.size(), 5u);
    EXPECT_EQ(std::count_if(all.begin(), all.end(), [](const Record& r) { return r[0].rfind(sj("か"), 0) == 0; }), 3);
}

// The walk takes the records the table shows, in its order, from the first
// or ("追加") from the current one, and leaves the table on its last
// record; the file ends in ".CSV" whatever extension was chosen.
TEST_F(BackupTest, TheBackupWalksTheShownRecordsFromTheFirstOrTheCurrentOne)
{
    writeSettingsFile(dir.path(), QStringLiteral("CarSave.INI"), LineListFile({sj("控"), sj("版")}));
    writeSettingsFile(dir.path(), QStringLiteral("INIDIR.INI"), LineListFile({"C:\\Backup\\"}));
    load();
    seed({{sj("いとう"), "1"}, {sj("あべ"), "2"}, {sj("かとう"), "3"}, {sj("あさい"), "4"}});
    WidthSet set{sj("二列")};
    set.widths[0] = set.widths[1] = 10;
    Table& t = book->records();
    t.SetFilter(sj("(使用者ふりがな >= 'あ') and (使用者ふりがな <= 'い')"));
    t.SetFiltered(true);
    const FixedClock clock(QDate(2021, 1, 9));
    backUp(set, "全件.TXT");
    EXPECT_EQ(script.offeredFolder, QStringLiteral("C:/Backup/"));
    EXPECT_EQ(script.offeredName, QStringLiteral("控令和03年01月09日版.CSV"));
    EXPECT_EQ(bytes("全件.CSV"), sj(",あさい,4,\r\n,あべ,2,\r\n"));
    EXPECT_EQ(get(t, "使用者ふりがな"), "あべ");

    t.SetFiltered(false);
    t.First();
    t.Next();
    backUp(set, "追加分.csv");
    EXPECT_EQ(bytes("追加分.CSV"), sj(",あべ,2,\r\n,いとう,1,\r\n,かとう,3,\r\n"));
    EXPECT_EQ(get(t, "使用者ふりがな"), "かとう");

    // An unsaved edit that moves the record: the walk starts where it is posted.
    t.First();
    t.Edit();
    TableTest::set(t, "使用者ふりがな", "うえだ");
    backUp(set, "追加分.csv");
    EXPECT_EQ(bytes("追加分.CSV"), sj(",うえだ,4,\r\n,かとう,3,\r\n"));
}

// An address book writes a reading once for neighbouring records, skips a
// first record without one, and writes no extension field; the postal
// code follows, and the address gains its prefecture.
TEST_F(BackupTest, AnAddressBookWithPostalCodes)
{
    ASSERT_TRUE(QFile::copy(QStringLiteral(TEST_DATA_DIR "/KEN_ALL_13TOKYO.CSV"), path("ken_all.csv")));
    load(1);
    Record a{sj("あべ"), "1", sj("阿部"), sj("千代田区飯田橋３－１０")}, b = a, c{sj("いとう"), "3", "", sj("どこか")};
    b[1] = "2";
    a.resize(kExtendedFieldCount);
    a.back() = "memo";
    seed({{"", "0", sj("名無し")}, a, b, c});
    WidthSet set{sj("得意先住所録")};
    set.widths[0] = set.widths[2] = set.widths[3] = 10;
    set.postalMode = 2;
    backUp(set, "x.CSV");
    EXPECT_EQ(script.offeredName, QStringLiteral("住所録.CSV"));
    EXPECT_EQ(bytes("x.CSV"), sj("1\r\nあべ,阿部,東京都千代田区飯田橋３－１０,1020072\r\nいとう,,どこか,\r\n"));
    EXPECT_EQ(get(book->records(), "使用者住所"), "どこか");
}

// The file is put in place only when it was written whole and agreed to:
// an older file of the name stays as it was otherwise.
TEST_F(BackupTest, ABackupReplacesAnOlderFileOnlyWhenWrittenWholeAndAgreedTo)
{
    load();
    seed({{sj("やまだ"), "1", sj("山田,太郎")}, {sj("さとう"), "2", sj("佐藤")}});
    write("old.CSV", "older");
    script.answers = {false};
    backUp(fullSet(), "old.CSV");
    EXPECT_EQ(script.questions, QStringList{commaValuesQuestion(1, {sj("やまだ")})});
    EXPECT_EQ(bytes("old.CSV"), "older");
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("old*")}, QDir::Files), QStringList{QStringLiteral("old.CSV")});

    struct rlimit before {};
    getrlimit(RLIMIT_FSIZE, &before);
    struct rlimit small = before;
    small.rlim_cur = 100;
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    script.answers = {true};
    EXPECT_THROW(backUp(fullSet(), "old.CSV"), FileError);
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(bytes("old.CSV"), "older");

    script.answers = {true};
    backUp(fullSet(), "old.CSV");
    EXPECT_NE(bytes("old.CSV").find(sj("山田,太郎")), std::string::npos);
}

// The learning of a restore, which keeps the types it met, teaches the
// specification table what saving the records one by one does.
TEST_F(BackupTest, ARestoreLearnsWhatSavingEachRecordTeaches)
{
    auto specifications = [this] { return rowsOf(*open("code")); };
    for (int mode : {0, 1}) {
        db->exec("DELETE FROM code");
        load(mode);
        const std::vector<Record> records = randomRecords(unsigned(30 + mode), 120);
        write("s.CSV", csvFile(records, mode));
        restore("s.CSV");
        const std::vector<Record> restored = specifications();
        EXPECT_GT(restored.size(), 3u);

        db->exec("DELETE FROM code; DELETE FROM INDATA");
        load(mode);
        book->BulkRestoring = true;
        for (const Record& values : carried(records, mode))
            book->records().AppendRecord({values.begin(), values.end()});
        book->BulkRestoring = false;
        EXPECT_EQ(specifications(), restored);
    }
}
