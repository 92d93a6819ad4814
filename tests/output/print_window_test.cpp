// The print menus, the pattern order, the free-layout editor and the own
// company's prompt, driven through the main window with the dialogs
// scripted and the print program's starts recorded.
#include "components/widgets/db_controls.h"
#include "components/widgets/list_entries.h"
#include "platform/message_box.h"
#include "platform/process_start.h"
#include "record_book/print_dialogs.h"
#include "tests/record_book/main_window_fixture.h"

#include <QCryptographicHash>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace {

class PrintWindowTest : public MainWindowFixture {
protected:
    RecordedStarts starts;

    void SetUp() override
    {
        MainWindowFixture::SetUp();
        QFile(dir.filePath(QStringLiteral("Pelmora.EXE"))).open(QIODevice::WriteOnly);
        QDir(dir.path()).mkdir(QStringLiteral("Pelmora"));
    }

    // The lines of the last hand-off, in UTF-8.
    QStringList handOff()
    {
        QStringList lines = sjis::decode(fileBytes("Pelmora.INI").toStdString()).split(QStringLiteral("\r\n"));
        lines.removeLast();
        return lines;
    }

    QAction* item(int n) { return findControl<QAction>(form(), QStringLiteral("Print%1").arg(n)); }

    std::vector<SjisString> rowOf(const char* table, int recNo)
    {
        Table t(*db, table);
        t.Open();
        t.SetRecNo(recNo);
        return t.rowValues(recNo - 1);
    }

    int rowCount(const char* table)
    {
        Table t(*db, table);
        t.Open();
        return t.RecordCount();
    }

    // Answers a dialog of type D by running `edit` and clicking its OK button.
    template <class D, class Edit>
    static ScriptedDialogs::Answer okAfter(Edit edit)
    {
        return [edit](QDialog& d) {
            auto& dialog = static_cast<D&>(d);
            edit(dialog);
            dialog.OKBtn->click();
            return int(QDialog::Rejected);
        };
    }

    // Print settings on the index-th print name; whether the editor was shown.
    bool editPattern(int index, ScriptedDialogs::Answer editor = [](QDialog&) { return int(QDialog::Rejected); })
    {
        ScriptedDialogs dialogs;
        dialogs.answer(QStringLiteral("SelectDlg"),
                       okAfter<TSelectDlg>([index](TSelectDlg& s) { s.FindComboBox->setCurrentIndex(index); }));
        dialogs.answer(QStringLiteral("FreeEditForm"), std::move(editor));
        action("PrintS2")->trigger();
        return dialogs.unanswered() == 0;
    }
};

// Item n belongs to pair n - 1; the last pair, an empty name and the new
// pattern's name give no item; Print2 is always there. A PrintName.INI that
// cannot be read is reported and the window starts without it.
TEST_F(PrintWindowTest, PrintMenusFollowThePrintNamesAndHandOffTheirPatterns)
{
    const struct {
        std::vector<std::string> file;  // none: no PrintName.INI
        QStringList shown;              // captions of the visible items of Print2 .. Print5
        int item;                       // the item clicked
        const char* pattern;
        bool unreadable = false;  // a folder of that name
    } cases[] = {
        {{}, {"　　（手入力ﾓｰﾄﾞ）"}, 2, "0"},
        {{"新規追加", "2"}, {"　　（手入力ﾓｰﾄﾞ）"}, 2, "2"},
        {{"見積書", "2", "請求書", "3", "新規追加", "4"}, {"見積書印刷", "請求書印刷"}, 3, "3"},
        {{"", "5", "新規追加", "6", "車検", " 7x", "新規追加", "8"}, {"　　（手入力ﾓｰﾄﾞ）", "車検印刷"}, 4, "7"},
        {{}, {"　　（手入力ﾓｰﾄﾞ）"}, 2, "0", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item);
        QFile::remove(dir.filePath("PrintName.INI"));
        if (!c.file.empty())
            writeSettings("PrintName.INI", c.file);
        ASSERT_TRUE(!c.unreadable || QDir(dir.path()).mkdir(QStringLiteral("PrintName.INI")));
        ScriptedMessages messages;
        messages.answer(MessageAnswer::Ok);
        create();
        EXPECT_EQ(messages.prompts().size(), c.unreadable ? 1u : 0u);
        QStringList shown;
        for (int n = 2; n <= 5; ++n)
            if (item(n)->isVisible())
                shown << item(n)->text();
        EXPECT_EQ(shown, c.shown);
        EXPECT_FALSE(action("Print23")->isVisible());
        item(c.item)->trigger();
        EXPECT_EQ(handOff().mid(3), (QStringList{QString::fromLatin1(c.pattern), "印刷"}));
    }
    ASSERT_EQ(starts.starts().size(), std::size(cases));
    EXPECT_EQ(starts.starts()[0].program, dir.filePath("Pelmora.EXE"));
    EXPECT_EQ(starts.starts()[0].workingFolder, dir.filePath("Pelmora"));
}

TEST_F(PrintWindowTest, TheCertificateItemsHandOffPatternOneWithTheCurrentView)
{
    seed({{{"使用者ふりがな", "あべ"}}, {{"使用者ふりがな", "いとう"}}, {{"使用者ふりがな", "あさだ"}}});
    writeSettings("PrintName.INI", {"見積書", "5", "新規追加", "6"});
    create();
    form()->Table1->SetFilter(sj("(使用者ふりがな = 'あ*')"));  // not in force: not handed on
    action("Print1")->trigger();
    EXPECT_EQ(handOff(), (QStringList{"", "", "1", "1", "印刷"}));
    form()->Table1->SetIndexName(indexNameOfUtf8("使用者ふりがな"));
    form()->Table1->SetFiltered(true);
    form()->Table1->Last();
    action("PrintS1")->trigger();
    EXPECT_EQ(handOff(), (QStringList{"使用者ふりが", "(使用者ふりがな = 'あ*')", "2", "1", "設定"}));
    EXPECT_EQ(starts.starts().size(), 2u);
}

// A pattern keeps its number when it moves; the new pattern's pair stays
// last with a number no named pattern has; the menus follow. A long file
// loses no pair.
TEST_F(PrintWindowTest, TheOrderDialogMovesPatternsWithTheirNumbers)
{
    writeSettings("PrintName.INI", {"見積書", "2", "請求書", "3", "車検", "4", "新規追加", "3"});
    create();
    ScriptedDialogs dialogs;
    dialogs.answer(QStringLiteral("PrintSlctDlg"), okAfter<TPrintSlctDlg>([](TPrintSlctDlg& order) {
        EXPECT_EQ(order.ListBox1->count(), 3) << "the new pattern is not listed";
        order.ListBox1->setCurrentRow(0);
        order.SpeedButton3->click();  // the first cannot go up
        order.ListBox1->setCurrentRow(2);
        order.SpeedButton4->click();  // the last cannot go down
        order.SpeedButton3->click();  // 車検 above 請求書
    }));
    action("PrintS3")->trigger();
    EXPECT_EQ(fileBytes("PrintName.INI"),
              crlf({sj("見積書"), "2", sj("車検"), "4", sj("請求書"), "3", sj("新規追加"), "5"}));
    EXPECT_EQ(action("Print3")->text(), QStringLiteral("車検印刷"));
    action("Print3")->trigger();
    EXPECT_EQ(handOff().value(3), QStringLiteral("4"));

    std::vector<std::string> file;
    for (int i = 1; i <= 60; ++i)
        file.insert(file.end(), {"様式" + std::to_string(i), std::to_string(i + 1)});
    file.insert(file.end(), {"新規追加", "62"});
    writeSettings("PrintName.INI", file);
    const QByteArray before = fileBytes("PrintName.INI");
    create();
    EXPECT_EQ(action("Print23")->text(), QStringLiteral("様式22印刷"));
    dialogs.answer(QStringLiteral("PrintSlctDlg"), okAfter<TPrintSlctDlg>([](TPrintSlctDlg& order) {
        EXPECT_EQ(order.ListBox1->count(), 60);
    }));
    action("PrintS3")->trigger();
    EXPECT_EQ(fileBytes("PrintName.INI"), before);
}

// The chooser reads the file anew: the print program may have renumbered
// the patterns since the menus were captioned.
TEST_F(PrintWindowTest, PrintSettingsEditTheChosenPatternAndHandItOff)
{
    writeSettings("PrintName.INI", {"見積書", "2", "新規追加", "3"});
    seed("PrtData", {{{"名称", "車検証"}}, {{"名称", "見積書"}}});
    seed("PrtFreeData", {{{"項目1", "自住所"}}, {{"項目1", "今日"}}});
    create();
    writeSettings("PrintName.INI", {"見積書", "2", "請求書", "5", "新規追加", "6"});
    editPattern(1, okAfter<TFreeEditForm>([](TFreeEditForm& editor) {
        QTest::mouseClick(editor.DBEdits[43], Qt::LeftButton);
        editor.ComboBox1->setCurrentIndex(1);  // 自社名
        QTest::mouseClick(editor.DBEdits[49], Qt::LeftButton);
        editor.ComboBox1->setCurrentIndex(-1);
        editor.ComboBox1->setEditText({});
        QTest::keyClicks(editor.ComboBox1->lineEdit(), "_3");
        EXPECT_EQ(editor.Table2->FieldByName("項目50").AsString(), "_3") << "each keystroke is written";
    }));
    EXPECT_EQ(rowCount("PrtData"), 5);
    const std::vector<SjisString> fifth = rowOf("PrtFreeData", 5);
    EXPECT_EQ(fifth[43], sj("自社名"));
    EXPECT_EQ(fifth[49], "_3");
    EXPECT_EQ(rowOf("PrtFreeData", 2)[0], sj("今日"));
    EXPECT_EQ(handOff().mid(3), (QStringList{"5", "設定"}));
    EXPECT_EQ(action("Print3")->text(), QStringLiteral("請求書印刷")) << "the menus are read again";
}

// Rows the print program appended since the editor's last showing are seen: none is
// padded past them. A pattern adding more than a thousand rows is refused with its number.
TEST_F(PrintWindowTest, PrintSettingsSeeThePrintProgramsRowsAndRefuseAPatternFarPastThem)
{
    writeSettings("PrintName.INI", {"見積書", "2", "請求書", "3", "車検", "1004", "大型", "1003", "新規追加", "1005"});
    create();
    editPattern(0);
    seed("PrtData", {{{"名称", "請求書"}}});
    seed("PrtFreeData", {{{"項目1", "今日"}}});
    editPattern(1);
    EXPECT_EQ(rowCount("PrtFreeData"), 3);
    ScriptedMessages messages;
    messages.answer(MessageAnswer::Ok);
    EXPECT_FALSE(editPattern(2)) << "1001 rows to add";
    EXPECT_TRUE(messages.prompts().size() == 1 && messages.prompts()[0].text.contains(QStringLiteral("1004")));
    EXPECT_TRUE(editPattern(3)) << "1000 rows to add";
    EXPECT_EQ(rowCount("PrtFreeData"), 1003);
}

// Closing the editor any way but OK drops the pending edit and hands
// nothing off; the rows appended stay. A typed name means the new pattern.
// A pattern without a number (no PrintName.INI read) touches no table.
TEST_F(PrintWindowTest, TheEditorClosedWithoutOkStoresNothingAndHandsNothingOff)
{
    create();
    {
        ScriptedMessages messages;
        messages.answer(MessageAnswer::Ok);
        EXPECT_FALSE(editPattern(3));
        EXPECT_EQ(messages.prompts().size(), 1u);
        EXPECT_EQ(rowCount("PrtData"), 0);
        EXPECT_EQ(rowCount("PrtFreeData"), 0);
    }
    writeSettings("PrintName.INI", {"見積書", "2", "新規追加", "3"});
    create();
    for (const char* way : {"close box", "Esc", "Cancel"}) {
        SCOPED_TRACE(way);
        ScriptedDialogs dialogs;
        dialogs.answer(QStringLiteral("SelectDlg"), [](QDialog& d) {
            static_cast<TSelectDlg&>(d).FindComboBox->setEditText(QStringLiteral("見積書"));
            return int(QDialog::Accepted);
        });
        dialogs.answer(QStringLiteral("FreeEditForm"), [way](QDialog& d) {
            auto& editor = static_cast<TFreeEditForm&>(d);
            editor.ComboBox1->setCurrentIndex(editor.ComboBox1->currentIndex() + 1);
            EXPECT_EQ(editor.Table2->state(), Table::State::Edit);
            if (std::string_view(way) == "close box")
                editor.close();
            else if (std::string_view(way) == "Esc")
                QTest::keyClick(&editor, Qt::Key_Escape);
            else
                editor.CancelBtn->click();
            EXPECT_FALSE(editor.isVisible());
            return int(QDialog::Accepted);
        });
        action("PrintS2")->trigger();
        EXPECT_EQ(rowOf("PrtFreeData", 3)[0], "");
    }
    EXPECT_EQ(rowCount("PrtData"), 3);
    EXPECT_FALSE(QFile::exists(dir.filePath("Pelmora.INI")));
    EXPECT_TRUE(starts.starts().empty());
}

// The 132 content codes and the 60 item captions, byte for byte.
TEST_F(PrintWindowTest, TheFreeLayoutEditorOffersEveryContentCodeForSixtyItems)
{
    create();
    const TFreeEditForm& editor = *FreeEditForm;
    QByteArray codes, captions;
    for (const SjisString& code : listEntries(editor.ComboBox1))
        codes += QByteArray::fromStdString(code) + "\r\n";
    for (const Panel* panel : editor.Panels)
        captions += QByteArray::fromStdString(sjis::encode(panel->caption())) + "\r\n";
    EXPECT_EQ(editor.ComboBox1->count(), 132);
    EXPECT_EQ(QCryptographicHash::hash(codes, QCryptographicHash::Sha1).toHex(),
              "09dac72e13db6d129beb14eb247b5c507c7d0a47");
    EXPECT_EQ(QCryptographicHash::hash(captions, QCryptographicHash::Sha1).toHex(),
              "c0f37205989cf7818479c64a18b1ef73126865af");
    EXPECT_EQ(editor.ComboBox1->currentText(), QStringLiteral("入力内容選択"));
}

// Asked for once while User.INI is missing and the print program is there;
// cancel writes nothing. Lines read keep their bytes unless edited; a line
// break is refused.
TEST_F(PrintWindowTest, TheOwnCompanyIsAskedForOnceAndWritesSevenLines)
{
    create();
    for (bool ok : {false, true}) {
        ScriptedDialogs dialogs;
        if (ok)
            dialogs.answer(QStringLiteral("UserSetForm"),
                           okAfter<TUserSetForm>([](TUserSetForm& c) { EXPECT_EQ(c.focusWidget(), c.Edits[0]); }));
        else
            dialogs.answer(QStringLiteral("UserSetForm"), QDialog::Rejected);
        form()->Timer1Timer();
        EXPECT_EQ(dialogs.unanswered(), 0u);
        EXPECT_EQ(fileBytes("User.INI"), ok ? "\r\n\r\n\r\n\r\n\r\n\r\n\r\n" : "<missing>") << ok;
        restart();
    }
    ScriptedDialogs none;
    form()->Timer1Timer();
    QFile::remove(dir.filePath("User.INI"));
    QFile::remove(dir.filePath("Pelmora.EXE"));
    restart();
    form()->Timer1Timer();
    EXPECT_TRUE(none.shown().empty()) << "no second prompt, nor one without the print program";

    QFile f(dir.filePath("User.INI"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray::fromStdString(sj("東京都\r\n山田自動車\r\n") + "\xed\x40\r\n"));  // an NEC row duplicate
    f.close();
    QFile(dir.filePath(QStringLiteral("Pelmora.EXE"))).open(QIODevice::WriteOnly);
    restart();
    ScriptedMessages messages;
    messages.answer(MessageAnswer::Ok);
    ScriptedDialogs dialogs;
    dialogs.answer(QStringLiteral("UserSetForm"), okAfter<TUserSetForm>([](TUserSetForm& company) {
        EXPECT_EQ(company.Edits[1]->text(), QStringLiteral("山田自動車"));
        EXPECT_EQ(company.Edits[3]->text(), QString());
        company.Edits[3]->setText(QStringLiteral("03-1234\n5678"));
        company.OKBtn->click();
        EXPECT_TRUE(company.isVisible()) << "a line break keeps the dialog open";
        company.Edits[3]->setText(QStringLiteral("03-1234-5678"));
    }));
    action("User1")->trigger();
    EXPECT_EQ(messages.prompts().size(), 1u);
    EXPECT_EQ(fileBytes("User.INI"), crlf({sj("東京都"), sj("山田自動車"), "\xed\x40", "03-1234-5678", "", "", ""}));
}

}  // namespace
