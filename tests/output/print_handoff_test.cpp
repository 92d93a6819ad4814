// The hand-off to the print program, with a stand-in program that records
// where it was started and what it was handed; the layout tables' rows of a
// pattern.
#include "components/core/data_directory.h"
#include "components/core/database.h"
#include "components/core/record_fields.h"
#include "components/core/schema.h"
#include "components/core/table.h"
#include "output/print_handoff.h"
#include "platform/message_box.h"
#include "platform/process_start.h"
#include "record_book/model/record_book.h"
#include "tests/record_book/seed_records.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <optional>

namespace {

// The stand-in: writes its working folder and a copy of the hand-off file
// into that folder, the copy last and whole.
const char kStandIn[] = "#!/bin/sh\n"
                        "pwd > started-in\n"
                        "cp ../Pelmora.INI handoff.tmp && mv handoff.tmp handoff.copy\n";

class PrintHandOffTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::unique_ptr<Database> db;
    std::unique_ptr<RecordBook> book;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        db = openSharedDatabase(dir.filePath("CARDATA.sqlite3"));
        seedTable(*db, "INDATA", {{{"使用者ふりがな", "あべ"}, {"自動車登録番号", "練馬500"}},
                                  {{"使用者ふりがな", "いとう"}, {"自動車登録番号", "品川300"}},
                                  {{"使用者ふりがな", "あさだ"}, {"自動車登録番号", "足立400"}}});
    }

    void load()
    {
        book = std::make_unique<RecordBook>(*db);
        book->load(dir.path());
    }

    void installStandIn(const char* name, bool executable = true, bool folder = true)
    {
        QFile script(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly) && script.write(kStandIn) > 0);
        script.close();
        if (executable)
            script.setPermissions(script.permissions() | QFile::ExeOwner);
        if (folder)
            QDir(dir.path()).mkdir(QStringLiteral("Pelmora"));
    }

    QByteArray bytes(const QString& relative)
    {
        QFile f(dir.filePath(relative));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
};

TEST_F(PrintHandOffTest, TheProgramStartsInItsFolderAfterTheHandOffWasWritten)
{
    installStandIn("pelmora.exe");  // found whatever the case of its name
    load();
    ASSERT_TRUE(book->settings().PrintProgramPresent);
    Table& records = book->records();
    records.SetIndexName(indexNameOfUtf8("使用者ふりがな"));
    records.SetFilter(sj("(使用者ふりがな = 'あ*')"));
    records.SetFiltered(true);
    records.Last();

    ASSERT_TRUE(handOffToPrintProgram(*book, QStringLiteral("2"), 7, PrintMode::Settings));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(dir.filePath("Pelmora/handoff.copy")); }, 5000))
        << "the stand-in did not run";
    const QByteArray expected = QByteArray::fromStdString(sj("使用者ふりが\r\n(使用者ふりがな = 'あ*')\r\n2\r\n7\r\n設定\r\n"));
    EXPECT_EQ(bytes("Pelmora/handoff.copy"), expected);
    EXPECT_EQ(bytes("Pelmora.INI"), expected) << "the file stays for the program";
    EXPECT_EQ(QDir(QString::fromUtf8(bytes("Pelmora/started-in").trimmed())).canonicalPath(),
              QDir(dir.filePath("Pelmora")).canonicalPath());
}

// Each failed start says so; nothing waits for the program, and no hand-off
// is left behind. A hand-off the program could not read is refused before
// anything is written or started.
TEST_F(PrintHandOffTest, AStartThatCannotHappenIsShownAndAnUnreadableHandOffRefused)
{
    const struct {
        const char* what;
        bool program, executable, folder;
        QString record;
    } cases[] = {
        {"no program", false, false, true, "1"},
        {"not executable", true, false, true, "1"},
        {"no Pelmora folder", true, true, false, "1"},
        {"line break", true, true, true, "1\n2"},
        {"not in the code page", true, true, true, "1😀"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(dir.filePath("Pelmora")).removeRecursively();
        QFile::remove(dir.filePath("Pelmora.EXE"));
        QFile::remove(dir.filePath("Pelmora.INI"));
        installStandIn(c.program ? "Pelmora.EXE" : "Other.EXE", c.executable, c.folder);
        load();
        const bool refusal = c.record != "1";
        std::optional<RecordedStarts> starts;
        if (refusal)
            starts.emplace();
        ScriptedMessages messages;
        messages.answer(MessageAnswer::Ok);
        EXPECT_FALSE(handOffToPrintProgram(*book, c.record, 1, PrintMode::Print));
        ASSERT_EQ(messages.prompts().size(), 1u);
        EXPECT_FALSE(QFile::exists(dir.filePath("Pelmora.INI")));
        if (!refusal)
            EXPECT_TRUE(messages.prompts()[0].text.contains(QStringLiteral("起動できません")));
        else
            EXPECT_TRUE(starts->starts().empty());
    }
}

// Rows are appended up to the pattern, blank as the print program expects,
// and the pattern's own row of the free layouts becomes current.
TEST_F(PrintHandOffTest, APatternGetsItsRowsInBothLayoutTables)
{
    Table prtData(*db, "PrtData"), prtFree(*db, "PrtFreeData");
    prtData.Open();
    prtFree.Open();
    prtData.AppendRecord({sj("請求書"), sj("A4"), "1", "5", "5"});
    appendPatternRow(prtData);
    prtFree.AppendRecord({sj("自住所")});
    prtFree.AppendRecord({sj("今日")});

    preparePattern(prtData, prtFree, 5);
    EXPECT_EQ(prtData.RecordCount(), 5);
    EXPECT_EQ(prtFree.RecordCount(), 5);
    EXPECT_EQ(prtFree.RecNo(), 5);
    prtData.SetRecNo(4);
    EXPECT_EQ(prtData.rowValues(3), (std::vector<SjisString>{"", "", "0", "10", "10"}));
    EXPECT_EQ(prtData.rowValues(0)[0], sj("請求書"));

    preparePattern(prtData, prtFree, 2);
    EXPECT_EQ(prtData.RecordCount(), 5) << "existing rows append nothing";
    EXPECT_EQ(prtFree.RecNo(), 2);
    EXPECT_EQ(prtFree.FieldByName("項目1").AsString(), sj("今日"));
    EXPECT_EQ(prtFree.state(), Table::State::Browse);
}

}  // namespace
