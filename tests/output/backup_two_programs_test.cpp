// The backups of the two programs restored by the other: Brindel's CSV by
// Dremlot and Dremlot's by Brindel give the records back; Brindel's TXT
// with its TIF gives them back through either restore without the bytes up
// to 0x20 at both ends of each value and without fields 48..56. Dremlot's
// restore makes the two code fields full-width as its save does.
#include "converter/converter_backup.h"
#include "output/backup.h"
#include "record_book/model/record_book.h"
#include "tests/components/random_values.h"
#include "tests/components/table_fixture.h"

#include <algorithm>
#include <functional>

using namespace backup;

namespace {

using Record = std::vector<SjisString>;

class TwoProgramsBackupTest : public TableTest {
protected:
    std::unique_ptr<RecordBook> book;
    std::unique_ptr<Table> records, sets;
    QString file;
    int mode = 0;

    // A table of random records and one of half-width codes, in a layout
    // mode, with a width set of 4 for every field; the records, sorted.
    std::vector<Record> start(int layoutMode, unsigned randomSeed)
    {
        mode = layoutMode;
        db->exec("DELETE FROM INDATA; DELETE FROM INDTLEN");
        writeSettingsFile(dir.path(), QStringLiteral("DataBase.INI"), LineListFile({std::to_string(mode)}));
        book = std::make_unique<RecordBook>(*db);
        book->load(dir.path());
        records = open("INDATA");
        sets = open("INDTLEN");
        sets->Append();
        sets->FieldByName("データ用途").SetAsString(sj("通常"));
        for (int no = 1; no <= kStandardFieldCount; ++no)
            sets->FieldByName(recordField(no).name).SetAsInteger(4);
        sets->Post();
        RandomValues random(randomSeed);
        for (int i = 0; i < 30; ++i) {
            const Record r = random.record(i);
            records->AppendRecord({r.begin(), r.end()});
        }
        Record halfWidthCodes(kExtendedFieldCount);
        halfWidthCodes[0] = sj("はんかく");
        halfWidthCodes[10] = "12";
        halfWidthCodes[11] = "AB";
        records->AppendRecord({halfWidthCodes.begin(), halfWidthCodes.end()});
        book->records().Refresh();
        return rows();
    }
    // Every record, sorted; in mode 0 only fields 1..47 count.
    std::vector<Record> rows()
    {
        records->Refresh();
        std::vector<Record> out;
        for (int i = 0; i < records->RecordCount(); ++i) {
            out.push_back(records->rowValues(i));
            if (mode == 0)
                out.back().resize(kStandardFieldCount);
        }
        std::sort(out.begin(), out.end());
        return out;
    }
    BackupSteps steps()
    {
        BackupSteps s;
        const auto fail = [](const QString& t) { ADD_FAILURE() << t.toStdString(); };
        s.chooseWidthSet = [](const QString&) { return std::optional<WidthSet>(); };
        s.chooseRestoreFile = [this](const QString&) { return std::optional(file); };
        s.ask = [fail](const QString& q) { fail(q); return false; };
        s.showError = s.inform = fail;
        return s;
    }
    void restoreByDremlot() { restoreRecords(*book, steps()); }
    void restoreByBrindel() { restoreConverterRecords(*records, {mode, dir.path(), {}}, steps()); }
};

// What Dremlot's save makes of the half-width codes.
std::vector<Record> savedByDremlot(std::vector<Record> records)
{
    for (Record& r : records)
        if (r[10] == "12") {
            r[10] = sj("１２");
            r[11] = sj("ＡＢ");
        }
    std::sort(records.begin(), records.end());
    return records;
}

// What the fixed-width form keeps: fields 1..47 without their blanks and
// control bytes at both ends.
std::vector<Record> keptByTxt(std::vector<Record> records)
{
    for (Record& r : records)
        for (std::size_t i = 0; i < r.size(); ++i)
            r[i] = i < kStandardFieldCount ? sjis::trim(r[i]) : SjisString();
    std::sort(records.begin(), records.end());
    return records;
}

}  // namespace

TEST_F(TwoProgramsBackupTest, EachProgramsCsvIsRestoredByTheOther)
{
    for (int layoutMode : {0, 1, 2}) {
        SCOPED_TRACE(testing::Message() << "mode " << layoutMode);
        std::vector<Record> expected = start(layoutMode, unsigned(layoutMode));
        file = dir.filePath(QStringLiteral("brindel.CSV"));
        ASSERT_TRUE(writeConverterCsvBackup(*records, widthSetOf(*sets), mode, nullptr, file, nullptr));
        restoreByDremlot();
        if (mode == 2)  // the backup carries only メモ of fields 48..56
            for (Record& r : expected)
                std::fill(r.begin() + kStandardFieldCount, r.end() - 1, SjisString());
        const std::vector<Record> restored = rows();
        EXPECT_EQ(restored, savedByDremlot(expected));

        file = dir.filePath(QStringLiteral("dremlot.CSV"));
        ASSERT_TRUE(writeCsvBackup(*book, widthSetOf(*sets), file, false, nullptr));
        records->EmptyTable();
        restoreByBrindel();
        EXPECT_EQ(rows(), restored);
    }
}

TEST_F(TwoProgramsBackupTest, BrindelsTxtIsRestoredByBothWithItsLosses)
{
    const std::vector<Record> before = start(1, 7);
    file = dir.filePath(QStringLiteral("brindel.TXT"));
    writeConverterTxtBackup(*records, *sets, widthSetOf(*sets), BackupPath::split(file));
    restoreByBrindel();
    EXPECT_EQ(rows(), keptByTxt(before));
    records->EmptyTable();
    book->records().Refresh();
    restoreByDremlot();
    EXPECT_EQ(rows(), savedByDremlot(keptByTxt(before)));
}

// The other program added and removed records since this program's view
// was built: every backup writes the book as it stands.
TEST_F(TwoProgramsBackupTest, EveryBackupWritesTheRecordsTheOtherProgramAddedOrRemoved)
{
    const std::unique_ptr<Database> otherDb = openSharedDatabase(dir.filePath("CARDATA.sqlite3"));
    const struct {
        const char* file;
        std::function<void()> backUp;
    } cases[] = {
        {"dremlot.CSV", [&] { EXPECT_TRUE(writeCsvBackup(*book, widthSetOf(*sets), file, false, nullptr)); }},
        {"brindel.CSV", [&] { EXPECT_TRUE(writeConverterCsvBackup(*records, widthSetOf(*sets), mode, nullptr, file, nullptr)); }},
        {"brindel.TXT", [&] { writeConverterTxtBackup(*records, *sets, widthSetOf(*sets), BackupPath::split(file)); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        start(1, 3);
        Table other(*otherDb, "INDATA");
        other.Open();
        RandomValues random(11);
        for (int i = 0; i < 4; ++i) {
            const Record r = random.record(100 + i);
            other.AppendRecord({r.begin(), r.end()});
        }
        other.First();
        other.Delete();
        file = dir.filePath(QString::fromUtf8(c.file));
        c.backUp();
        const std::vector<Record> now = rows();
        restoreByBrindel();
        EXPECT_EQ(rows(), file.endsWith(QStringLiteral("TXT")) ? keptByTxt(now) : now);
    }
}
