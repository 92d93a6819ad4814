#include "components/widgets/db_controls.h"
#include "components/widgets/dual_list.h"
#include "components/widgets/panel.h"
#include "components/widgets/find_control.h"
#include "converter/brindel_form.h"
#include "converter/restore_pat_dlg.h"
#include "components/widgets/width_set_dialog.h"
#include "platform/message_box.h"
#include "platform/modal.h"
#include "platform/registry.h"
#include "tests/converter/old_data_fixture.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// Brindel's window in a data directory of its own, made the current one.
class BrindelFormTest : public OldDataFixture {
protected:
    QTemporaryDir config;
    QString previousDir;
    std::unique_ptr<RegistryFolderOverride> registry;
    std::unique_ptr<TBrindelForm> form;

    void SetUp() override
    {
        OldDataFixture::SetUp();
        previousDir = QDir::currentPath();
        QDir::setCurrent(dir.path());
        registry = std::make_unique<RegistryFolderOverride>(config.path());
    }

    void TearDown() override
    {
        form.reset();
        QDir::setCurrent(previousDir);
    }

    TBrindelForm& create()
    {
        form = std::make_unique<TBrindelForm>(*db);
        return *form;
    }

    static ScriptedDialogs::Answer choosing(QString file)
    {
        return [file](QDialog& d) {
            static_cast<QFileDialog&>(d).selectFile(file);
            return int(QDialog::Accepted);
        };
    }

    QString status() const { return form->Label1->text(); }
    void oneRecord() const { db->exec("INSERT INTO INDATA (使用者ふりがな) VALUES (x'82a0')"); }
    static std::vector<RecordValues> onlyA() { return {{{1, sj("あ")}}}; }
};

TEST_F(BrindelFormTest, StartsOnTheSharedBookWithItsToolBarAndWidthSetChooser)
{
    writeLines("DataBase.INI", {"1"});
    writeLines("INIDIR.INI", {"C:\\BACKUP\\"});
    oneRecord();
    create();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("データ変換 For Win32"));
    EXPECT_TRUE(form->PathLabel->isHidden());
    EXPECT_EQ(form->RecordLayoutMode, 1);
    EXPECT_EQ(form->IniDirFolder, QStringLiteral("C:/BACKUP/"));
    EXPECT_EQ(form->DBGrid1->gridModel()->rowCount(), 1);
    const char* const hints[] = {"開く", "CSV読み込み", "新規作成", "リストア", "バックアップ", "住所チェック"};
    const char* const names[] = {"OpenSpeed", "SpeedButton4", "NewSpeed", "SpeedButton1", "SpeedButton2", "SpeedButton3"};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(findControl<QToolButton>(form.get(), names[i])->toolTip(), QString::fromUtf8(hints[i])) << names[i];
    // The width-set chooser's number follows Table3.
    EXPECT_EQ(form->T3Label->text(), QStringLiteral("Busy"));
    EXPECT_EQ(form->InDTLForm->options().columnWidthsFile, QStringLiteral("BrindelListLen.INI"));
    QLineEdit* edit = form->InDTLForm->Edit1;
    form->Table3->First();
    EXPECT_EQ(edit->text(), QStringLiteral("1"));
    form->Table3->Last();
    EXPECT_EQ(edit->text(), QString::number(form->Table3->RecordCount()));

    // A settings file that cannot be read is reported and keeps its default.
    form.reset();
    ASSERT_TRUE(QFile::remove(path("DataBase.INI")) && QDir(dir.path()).mkdir(QStringLiteral("DataBase.INI")));
    ScriptedMessages messages;
    messages.answer(MessageAnswer::Ok);
    create();
    EXPECT_EQ(messages.prompts().size(), 1u);
}

TEST_F(BrindelFormTest, NewEmptiesTheBookOnlyAfterYes)
{
    db->exec("INSERT INTO INDATA (使用者ふりがな) VALUES (x'82a0'), (x'82a2')");
    create();
    ScriptedMessages messages;
    messages.answer(MessageAnswer::No).answer(MessageAnswer::Yes);
    form->NewSpeed->click();
    EXPECT_EQ(form->Table1->RecordCount(), 2);
    form->NewSpeed->click();
    EXPECT_EQ(form->Table1->RecordCount(), 0);
    ASSERT_EQ(messages.prompts().size(), 2u);
    EXPECT_EQ(messages.prompts()[0].text, QStringLiteral("全てのデータが消去されます！\r新規作成してよろしいですか？"));
    EXPECT_EQ(messages.prompts()[0].buttons, MessageButtons::YesNo);
}

TEST_F(BrindelFormTest, OpenImportsABaseFileThenMergeFilesOrKeepsItOnCancel)
{
    writeSample();
    writeLines("MERGE.INI", {"3", "2", "10", "20", "2", "10", "20", "16", "4", "22"});
    writeFile("MERGE.JWP", "0312345678OWNR");
    writeFile("TWICE.JWP", yamada() + yamada());
    writeLines("TWICE.INI", baseLayout());
    create();
    ScriptedDialogs dialogs;
    dialogs.answer("Open", choosing(path("SAMPLE.JWP"))).answer("Open", choosing(path("MERGE.JWP")));
    dialogs.answer("Open", choosing(path("TWICE.JWP"))).answer("Open", QDialog::Rejected);
    ScriptedMessages messages;
    messages.answer(MessageAnswer::Ok).answer(MessageAnswer::Yes).answer(MessageAnswer::No);
    messages.answer(MessageAnswer::Yes).answer(MessageAnswer::Yes);
    form->OpenSpeed->click();  // an empty book is filled without a question
    ASSERT_EQ(messages.prompts().size(), 3u);
    EXPECT_TRUE(messages.prompts()[0].text.contains(QStringLiteral("の最後のレコードの後に 7 バイトが残っています")));
    EXPECT_EQ(messages.prompts()[2].text, QStringLiteral("合成ファイルを読み込みますか？"));
    EXPECT_EQ(form->DBGrid1->gridModel()->rowCount(), 3);
    const std::vector<RecordValues> all = records();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].count(16), 0u);
    EXPECT_EQ(all[1].at(16), sj("ＯＷＮＲ"));
    EXPECT_EQ(all[2].at(16), sj("ＯＷＮＲ"));
    EXPECT_EQ(status(), QStringLiteral("2 件のレコードを更新しました。"));
    form->OpenSpeed->click();
    EXPECT_EQ(dialogs.unanswered(), 0u);
    EXPECT_EQ(form->Table1->RecordCount(), 1);
    EXPECT_EQ(status(), QStringLiteral("1 件のレコードを取り込めませんでした。"));
}

// Input that is broken, refused or not wanted leaves the book as it was; a
// replacing base file or CSV import asks first, No by default.
TEST_F(BrindelFormTest, BrokenOrUnwantedInputLeavesTheBookAsItWas)
{
    oneRecord();
    writeSample();
    writeLines("BROKEN.INI", {"2", "1", "4", "22"});
    writeFile("BROKEN.JWP", "ABCD");
    writeLines("DIR.INI", baseLayout());
    ASSERT_TRUE(QDir(dir.path()).mkdir("DIR.JWP"));
    writeFile("SHORT.JWP", yamada().substr(5));
    writeLines("SHORT.INI", baseLayout());
    writeFile("NAMED.CSV", sj("使用者ふりがな\nい\n"));
    writeFile("UTF8分割.CSV", sj("使用者ふりがな\n") + "\xE3\x82\x84\xE3\x81\xBE\n");
    create();
    ScriptedDialogs dialogs;
    for (const char* file : {"BROKEN.JWP", "DIR.JWP", "SAMPLE.JWP", "SHORT.JWP"})
        dialogs.answer("Open", choosing(path(file)));
    dialogs.answer("OpenDialog1", choosing(path("NAMED.CSV"))).answer("OpenDialog1", choosing(path("UTF8分割.CSV")));
    ScriptedMessages messages;
    messages.answer(MessageAnswer::Ok).answer(MessageAnswer::No).answer(MessageAnswer::Ok);
    messages.answer(MessageAnswer::No).answer(MessageAnswer::No);
    form->OpenSpeed->click();
    EXPECT_EQ(status(), QStringLiteral("ＩＮＩファイルが間違っています。"));
    for (int i = 0; i < 3; ++i)
        form->OpenSpeed->click();
    form->SpeedButton4->click();
    form->SpeedButton4->click();  // bytes that are no CP932 text
    EXPECT_EQ(records(), onlyA());
    ASSERT_EQ(messages.prompts().size(), 5u);
    EXPECT_EQ(messages.prompts()[0].icon, MessageIcon::Error);
    for (const int question : {1, 3, 4})
        EXPECT_EQ(messages.prompts()[std::size_t(question)].buttons, MessageButtons::YesNoDefaultNo) << question;
    EXPECT_TRUE(messages.prompts()[2].text.contains(QStringLiteral("のレコードがありません（60 バイト）。")));
}

TEST_F(BrindelFormTest, CsvImportTakesTheNameLineOrTheChosenColumns)
{
    oneRecord();
    writeFile("NAMED.csv", sj("使用者ふりがな,電話番号,使用者\r\nやまだ,03,山田\r\n"));
    writeFile("DATA分割.CSV", sj("すずき,鈴木\nさとう,佐藤\n"));
    create();
    ScriptedDialogs dialogs;
    // The file read is the base name with ".CSV", in whatever case it exists.
    dialogs.answer("OpenDialog1", choosing(path("NAMED.TXT")))
        .answer("OpenDialog1", choosing(path("DATA分割.CSV")))
        .answer("RestorePatDlg", [](QDialog& d) {
            auto& dlg = static_cast<TRestorePatDlg&>(d);
            EXPECT_EQ(dlg.ListBox1->count(), 56);
            dlg.ListBox1->item(0)->setSelected(true);
            dlg.Chooser->SpeedButton1Click();
            dlg.ListBox1->item(1)->setSelected(true);
            dlg.Chooser->SpeedButton1Click();
            dlg.OKBtn->click();
            return int(QDialog::Rejected);
        })
        .answer("OpenDialog1", choosing(path("DATA分割.CSV")))
        .answer("RestorePatDlg", [](QDialog& d) {
            EXPECT_EQ(static_cast<TRestorePatDlg&>(d).chosenFields(), (std::vector<SjisString>{sj("使用者ふりがな"), sj("使用者")}));
            return int(QDialog::Rejected);
        });
    ScriptedMessages messages;
    messages.answer(MessageAnswer::Yes);  // replacing the record there
    form->SpeedButton4->click();
    EXPECT_EQ(records(), (std::vector<RecordValues>{{{1, sj("やまだ")}, {2, "03"}, {3, sj("山田")}}}));
    form->SpeedButton4->click();
    EXPECT_EQ(records().size(), 3u);  // "分割" keeps the records
    EXPECT_EQ(records()[0], (RecordValues{{1, sj("さとう")}, {3, sj("佐藤")}}));
    EXPECT_EQ(status(), QStringLiteral("2 件のレコードを読み込みました。"));
    form->SpeedButton4->click();  // Cancel in the chooser, which kept its lists
    EXPECT_EQ(records().size(), 3u);
    EXPECT_EQ(dialogs.unanswered(), 0u);
    EXPECT_EQ(form->DBGrid1->gridModel()->rowCount(), 3);
}

TEST_F(BrindelFormTest, CsvImportRefusesAddressBooksAndFaultyFilesWithoutChanges)
{
    oneRecord();
    writeFile("住所録.CSV", sj("使用者ふりがな\nい\n"));
    writeFile("BAD.CSV", sj("使用者ふりがな,乗車定員\nい,5\nう,五\n"));
    writeFile("ONELINE.CSV", sj("使用者ふりがな,電話番号"));
    create();
    ScriptedDialogs dialogs;
    for (const char* file : {"住所録.CSV", "BAD.CSV", "ONELINE.CSV", "MISSING.CSV"})
        dialogs.answer("OpenDialog1", choosing(path(file)));
    ScriptedMessages messages;
    messages.answer(MessageAnswer::Ok).answer(MessageAnswer::Ok);
    for (int i = 0; i < 4; ++i)
        form->SpeedButton4->click();
    ASSERT_EQ(messages.prompts().size(), 2u);
    EXPECT_EQ(messages.prompts()[0].text, QStringLiteral("住所録はリストアできません！"));
    EXPECT_EQ(messages.prompts()[0].icon, MessageIcon::Error);
    EXPECT_TRUE(messages.prompts()[1].text.contains(QStringLiteral("3 行目 2 列目の値「五」は整数ではありません。")));
    EXPECT_EQ(records(), onlyA());
}

TEST_F(BrindelFormTest, AddressCheckAsksThenCompletesAndCountsWhatItLeft)
{
    create();
    for (const auto& [reading, address] : {std::pair{"あ", "前橋市"}, {"あ", "群馬県前橋市"}, {"い", "箕郷町"}})
        form->Table1->AppendRecord({sj(reading), std::nullopt, std::nullopt, sj(address)});
    ScriptedMessages messages;
    messages.answer(MessageAnswer::No).answer(MessageAnswer::Yes).answer(MessageAnswer::Ok);
    form->SpeedButton3->click();
    EXPECT_EQ(records()[2].at(4), sj("箕郷町"));
    form->SpeedButton3->click();
    ASSERT_EQ(messages.prompts().size(), 3u);
    EXPECT_EQ(messages.prompts()[0].text, QStringLiteral("住所チェックを行いますよろしいですか？"));
    EXPECT_EQ(messages.prompts()[2].text.left(2), QStringLiteral("1 "));
    EXPECT_EQ(records()[2].at(4), sj("群馬県群馬郡箕郷町"));
    EXPECT_EQ(status(), QStringLiteral("1 件の住所を補完しました。"));
    EXPECT_EQ(form->Table1->rowValues(2)[3], sj("群馬県群馬郡箕郷町"));  // the view shows the result
}

TEST_F(BrindelFormTest, BacksUpAndRestoresThroughTheToolBar)
{
    db->exec("INSERT INTO INDATA (使用者ふりがな, 使用者) VALUES (x'82a0', 'LONGER THAN FOUR'), (x'82a2', 'B')");
    db->exec("DELETE FROM INDTLEN; INSERT INTO INDTLEN (データ用途, 使用者ふりがな, 使用者) VALUES ('A', 4, 4)");
    create();
    ScriptedDialogs dialogs;
    const auto ok = [&](QDialog&) {
        EXPECT_EQ(form->InDTLForm->Panel1->caption(), QStringLiteral("バックアップ方法を指定してください。"));
        form->InDTLForm->OKBtn->click();
        return int(QDialog::Accepted);
    };
    dialogs.answer(QStringLiteral("InDTLForm"), ok);
    dialogs.answer(QStringLiteral("SaveDialog1"), choosing(path("copy")));
    form->SpeedButton2->click();
    EXPECT_EQ(dialogs.unanswered(), 0u);
    EXPECT_EQ(form->Table3->FieldByName("使用者").AsInteger(), 16);
    db->exec("DELETE FROM INDATA WHERE 使用者 = 'B'");
    dialogs.answer(QStringLiteral("OpenDialog1"), choosing(path("copy.TXT")));
    form->SpeedButton1->click();
    EXPECT_EQ(records(), (std::vector<RecordValues>{{{1, sj("あ")}, {3, "LONGER THAN FOUR"}}, {{1, sj("い")}, {3, "B"}}}));
    EXPECT_EQ(form->DBGrid1->gridModel()->rowCount(), 2);
    EXPECT_EQ(status(), QStringLiteral("2 件のレコードをリストアしました。"));
    dialogs.answer(QStringLiteral("OpenDialog1"), QDialog::Rejected);
    form->SpeedButton1->click();
    EXPECT_EQ(status(), QString()) << "a cancelled restore says nothing of the one before";

    // Without a width set, OK in the chooser is told so.
    db->exec("DELETE FROM INDTLEN");
    form->Table3->Refresh();
    ScriptedMessages messages;
    messages.answer(MessageAnswer::Ok);
    dialogs.answer(QStringLiteral("InDTLForm"), ok);
    form->SpeedButton2->click();
    EXPECT_EQ(messages.prompts().size(), 1u);
}

}  // namespace
