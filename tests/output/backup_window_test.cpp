// The backup and restore commands from the main window's menu, with the
// window's dialogs and messages.
#include "components/widgets/width_set_dialog.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "tests/record_book/main_window_fixture.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>

namespace {

class BackupWindowTest : public MainWindowFixture {};

}  // namespace

// From the menus: a backup by the first width set of a new book, then its
// restore, which gives the records back; an address book is refused.
TEST_F(BackupWindowTest, ABackupAndItsRestoreThroughTheMenus)
{
    writeSettings("INIDIR.INI", {dir.path().toStdString()});
    seedTable(*db, "INDATA",
              {{{"使用者ふりがな", "あべ"}, {"備考", "令和０２年　点検\r\n令和０３年　車検"}, {"車両重量", "1200"}},
               {{"使用者ふりがな", "いとう"}, {"自賠責機関", "あおば"}, {"証明番号", "A1"}}});
    create();
    auto rows = [this] {
        std::vector<std::vector<SjisString>> out;
        for (int i = 0; i < form()->Table1->RecordCount(); ++i)
            out.push_back(form()->Table1->rowValues(i));
        return out;
    };
    const auto before = rows();
    ScriptedDialogs dialogs;
    dialogs.answer(QStringLiteral("InDTLenForm"), [&](QDialog&) {
        EXPECT_EQ(InDTLenForm->Panel1->caption(), QStringLiteral("バックアップ方法を指定してください。"));
        InDTLenForm->Edit1->setText(QStringLiteral("1"));
        InDTLenForm->OKBtn->click();
        return int(QDialog::Accepted);
    });
    dialogs.answer(QStringLiteral("SaveDialog1"), [&](QDialog& d) {
        auto& save = static_cast<QFileDialog&>(d);
        EXPECT_EQ(save.windowTitle(), QStringLiteral("ﾊﾞｯｸｱｯﾌﾟﾌｧｲﾙの指定"));
        EXPECT_EQ(save.nameFilters(), nameFilters(QStringLiteral("ｴｯｸｽﾎﾟｰﾄﾌｧｲﾙ(*.CSV)|*.CSV|全て(*.*)|*.*")));
        save.selectFile(dir.filePath(QStringLiteral("copy.txt")));
        return int(QDialog::Accepted);
    });
    action("Exp1")->trigger();
    EXPECT_EQ(dialogs.unanswered(), 0u);
    EXPECT_EQ(field("使用者ふりがな"), "いとう");
    const QByteArray file = fileBytes("copy.CSV");
    EXPECT_TRUE(file.startsWith(QByteArray::fromStdString(sj(",あべ,"))));
    EXPECT_TRUE(file.endsWith(",\r\n"));

    QFile::copy(dir.filePath(QStringLiteral("copy.CSV")), dir.filePath(QStringLiteral("住所録.CSV")));
    for (const char* name : {"住所録.CSV", "copy.CSV"})
        dialogs.answer(QStringLiteral("OpenDialog1"), [&, name](QDialog& d) {
            auto& open = static_cast<QFileDialog&>(d);
            EXPECT_EQ(open.windowTitle(), QStringLiteral("ｲﾝﾎﾟｰﾄﾌｧｲﾙの指定"));
            EXPECT_EQ(open.nameFilters(),
                      nameFilters(QStringLiteral("ｲﾝﾎﾟｰﾄﾌｧｲﾙ(*.CSV;*.TXT)|*.CSV;*.TXT|全て(*.*)|*.*")));
            EXPECT_EQ(QDir(open.directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
            open.selectFile(dir.filePath(QString::fromUtf8(name)));
            return int(QDialog::Accepted);
        });
    ScriptedMessages messages;
    messages.answer(MessageAnswer::Ok);
    action("Inp1")->trigger();
    ASSERT_EQ(messages.prompts().size(), 1u);
    EXPECT_EQ(messages.prompts()[0].text, QStringLiteral("住所録はリストアできません！"));
    EXPECT_EQ(messages.prompts()[0].icon, MessageIcon::Error);
    EXPECT_EQ(field("使用者ふりがな"), "いとう");
    action("Inp1")->trigger();
    EXPECT_EQ(rows(), before);
    EXPECT_EQ(field("使用者ふりがな"), "あべ");
    QCoreApplication::processEvents();
    EXPECT_EQ(caption("TotalPanel"), QStringLiteral("2"));

    // Without a width set, OK in the chooser is told so.
    db->exec("DELETE FROM INDTLEN");
    form()->Table3->Refresh();
    dialogs.answer(QStringLiteral("InDTLenForm"), [&](QDialog&) {
        InDTLenForm->OKBtn->click();
        return int(QDialog::Accepted);
    });
    messages.answer(MessageAnswer::Ok);
    action("Exp1")->trigger();
    EXPECT_EQ(messages.prompts().size(), 2u);
}
