// The backup and restore commands from the main window's menu, with the
// window's dialogs and messages.
#include "components/formats/backup_format.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "tests/record_book/main_window_fixture.h"

#include <QFileDialog>

namespace {

class BackupWindowTest : public MainWindowFixture {};

}  // namespace

TEST_F(BackupWindowTest, TheRestoreMenuOpensTheImportDialogAndRefusesAnAddressBook)
{
    writeSettings("INIDIR.INI", {dir.path().toStdString()});
    seedTable(*db, "INDATA", {{{"使用者ふりがな", "あべ"}}, {{"使用者ふりがな", "いとう"}}});
    create();
    SjisString file;
    for (const char* reading : {"かとう", "さとう", "たなか"}) {
        std::vector<SjisString> values(kStandardFieldCount);
        values[0] = sj(reading);
        backup::appendCsvLine(file, {values.begin(), values.end()}, false, std::nullopt);
    }
    for (const char* name : {"顧客.CSV", "住所録.CSV"}) {
        QFile f(dir.filePath(QString::fromUtf8(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(file.data(), qint64(file.size()));
    }

    ScriptedDialogs dialogs;
    ScriptedMessages messages;
    for (const char* name : {"住所録.CSV", "顧客.CSV"})
        dialogs.answer(QStringLiteral("OpenDialog1"), [&, name](QDialog& d) {
            auto& open = static_cast<QFileDialog&>(d);
            EXPECT_EQ(open.windowTitle(), QStringLiteral("ｲﾝﾎﾟｰﾄﾌｧｲﾙの指定"));
            EXPECT_EQ(open.nameFilters(), nameFilters(QStringLiteral("ｲﾝﾎﾟｰﾄﾌｧｲﾙ(*.CSV;*.TXT)|*.CSV;*.TXT|全て(*.*)|*.*")));
            EXPECT_EQ(QDir(open.directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
            open.selectFile(dir.filePath(QString::fromUtf8(name)));
            return int(QDialog::Accepted);
        });
    messages.answer(MessageAnswer::Ok);
    action("Inp1")->trigger();
    ASSERT_EQ(messages.prompts().size(), 1u);
    EXPECT_EQ(messages.prompts()[0].text, QStringLiteral("住所録はリストアできません！"));
    EXPECT_EQ(messages.prompts()[0].icon, MessageIcon::Error);
    EXPECT_EQ(field("使用者ふりがな"), "あべ");

    action("Inp1")->trigger();
    EXPECT_EQ(dialogs.unanswered(), 0u);
    EXPECT_EQ(field("使用者ふりがな"), "かとう");
    QCoreApplication::processEvents();
    EXPECT_EQ(caption("TotalPanel"), QStringLiteral("3"));
    EXPECT_EQ(caption("CurrentPanel"), QStringLiteral("1"));
}
